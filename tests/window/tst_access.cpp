// The context menus: a field's own, in Chinese; a result label's "复制(&C)", from a right click on
// it or the keyboard on the button that answers for it. No text, `changed` or focus moves.

#include "app/qt/translations.h"
#include "windowtest.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QRegularExpression>

using namespace windowtest;

namespace {

enum class Route { RightClick, MenuKey, ShiftF10 };

// The items as the user reads them: "撤消(&U)\tCtrl+Z" is 撤消.
QStringList itemTexts(const QMenu *menu)
{
    static const QRegularExpression decoration(QStringLiteral("(\\(&.\\))?(\\t.*)?$"));
    QStringList texts;
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator() && action->isVisible())
            texts.append(action->text().remove(decoration).remove(QLatin1Char('&')));
    }
    return texts;
}

} // namespace

class AccessTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // As the program does at start, whatever the system's language.
        QVERIFY(tarnwick::installQtTranslations(*QCoreApplication::instance()));
    }
    void contextMenu_data();
    void contextMenu();
};

void AccessTest::contextMenu_data()
{
    QTest::addColumn<QStringList>("input"); // in order: "field=text" typed, "button" clicked
    QTest::addColumn<QString>("focused"); // before the menu opens
    QTest::addColumn<Route>("route");
    QTest::addColumn<QString>("owner"); // whose menu opens (right-clicked); empty: none
    QTest::addColumn<QString>("copied"); // chosen with Down and Return; empty: closed by Escape
    const QStringList none;
    const QString no;
    QTest::newRow("second number, right click")
        << none << "Text25" << Route::RightClick << "Text25" << no;
    QTest::newRow("density, Shift+F10") << none << "Text27" << Route::ShiftF10 << "Text27" << no;
    QTest::newRow("置顶, Shift+F10") << none << "Command8" << Route::ShiftF10 << no << no;
    QTest::newRow("option ×, menu key") << none << "Option5" << Route::MenuKey << no << no;
    QTest::newRow("round bar weight, right click")
        << QStringList { "Text4=100", "Text18=1000" } << "Text18" << Route::RightClick << "Label30"
        << QStringLiteral("61.65");
    QTest::newRow("plate weight beyond range, menu key on 重量：")
        << QStringList { "Text1=1e400", "Text2=1", "Text3=1" } << "Command1" << Route::MenuKey
        << "Label26" << QStringLiteral("超出范围");
    QTest::newRow("calculator's refusal, Shift+F10 on =")
        << QStringList { "Option6", "Text24=5" } << "Command7" << Route::ShiftF10 << "Label32"
        << QStringLiteral("除数不能为0");
}

void AccessTest::contextMenu()
{
    QFETCH(QStringList, input);
    QFETCH(QString, focused);
    QFETCH(Route, route);
    QFETCH(QString, owner);
    QFETCH(QString, copied);
    const auto window = openWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    for (const QString &entry : std::as_const(input)) {
        if (entry.contains(QLatin1Char('=')))
            type(window.get(), qPrintable(entry.section('=', 0, 0)), entry.section('=', 1));
        else
            click(window.get(), qPrintable(entry));
    }
    QWidget *focus = find(window.get(), qPrintable(focused));
    focus->setFocus(Qt::TabFocusReason);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    const QMap<QString, QString> before = visibleTexts(window.get());
    int changes = 0;
    QObject counting;
    for (auto *field : window->findChildren<tarnwick::TextField *>())
        connect(field, &tarnwick::TextField::changed, &counting, [&] { ++changes; });
    for (auto *label : window->findChildren<tarnwick::ResultLabel *>())
        connect(label, &tarnwick::ResultLabel::changed, &counting, [&] { ++changes; });

    switch (route) {
    case Route::RightClick: {
        const QWidget *clicked = find(window.get(), qPrintable(owner));
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, Qt::NoModifier,
            clicked->mapTo(window.get(), clicked->rect().center()));
        break;
    }
    case Route::MenuKey: {
        // As the platform passes the context-menu key on to the focused control.
        const QPoint at = focus->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent request(QContextMenuEvent::Keyboard, at, focus->mapToGlobal(at));
        QApplication::sendEvent(focus, &request);
        break;
    }
    case Route::ShiftF10:
        QTest::keyClick(focus, Qt::Key_F10, Qt::ShiftModifier);
        break;
    }
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (owner.isEmpty()) {
        QVERIFY(menu == nullptr);
    } else {
        QVERIFY(menu != nullptr);
        QWidget *ownerWidget = find(window.get(), qPrintable(owner));
        QCOMPARE(menu->parentWidget(), ownerWidget);
        QCOMPARE(itemTexts(menu),
            (qobject_cast<QLineEdit *>(ownerWidget) != nullptr
                    ? QStringList { "撤消", "重做", "剪切", "复制", "粘贴", "删除", "全选" }
                    : QStringList { "复制" }));
        if (qobject_cast<QLineEdit *>(ownerWidget) == nullptr)
            QCOMPARE(menu->actions().constFirst()->text(), QStringLiteral("复制(&C)"));
        QCOMPARE(QApplication::focusWidget(), focus);
        if (copied.isEmpty()) {
            QTest::keyClick(menu, Qt::Key_Escape);
        } else {
            QCOMPARE(text(window.get(), qPrintable(owner)), copied);
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
        }
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
    }
    QCOMPARE(QGuiApplication::clipboard()->text(), copied.isEmpty() ? "before" : copied);
    QCOMPARE(visibleTexts(window.get()), before);
    QCOMPARE(changes, 0);
    QCOMPARE(QApplication::focusWidget(), focus);
}

QTEST_MAIN(AccessTest)
#include "tst_access.moc"
