// The window as it opens: its controls against the control table, the fonts, the initial
// state, the Tab walk and the keys that must press nothing.

#include "app/qt/controlstyle.h"
#include "app/controltable.h"
#include "windowtest.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <algorithm>
#include <cstdlib>

using namespace windowtest;

class LayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowItself();
    void everyControlAsTabled();
    void placesInPixels_data();
    void placesInPixels();
    void initialState();
    void tabWalk_data();
    void tabWalk();
    void focusChainInTabOrder();
    void frameCaptionInTopBorder_data();
    void frameCaptionInTopBorder();
    void enterPressesNothing();
    void optionGroupsAreIndependent();
};

namespace {

QString textOf(const QWidget *widget)
{
    if (const auto *frame = qobject_cast<const QGroupBox *>(widget))
        return frame->title();
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return label->text();
    if (const auto *edit = qobject_cast<const QLineEdit *>(widget))
        return edit->text();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return button->text();
    return {};
}

bool isOfKind(const QWidget *widget, tarnwick::Kind kind)
{
    using tarnwick::Kind;
    switch (kind) {
    case Kind::Frame:
        return qobject_cast<const QGroupBox *>(widget) != nullptr;
    case Kind::Label:
        return qobject_cast<const QLabel *>(widget) != nullptr
            && qobject_cast<const tarnwick::ResultLabel *>(widget) == nullptr;
    case Kind::ResultLabel:
        return qobject_cast<const tarnwick::ResultLabel *>(widget) != nullptr;
    case Kind::TextField:
        return qobject_cast<const tarnwick::TextField *>(widget) != nullptr;
    case Kind::PushButton:
        return qobject_cast<const QPushButton *>(widget) != nullptr;
    case Kind::OptionButton:
        return qobject_cast<const QRadioButton *>(widget) != nullptr;
    case Kind::Picture:
        return qobject_cast<const QLabel *>(widget) != nullptr;
    }
    return false;
}

} // namespace

void LayoutTest::windowItself()
{
    const auto window = openWindow();
    QCOMPARE(window->objectName(), QStringLiteral("Form1"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Tarnwick（单位：kg，mm）"));
    QCOMPARE(window->size(), QSize(568, 460));
    QCOMPARE(window->minimumSize(), window->maximumSize());
}

// Each control exists once, in table order among its siblings, of its kind, in its container,
// with its text and its font.
void LayoutTest::everyControlAsTabled()
{
    const auto window = openWindow();
    QCOMPARE(window->findChildren<QWidget *>().size(), 51);
    QStringList created;
    for (const QObject *child : window->findChildren<QWidget *>())
        created.append(child->objectName());
    QStringList tabled;
    for (const auto &row : tarnwick::controlTable) {
        const QString name = QString::fromLatin1(row.name.data(), row.name.size());
        tabled.append(name);
        const auto *widget = window->findChild<QWidget *>(name);
        QVERIFY2(widget != nullptr, qPrintable(name));
        QVERIFY2(isOfKind(widget, row.kind), qPrintable(name));
        const QString container = row.container.empty()
            ? QStringLiteral("Form1")
            : QString::fromLatin1(row.container.data(), row.container.size());
        QCOMPARE(widget->parentWidget()->objectName(), container);
        if (row.kind != tarnwick::Kind::Picture)
            QCOMPARE(textOf(widget), QString::fromUtf8(row.text.data(), row.text.size()));
        if (row.fontPoints > 0) {
            QCOMPARE(widget->font().families(), tarnwick::songFamilies());
            QCOMPARE(widget->font().families().last(), QStringLiteral("宋体"));
            QCOMPARE(widget->font().pointSizeF(), row.fontPoints);
            QCOMPARE(widget->font().weight(), QFont::Normal);
            QVERIFY(!widget->font().italic() && !widget->font().underline());
        }
        QVERIFY(widget->isVisible() && widget->isEnabled());
    }
    // findChildren lists depth-first; compare the creation order container by container.
    QStringList windowChildren;
    for (const QObject *child : window->children()) {
        if (child->isWidgetType())
            windowChildren.append(child->objectName());
    }
    QStringList tabledOnWindow;
    for (const auto &row : tarnwick::controlTable) {
        if (row.container.empty())
            tabledOnWindow.append(QString::fromLatin1(row.name.data(), row.name.size()));
    }
    QCOMPARE(windowChildren, tabledOnWindow);
}

// Pixel places worked out by hand from the twips (÷ 15, rounded), relative to the container.
void LayoutTest::placesInPixels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("Frame1") << "Frame1" << QRect(16, 24, 169, 145);
    QTest::newRow("Frame4") << "Frame4" << QRect(16, 176, 169, 185);
    QTest::newRow("Frame5") << "Frame5" << QRect(384, 24, 169, 145);
    QTest::newRow("Text1 in Frame1") << "Text1" << QRect(64, 16, 97, 25);
    QTest::newRow("Text5 in Frame2") << "Text5" << QRect(64, 24, 97, 32);
    QTest::newRow("Text13 rounds 87.3") << "Text13" << QRect(64, 87, 97, 25);
    QTest::newRow("Command1 rounds 6.7") << "Command1" << QRect(7, 112, 47, 25);
    QTest::newRow("Option2") << "Option2" << QRect(8, 85, 50, 33);
    QTest::newRow("Label29") << "Label29" << QRect(64, 152, 97, 25);
    QTest::newRow("Image1") << "Image1" << QRect(200, 177, 350, 178);
    QTest::newRow("Text24") << "Text24" << QRect(80, 373, 97, 30);
    QTest::newRow("Label32") << "Label32" << QRect(427, 373, 121, 25);
    QTest::newRow("Text27") << "Text27" << QRect(224, 417, 57, 29);
    QTest::newRow("Command11") << "Command11" << QRect(400, 417, 63, 25);
    QTest::newRow("Label23") << "Label23" << QRect(88, 423, 129, 18);
}

void LayoutTest::placesInPixels()
{
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    const auto window = openWindow();
    QCOMPARE(find(window.get(), qPrintable(name))->geometry(), geometry);
}

void LayoutTest::initialState()
{
    const auto window = openWindow();
    for (const char *label : { "Label26", "Label27", "Label29", "Label30", "Label32" })
        QCOMPARE(text(window.get(), label), QStringLiteral("0.00"));
    const auto fields = window->findChildren<QLineEdit *>();
    QCOMPARE(fields.size(), 14);
    for (const QLineEdit *edit : fields) {
        const QString expected
            = edit->objectName() == QLatin1String("Text27") ? QStringLiteral("7.85") : QString();
        QCOMPARE(edit->text(), expected);
    }
    QVERIFY(find<QRadioButton>(window.get(), "Option1")->isChecked());
    QVERIFY(find<QRadioButton>(window.get(), "Option5")->isChecked());
    QCOMPARE(window->findChildren<QRadioButton *>().size(), 8);
    int checked = 0;
    for (const QRadioButton *option : window->findChildren<QRadioButton *>())
        checked += option->isChecked() ? 1 : 0;
    QCOMPARE(checked, 2);
    QCOMPARE(find<QPushButton>(window.get(), "Command8")->text(), QStringLiteral("置顶"));
    QCOMPARE(window->property("PinnedOnTop").toBool(), false);
    QTRY_COMPARE(QApplication::focusWidget(), find(window.get(), "Text1"));
}

void LayoutTest::tabWalk_data()
{
    QTest::addColumn<QString>("pipeOption");
    QTest::addColumn<QString>("operation");
    QTest::newRow("as opened") << "Option1"
                               << "Option5";
    QTest::newRow("wall and root chosen") << "Option2"
                                          << "Option8";
    QTest::newRow("first buttons chosen") << "Option1"
                                          << "Option3";
}

// Tab walks the table's tab order, each option group one stop at its selected button, and
// Shift+Tab walks it back.
void LayoutTest::tabWalk()
{
    QFETCH(QString, pipeOption);
    QFETCH(QString, operation);
    const auto window = openWindow();
    click(window.get(), qPrintable(pipeOption));
    click(window.get(), qPrintable(operation));
    const QStringList expected { "Text1", "Text2", "Text3", "Command1", "Text5", "Text6",
        "Command2", pipeOption, "Command4", "Text11", "Text12", "Text13", "Text14", "Text24",
        operation, "Text25", "Command7", "Text27", "Command8", "Command10", "Command11", "Text18",
        "Command5", "Text4", "Text1" };

    find(window.get(), "Text1")->setFocus();
    QStringList walked { QApplication::focusWidget()->objectName() };
    for (qsizetype step = 1; step < expected.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(walked, expected);

    QStringList back { QApplication::focusWidget()->objectName() };
    for (qsizetype step = 1; step < expected.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        back.append(QApplication::focusWidget()->objectName());
    }
    std::reverse(back.begin(), back.end());
    QCOMPARE(back, expected);
}

// Qt's own chain, which accessibility clients and Qt's focus handling follow, holds the focusable
// controls in the table's tab order, every option button of a group beside the others.
void LayoutTest::focusChainInTabOrder()
{
    const QStringList expected { "Text1", "Text2", "Text3", "Command1", "Text5", "Text6",
        "Command2", "Option1", "Option2", "Command4", "Text11", "Text12", "Text13", "Text14",
        "Text24", "Option3", "Option4", "Option5", "Option6", "Option7", "Option8", "Text25",
        "Command7", "Text27", "Command8", "Command10", "Command11", "Text18", "Command5", "Text4" };
    const auto window = openWindow();
    QWidget *start = find(window.get(), "Text1");
    const auto walk = [start](QWidget *(QWidget::*step)() const) {
        QStringList walked { start->objectName() };
        int visited = 0;
        for (QWidget *widget = (start->*step)(); widget != start && visited < 200;
             widget = (widget->*step)(), ++visited) {
            if ((widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus)
                walked.append(widget->objectName());
        }
        return walked;
    };
    QCOMPARE(walk(&QWidget::nextInFocusChain), expected);
    QStringList backwards = walk(&QWidget::previousInFocusChain);
    std::reverse(backwards.begin() + 1, backwards.end());
    QCOMPARE(backwards, expected);
}

void LayoutTest::frameCaptionInTopBorder_data()
{
    QTest::addColumn<QString>("name");
    for (const char *frame : { "Frame1", "Frame2", "Frame4", "Frame5" })
        QTest::newRow(frame) << frame;
}

// The frame's top line runs through the caption's rows and stops short of the caption: read off
// the frame as drawn, whatever the style.
void LayoutTest::frameCaptionInTopBorder()
{
    QFETCH(QString, name);
    const auto window = openWindow();
    auto *frame = find<QGroupBox>(window.get(), qPrintable(name));
    QImage image = frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.setDevicePixelRatio(1.0);
    const int background = qGray(frame->palette().color(QPalette::Window).rgb());
    // Text is much darker than the window.
    const auto isText = [&](QRgb pixel) { return qGray(pixel) < background - 40; };

    // The caption where the frame's style places it, and drawn there: dark pixels in it.
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.textAlignment = frame->alignment();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const QRect caption = frame->style()->subControlRect(
        QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
    QVERIFY(!caption.isEmpty());
    int dark = 0;
    for (int y = caption.top(); y <= caption.bottom(); ++y) {
        for (int x = caption.left(); x <= caption.right(); ++x)
            dark += isText(image.pixel(x, y)) ? 1 : 0;
    }
    QVERIFY2(dark > 20, "no caption drawn");

    // The top line: the first row with an unbroken run of frame across a third of the width.
    int lineRow = -1;
    for (int y = 0; y < image.height() && lineRow < 0; ++y) {
        int run = 0;
        for (int x = 0; x < image.width() && lineRow < 0; ++x) {
            const QRgb pixel = image.pixel(x, y);
            run = std::abs(qGray(pixel) - background) > 8 ? run + 1 : 0;
            if (run * 3 > image.width())
                lineRow = y;
        }
    }
    QVERIFY2(lineRow >= caption.top() && lineRow <= caption.bottom(),
        qPrintable(QStringLiteral("line at row %1, caption in rows %2 to %3")
                       .arg(lineRow)
                       .arg(caption.top())
                       .arg(caption.bottom())));
    // Behind the caption the row holds no pixel of the line's own colour, as it does beside it.
    const QRgb line = image.pixel(caption.right() + (image.width() - caption.right()) / 2, lineRow);
    QVERIFY(std::abs(qGray(line) - background) > 8);
    int behindCaption = 0;
    for (int x = caption.left(); x <= caption.right(); ++x)
        behindCaption += std::abs(qGray(image.pixel(x, lineRow)) - qGray(line)) <= 2 ? 1 : 0;
    QVERIFY2(behindCaption * 4 < caption.width(),
        qPrintable(QStringLiteral("%1 of %2 pixels of line behind the caption")
                       .arg(behindCaption)
                       .arg(caption.width())));
}

void LayoutTest::enterPressesNothing()
{
    const auto window = openWindow();
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QPushButton *button : window->findChildren<QPushButton *>()) {
        QVERIFY(!button->isDefault() && !button->autoDefault());
        spies.push_back(std::make_unique<QSignalSpy>(button, &QPushButton::clicked));
    }
    for (const char *name : { "Text1", "Text24", "Text27" }) {
        type(window.get(), name, QStringLiteral("1"));
        QTest::keyClick(field(window.get(), name), Qt::Key_Return);
        QTest::keyClick(field(window.get(), name), Qt::Key_Enter);
        QTest::keyClick(field(window.get(), name), Qt::Key_Escape);
    }
    for (const auto &spy : spies)
        QCOMPARE(spy->count(), 0);
    QCOMPARE(find<QPushButton>(window.get(), "Command8")->text(), QStringLiteral("置顶"));
}

void LayoutTest::optionGroupsAreIndependent()
{
    const auto window = openWindow();
    click(window.get(), "Option5"); // a click on the selected button keeps it selected
    QVERIFY(find<QRadioButton>(window.get(), "Option5")->isChecked());
    QVERIFY(find<QRadioButton>(window.get(), "Option1")->isChecked());
    click(window.get(), "Option2");
    QVERIFY(find<QRadioButton>(window.get(), "Option2")->isChecked());
    QVERIFY(!find<QRadioButton>(window.get(), "Option1")->isChecked());
    QVERIFY(find<QRadioButton>(window.get(), "Option5")->isChecked());
    click(window.get(), "Option6");
    QVERIFY(find<QRadioButton>(window.get(), "Option6")->isChecked());
    QVERIFY(!find<QRadioButton>(window.get(), "Option5")->isChecked());
    QVERIFY(find<QRadioButton>(window.get(), "Option2")->isChecked());
    for (const char *label : { "Label26", "Label27", "Label29", "Label30", "Label32" })
        QCOMPARE(text(window.get(), label), QStringLiteral("0.00"));
}

QTEST_MAIN(LayoutTest)
#include "tst_layout.moc"
