// The window commands (pin on top, reset, visit the maker's page) and the program's resources.

#include "windowtest.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QWindow>

using namespace windowtest;

// Takes the addresses that the program hands to the browser, so that no browser starts.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

class CommandsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pinTogglesBandCaptionAndFlag();
    void resetInStartState_data();
    void resetInStartState();
    void resetAfterEveryPanelComputed();
    void resetKeepsChoicesAndPin();
    void visitOpensTheOneAddressAndChangesNothing();
    void fieldsAndResultsCarryAccessibleNames_data();
    void fieldsAndResultsCarryAccessibleNames();
    void bannerAndIcon();
    void iconFileHoldsSixSizesWithAlpha();
};

namespace {

void fill(const QWidget *window, std::initializer_list<std::pair<const char *, const char *>> texts)
{
    for (const auto &[name, value] : texts)
        type(window, name, QString::fromUtf8(value));
}

} // namespace

void CommandsTest::pinTogglesBandCaptionAndFlag()
{
    const auto window = openWindow();
    auto *pin = find<QPushButton>(window.get(), "Command8");
    const QRect placed = window->geometry();
    const QWindow *handle = window->windowHandle();
    QVERIFY(handle != nullptr);

    click(window.get(), "Command8");
    QCOMPARE(pin->text(), QStringLiteral("不置顶"));
    QVERIFY(window->property("PinnedOnTop").toBool());
#ifndef Q_OS_WIN
    // On Windows the band is changed with SetWindowPos, past Qt's flags: tst_windows reads it.
    QVERIFY(handle->flags().testFlag(Qt::WindowStaysOnTopHint));
#endif
    QCOMPARE(window->windowHandle(), handle); // the same native window, not a new one
    QVERIFY(window->isVisible());
    QCOMPARE(window->geometry(), placed);

    click(window.get(), "Command8");
    QCOMPARE(pin->text(), QStringLiteral("置顶"));
    QVERIFY(!window->property("PinnedOnTop").toBool());
#ifndef Q_OS_WIN
    QVERIFY(!handle->flags().testFlag(Qt::WindowStaysOnTopHint));
#endif
    QCOMPARE(window->windowHandle(), handle);
    QVERIFY(window->isVisible());
    QCOMPARE(window->geometry(), placed);
}

void CommandsTest::resetInStartState_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("result");
    QTest::newRow("times") << "Option5"
                           << "0.00";
    QTest::newRow("divide") << "Option6"
                            << "除数不能为0";
    QTest::newRow("power") << "Option7"
                           << "1.00";
}

// Only the density holds text: emptying it zeroes both plates, whose 0 reaches the calculator
// before the calculator's own fields are emptied.
void CommandsTest::resetInStartState()
{
    QFETCH(QString, operation);
    QFETCH(QString, result);
    const auto window = openWindow();
    click(window.get(), qPrintable(operation));
    TextHistory first(window.get(), "Text24");
    click(window.get(), "Command10");
    for (const QLineEdit *edit : window->findChildren<QLineEdit *>())
        QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));
    QCOMPARE(first.texts(), (QStringList { "0", "" }));
    QCOMPARE(text(window.get(), "Label26"), QStringLiteral("0"));
    QCOMPARE(text(window.get(), "Label27"), QStringLiteral("0"));
    QCOMPARE(text(window.get(), "Label30"), QStringLiteral("0.00"));
    QCOMPARE(text(window.get(), "Label29"), QStringLiteral("0.00"));
    QCOMPARE(text(window.get(), "Label32"), result);
}

// Fields are emptied in creation order, each cascade running to its end before the next: the
// round bar's own field comes first, the density third, the calculator's fields after it.
void CommandsTest::resetAfterEveryPanelComputed()
{
    const auto window = openWindow();
    fill(window.get(),
        { { "Text1", "1000" }, { "Text2", "1000" }, { "Text3", "10" }, { "Text5", "2000000" },
            { "Text6", "6" }, { "Text11", "60" }, { "Text12", "50" }, { "Text14", "1000" },
            { "Text4", "20" }, { "Text18", "1000" }, { "Text25", "3" } });
    QCOMPARE(text(window.get(), "Text24"), QStringLiteral("2.47"));
    TextHistory first(window.get(), "Text24");
    click(window.get(), "Command10");
    QCOMPARE(first.texts(), (QStringList { "0", "" }));
    for (const char *label : { "Label26", "Label27", "Label29", "Label30" })
        QCOMPARE(text(window.get(), label), QStringLiteral("0"));
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("0.00"));
    for (const QLineEdit *edit : window->findChildren<QLineEdit *>())
        QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));

    // Every weight computed after the reset is 0 until a density is typed again.
    fill(window.get(), { { "Text1", "1000" }, { "Text2", "1000" }, { "Text3", "10" } });
    QCOMPARE(text(window.get(), "Label26"), QStringLiteral("0"));
    type(window.get(), "Text27", QStringLiteral("7.85"));
    QCOMPARE(text(window.get(), "Label26"), QStringLiteral("78.5"));
}

void CommandsTest::resetKeepsChoicesAndPin()
{
    const auto window = openWindow();
    click(window.get(), "Option2");
    click(window.get(), "Option8");
    click(window.get(), "Command8");
    type(window.get(), "Text13", QStringLiteral("   "));
    click(window.get(), "Command10");
    QCOMPARE(text(window.get(), "Text13"), QString());
    QVERIFY(find<QRadioButton>(window.get(), "Option2")->isChecked());
    QVERIFY(find<QRadioButton>(window.get(), "Option8")->isChecked());
    QVERIFY(window->property("PinnedOnTop").toBool());
    QCOMPARE(find<QPushButton>(window.get(), "Command8")->text(), QStringLiteral("不置顶"));
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("不能开0次方"));
}

void CommandsTest::visitOpensTheOneAddressAndChangesNothing()
{
    const auto window = openWindow();
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    fill(window.get(), { { "Text1", "1000" }, { "Text2", "1000" }, { "Text3", "10" } });
    const QMap<QString, QString> before = visibleTexts(window.get());
    const QRect placed = window->geometry();
    click(window.get(), "Command11");
    click(window.get(), "Command11");
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QCOMPARE(catcher.urls.size(), 2);
    for (const QUrl &url : std::as_const(catcher.urls))
        QCOMPARE(url, QUrl(QStringLiteral("https://www.tarnwick-steel.example/")));
    QCOMPARE(visibleTexts(window.get()), before);
    QCOMPARE(window->geometry(), placed);
    QVERIFY(!window->property("PinnedOnTop").toBool());
}

void CommandsTest::fieldsAndResultsCarryAccessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessibleName");
    QTest::addColumn<QString>("accessibleDescription");
    QTest::newRow("plate length") << "Text1"
                                  << "长："
                                  << "";
    QTest::newRow("area") << "Text5"
                          << "面积："
                          << "";
    QTest::newRow("bar length") << "Text18"
                                << "长度："
                                << "";
    QTest::newRow("pipe inner diameter") << "Text12"
                                         << "内径:"
                                         << "";
    QTest::newRow("pipe wall") << "Text13"
                               << "壁厚:"
                               << "";
    QTest::newRow("first number") << "Text24"
                                  << "计算器："
                                  << "";
    QTest::newRow("second number") << "Text25"
                                   << "计算器第二个数"
                                   << "";
    QTest::newRow("density") << "Text27"
                             << "材料密度(t/m3):"
                             << "";
    QTest::newRow("plate weight") << "Label26"
                                  << "0.00"
                                  << "钢板一重量";
    QTest::newRow("plate by area weight") << "Label27"
                                          << "0.00"
                                          << "钢板二重量";
    QTest::newRow("round bar weight") << "Label30"
                                      << "0.00"
                                      << "圆钢重量";
    QTest::newRow("pipe weight") << "Label29"
                                 << "0.00"
                                 << "钢管重量";
    QTest::newRow("calculator result") << "Label32"
                                       << "0.00"
                                       << "计算器结果";
    QTest::newRow("banner") << "Image1"
                            << "塔恩威克钢材有限公司，钢板 · 圆钢 · 钢管 · 型材 · 不锈钢，"
                               "电话：0000-0000000，手机：000-0000-0000，www.tarnwick-steel.example"
                            << "";
    QTest::newRow("weight button") << "Command5"
                                   << "重量："
                                   << "";
    QTest::newRow("equals") << "Command7"
                            << "="
                            << "";
    QTest::newRow("option wall") << "Option2"
                                 << "壁厚:"
                                 << "";
    QTest::newRow("frame") << "Frame5"
                           << "圆钢"
                           << "";
}

// What a screen reader reads of each control, from its accessible interface: a result label
// is named by the text it shows and described by what that is.
void CommandsTest::fieldsAndResultsCarryAccessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, accessibleName);
    QFETCH(QString, accessibleDescription);
    const auto window = openWindow();
    QAccessibleInterface *accessible
        = QAccessible::queryAccessibleInterface(find(window.get(), qPrintable(name)));
    QVERIFY(accessible != nullptr);
    QCOMPARE(accessible->text(QAccessible::Name), accessibleName);
    QCOMPARE(accessible->text(QAccessible::Description), accessibleDescription);
}

void CommandsTest::bannerAndIcon()
{
    const auto window = openWindow();
    const QPixmap banner = find<QLabel>(window.get(), "Image1")->pixmap();
    QVERIFY(!banner.isNull());
    QCOMPARE(banner.deviceIndependentSize().toSize(), QSize(350, 178));
    QCOMPARE(QPixmap(QStringLiteral(":/banner@2x.jpg")).size(), QSize(700, 356));
#if defined(Q_OS_WIN)
    QSKIP("on Windows the window takes the program file's icon (see tst_windows)");
#else
    // The sizes a title bar, task bar and switcher use at this scale, and no larger image.
    const qreal scale = window->devicePixelRatioF();
    const QList<QSize> sizes = window->windowIcon().availableSizes();
    if (scale == 1.0) {
        QCOMPARE(sizes, QList<QSize>({ { 16, 16 }, { 24, 24 }, { 32, 32 }, { 48, 48 } }));
    }
    for (const QSize &size : sizes)
        QVERIFY(!window->windowIcon().pixmap(size).isNull());
    QVERIFY(!sizes.isEmpty() && sizes.last().width() >= 48 * scale);
#endif
}

// The Windows icon file: six images, 256 down to 16 pixels, each 32 bits with alpha.
void CommandsTest::iconFileHoldsSixSizesWithAlpha()
{
    QFile file(QStringLiteral(TARNWICK_ICON_FILE));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray data = file.readAll();
    const auto byte = [&data](qsizetype at) { return static_cast<quint8>(data.at(at)); };
    const auto word = [&byte](qsizetype at) { return byte(at) | (byte(at + 1) << 8); };
    QVERIFY(data.size() > 6);
    QCOMPARE(word(0), 0); // reserved
    QCOMPARE(word(2), 1); // an icon, not a cursor
    QCOMPARE(word(4), 6);
    QList<int> sides;
    for (int entry = 0; entry < 6; ++entry) {
        const qsizetype at = 6 + entry * 16;
        QVERIFY(data.size() >= at + 16);
        sides.append(byte(at) == 0 ? 256 : byte(at));
        QCOMPARE(byte(at + 1), byte(at)); // square
        QCOMPARE(word(at + 6), 32); // bits per pixel
    }
    QCOMPARE(sides, (QList<int> { 256, 128, 48, 32, 24, 16 }));
}

QTEST_MAIN(CommandsTest)
#include "tst_commands.moc"
