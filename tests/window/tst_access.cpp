// What the window offers beside what it shows: the context menus (each field's own, in Chinese;
// each result label's one item "复制", from a right click or from the keyboard on the button
// that answers for the result), the clipboard, and a result label's accessible name.
// Opening or using a menu changes no text, raises no change event and keeps the focus.

#include "app/qt/translations.h"
#include "windowtest.h"

#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QWindow>

using namespace windowtest;

class AccessTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void contextMenuItems_data();
    void contextMenuItems();
    void copyPutsTheShownTextOnTheClipboard_data();
    void copyPutsTheShownTextOnTheClipboard();
    void shiftF10OpensTheFocusedFieldsMenu();
    void menuKeyElsewhereOpensNoMenu_data();
    void menuKeyElsewhereOpensNoMenu();
    void resultLabelIsNamedByItsText();
};

namespace {

// The ways a user opens a result label's menu.
enum class Route { RightClick, MenuKey, ShiftF10 };

// Every text of the window, by control name.
QMap<QString, QString> allTexts(const QWidget *window)
{
    QMap<QString, QString> texts;
    for (const QLineEdit *edit : window->findChildren<QLineEdit *>())
        texts.insert(edit->objectName(), edit->text());
    for (const QLabel *label : window->findChildren<QLabel *>())
        texts.insert(label->objectName(), label->text());
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
        texts.insert(button->objectName(),
            button->text() + (button->isChecked() ? QStringLiteral("*") : QString()));
    return texts;
}

// Counts every `changed` signal of the window's fields and result labels.
class ChangeCounter
{
public:
    explicit ChangeCounter(const QWidget *window)
    {
        for (tarnwick::TextField *field : window->findChildren<tarnwick::TextField *>())
            QObject::connect(field, &tarnwick::TextField::changed, &context_, [this] { ++count_; });
        for (tarnwick::ResultLabel *label : window->findChildren<tarnwick::ResultLabel *>())
            QObject::connect(
                label, &tarnwick::ResultLabel::changed, &context_, [this] { ++count_; });
    }

    [[nodiscard]] int count() const { return count_; }

private:
    int count_ = 0;
    QObject context_; // ends the counting with the counter
};

// The menu open now, if any.
QMenu *openMenu()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

// An item's text as the user reads it: without its shortcut and its access key.
QString shownText(const QAction *action)
{
    QString text = action->text().section(QLatin1Char('\t'), 0, 0);
    static const QRegularExpression accessKey(QStringLiteral("\\(&.\\)$"));
    text.remove(accessKey);
    text.remove(QLatin1Char('&'));
    return text;
}

QStringList itemTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator() && action->isVisible())
            texts.append(shownText(action));
    }
    return texts;
}

// A right click on the control, through the window as the platform delivers it.
void rightClick(const QWidget *window, const QWidget *control)
{
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, Qt::NoModifier,
        control->mapTo(window, control->rect().center()));
}

// The context-menu key: the platform asks the focused control for its menu (as QWidgetWindow
// passes it on from the xcb platform's Menu key).
void pressMenuKey()
{
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused != nullptr);
    const QPoint at = focused->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, at, focused->mapToGlobal(at));
    QApplication::sendEvent(focused, &request);
}

void pressShiftF10()
{
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused != nullptr);
    QTest::keyClick(focused, Qt::Key_F10, Qt::ShiftModifier);
}

const QStringList fieldItems { "撤消", "重做", "剪切", "复制", "粘贴", "删除", "全选" };

} // namespace

void AccessTest::initTestCase()
{
    // As the program does at start, whatever the system's language.
    QVERIFY(tarnwick::installQtTranslations(*QCoreApplication::instance()));
}

void AccessTest::contextMenuItems_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("plate length, empty") << "Text1" << fieldItems;
    QTest::newRow("area, 18 points") << "Text5" << fieldItems;
    QTest::newRow("pipe inner diameter") << "Text12" << fieldItems;
    QTest::newRow("second number") << "Text25" << fieldItems;
    QTest::newRow("density, 7.85") << "Text27" << fieldItems;
    QTest::newRow("plate weight") << "Label26" << QStringList { "复制" };
    QTest::newRow("plate by area weight") << "Label27" << QStringList { "复制" };
    QTest::newRow("round bar weight") << "Label30" << QStringList { "复制" };
    QTest::newRow("pipe weight") << "Label29" << QStringList { "复制" };
    QTest::newRow("calculator result") << "Label32" << QStringList { "复制" };
}

// A right click opens the control's menu; Escape closes it with nothing changed. The click
// focuses a field as any click does; a result label takes no focus.
void AccessTest::contextMenuItems()
{
    QFETCH(QString, control);
    QFETCH(QStringList, items);
    const auto window = openWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QWidget *clicked = find(window.get(), qPrintable(control));
    QWidget *focused
        = clicked->focusPolicy() == Qt::NoFocus ? QApplication::focusWidget() : clicked;
    const QMap<QString, QString> before = allTexts(window.get());
    const ChangeCounter changes(window.get());

    rightClick(window.get(), clicked);
    QMenu *menu = openMenu();
    QVERIFY(menu != nullptr);
    QCOMPARE(itemTexts(menu), items);
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(openMenu() == nullptr);

    QCOMPARE(allTexts(window.get()), before);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(QApplication::focusWidget(), focused);
}

void AccessTest::copyPutsTheShownTextOnTheClipboard_data()
{
    QTest::addColumn<QStringList>("typed"); // "field=text", typed in this order
    QTest::addColumn<QString>("option"); // clicked before typing, if any
    QTest::addColumn<Route>("route");
    QTest::addColumn<QString>("focused"); // the control focused before the menu opens
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("copied");
    const QStringList bar { "Text4=100", "Text18=1000" };
    QTest::newRow("round bar weight, right click")
        << bar << QString() << Route::RightClick << "Text18"
        << "Label30"
        << "61.65";
    QTest::newRow("round bar weight, menu key on 重量：")
        << bar << QString() << Route::MenuKey << "Command5"
        << "Label30"
        << "61.65";
    QTest::newRow("round bar weight, Shift+F10 on 重量：")
        << bar << QString() << Route::ShiftF10 << "Command5"
        << "Label30"
        << "61.65";
    QTest::newRow("plate weight beyond range, right click")
        << QStringList { "Text1=1e400", "Text2=1", "Text3=1" } << QString() << Route::RightClick
        << "Text3"
        << "Label26"
        << "超出范围";
    QTest::newRow("plate weight, menu key on 重量：")
        << QStringList { "Text1=1000", "Text2=1000", "Text3=10" } << QString() << Route::MenuKey
        << "Command1"
        << "Label26"
        << "78.5";
    QTest::newRow("plate by area weight, Shift+F10 on 重量：")
        << QStringList { "Text5=2000000", "Text6=6" } << QString() << Route::ShiftF10 << "Command2"
        << "Label27"
        << "94.2";
    QTest::newRow("pipe weight, menu key on 重量：")
        << QStringList { "Text11=60", "Text12=50", "Text14=1000" } << QString() << Route::MenuKey
        << "Command4"
        << "Label29"
        << "6.78";
    QTest::newRow("pipe weight, right click, focus on the density")
        << QStringList { "Text11=60", "Text12=50", "Text14=1000" } << QString() << Route::RightClick
        << "Text27"
        << "Label29"
        << "6.78";
    QTest::newRow("calculator's refusal, menu key on =")
        << QStringList { "Text24=5" } << "Option6" << Route::MenuKey << "Command7"
        << "Label32"
        << "除数不能为0";
    QTest::newRow("calculator result, Shift+F10 on =")
        << QStringList { "Text24=3", "Text25=4" } << QString() << Route::ShiftF10 << "Command7"
        << "Label32"
        << "12.00";
    QTest::newRow("calculator at start, right click")
        << QStringList() << QString() << Route::RightClick << "Text1"
        << "Label32"
        << "0.00";
}

// The menu has the one item "复制"; Down and Return choose it. The clipboard then holds the
// label's text exactly as shown; no text changed, no change event was raised and the focus
// stayed where it was.
void AccessTest::copyPutsTheShownTextOnTheClipboard()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, option);
    QFETCH(Route, route);
    QFETCH(QString, focused);
    QFETCH(QString, label);
    QFETCH(QString, copied);
    const auto window = openWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    if (!option.isEmpty())
        click(window.get(), qPrintable(option));
    for (const QString &entry : std::as_const(typed)) {
        type(window.get(), qPrintable(entry.section(QLatin1Char('='), 0, 0)),
            entry.section(QLatin1Char('='), 1));
    }
    QCOMPARE(text(window.get(), qPrintable(label)), copied);
    QWidget *focus = find(window.get(), qPrintable(focused));
    focus->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), focus);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));

    const QMap<QString, QString> before = allTexts(window.get());
    const ChangeCounter changes(window.get());
    switch (route) {
    case Route::RightClick:
        rightClick(window.get(), find(window.get(), qPrintable(label)));
        break;
    case Route::MenuKey:
        pressMenuKey();
        break;
    case Route::ShiftF10:
        pressShiftF10();
        break;
    }
    QMenu *menu = openMenu();
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->parentWidget(), find(window.get(), qPrintable(label)));
    QCOMPARE(itemTexts(menu), QStringList { "复制" });
    QCOMPARE(QApplication::focusWidget(), focus);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    QTRY_VERIFY(openMenu() == nullptr);

    QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    QCOMPARE(allTexts(window.get()), before);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(QApplication::focusWidget(), focus);
}

// Shift+F10 in a field opens the field's own menu, as the context-menu key does.
void AccessTest::shiftF10OpensTheFocusedFieldsMenu()
{
    const auto window = openWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QLineEdit *density = field(window.get(), "Text27");
    density->setFocus(Qt::TabFocusReason);
    const QMap<QString, QString> before = allTexts(window.get());
    pressShiftF10();
    QMenu *menu = openMenu();
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->parentWidget(), density);
    QCOMPARE(itemTexts(menu), fieldItems);
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(openMenu() == nullptr);
    QCOMPARE(allTexts(window.get()), before);
    QCOMPARE(QApplication::focusWidget(), density);
}

void AccessTest::menuKeyElsewhereOpensNoMenu_data()
{
    QTest::addColumn<QString>("focused");
    QTest::newRow("置顶") << "Command8";
    QTest::newRow("重置") << "Command10";
    QTest::newRow("访问官网") << "Command11";
    QTest::newRow("option ×") << "Option5";
    QTest::newRow("option 内径:") << "Option1";
}

// Only the buttons that answer for a result open a menu from the keyboard.
void AccessTest::menuKeyElsewhereOpensNoMenu()
{
    QFETCH(QString, focused);
    const auto window = openWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QWidget *focus = find(window.get(), qPrintable(focused));
    focus->setFocus(Qt::TabFocusReason);
    const QMap<QString, QString> before = allTexts(window.get());
    pressMenuKey();
    QVERIFY(openMenu() == nullptr);
    pressShiftF10();
    QVERIFY(openMenu() == nullptr);
    QCOMPARE(allTexts(window.get()), before);
    QCOMPARE(QApplication::focusWidget(), focus);
}

// A result label's accessible name is the text it shows, as it shows it after every change, and
// its description what that text is. (That Qt raises a name change for each new text, a
// screen reader reads from the running program: tests/window/screen_reader_test.py.)
void AccessTest::resultLabelIsNamedByItsText()
{
    const auto window = openWindow();
    auto *label = find<tarnwick::ResultLabel>(window.get(), "Label30");
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(label);
    QVERIFY(accessible != nullptr);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("0.00"));
    QCOMPARE(accessible->text(QAccessible::Description), QStringLiteral("圆钢重量"));

    QStringList named;
    QObject::connect(label, &tarnwick::ResultLabel::changed, label,
        [&] { named.append(accessible->text(QAccessible::Name)); });
    type(window.get(), "Text4", QStringLiteral("100"));
    type(window.get(), "Text18", QStringLiteral("1000"));
    // The label's texts as the digits arrive: 1, 10 and 100 with an empty length weigh 0.
    QCOMPARE(named, (QStringList { "0", "0.06", "0.62", "6.17", "61.65" }));
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("61.65"));
    QCOMPARE(accessible->text(QAccessible::Description), QStringLiteral("圆钢重量"));
}

QTEST_MAIN(AccessTest)
#include "tst_access.moc"
