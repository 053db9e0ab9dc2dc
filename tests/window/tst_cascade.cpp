// The road of a keystroke through the first plate panel into the calculator, the change rule
// that ends every cascade, and the calculator driven as a user drives it.

#include "windowtest.h"

#include <QClipboard>
#include <QSignalSpy>

using namespace windowtest;

class CascadeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keystrokeReachesCalculator();
    void typingDigitByDigitForwardsEachNewWeight();
    void clickWithUpToDateLabelChangesNothing();
    void pasteOfSameTextRunsNothing();
    void fullWidthDigitsFromInputMethod();
    void weightBeyondRangeShowsMessage();
    void calculator_data();
    void calculator();
    void operationCountsAtNextTrigger();
    void equalsWithNothingChangedRaisesNothing();
};

void CascadeTest::keystrokeReachesCalculator()
{
    const auto window = openWindow();
    type(window.get(), "Text25", QStringLiteral("4"));
    type(window.get(), "Text2", QStringLiteral("1000"));
    type(window.get(), "Text3", QStringLiteral("6"));
    TextHistory first(window.get(), "Text24");
    type(window.get(), "Text1", QStringLiteral("2000"));
    QCOMPARE(text(window.get(), "Label26"), QStringLiteral("94.2"));
    QCOMPARE(text(window.get(), "Text24"), QStringLiteral("94.2"));
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("376.80"));
    QCOMPARE(first.texts().last(), QStringLiteral("94.2"));
}

void CascadeTest::typingDigitByDigitForwardsEachNewWeight()
{
    const auto window = openWindow();
    type(window.get(), "Text2", QStringLiteral("1000"));
    type(window.get(), "Text3", QStringLiteral("6"));
    QCOMPARE(text(window.get(), "Label26"), QStringLiteral("0"));
    QCOMPARE(text(window.get(), "Text24"), QStringLiteral("0"));
    TextHistory first(window.get(), "Text24");
    QStringList shown;
    for (const char *digit : { "2", "0", "0", "0" }) {
        type(window.get(), "Text1", QString::fromLatin1(digit));
        shown.append(text(window.get(), "Label26"));
    }
    const QStringList expected { "0.09", "0.94", "9.42", "94.2" };
    QCOMPARE(shown, expected);
    QCOMPARE(first.texts(), expected);
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("0.00"));
}

void CascadeTest::clickWithUpToDateLabelChangesNothing()
{
    const auto window = openWindow();
    type(window.get(), "Text1", QStringLiteral("1500"));
    type(window.get(), "Text2", QStringLiteral("1250"));
    type(window.get(), "Text3", QStringLiteral("8"));
    QCOMPARE(text(window.get(), "Label26"), QStringLiteral("117.75"));
    retype(window.get(), "Text24", QStringLiteral("5"));
    TextHistory first(window.get(), "Text24");
    click(window.get(), "Command1");
    QCOMPARE(text(window.get(), "Label26"), QStringLiteral("117.75"));
    QCOMPARE(first.texts(), QStringList());
    QCOMPARE(text(window.get(), "Text24"), QStringLiteral("5"));
}

// Selecting all and pasting the same text makes QLineEdit signal a change; under the window's
// rule the text did not change, so nothing may run: the newly chosen operation must not count.
void CascadeTest::pasteOfSameTextRunsNothing()
{
    const auto window = openWindow();
    type(window.get(), "Text24", QStringLiteral("10"));
    type(window.get(), "Text25", QStringLiteral("3"));
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("30.00"));
    click(window.get(), "Option3");

    QLineEdit *second = field(window.get(), "Text25");
    QSignalSpy rawSignal(second, &QLineEdit::textChanged);
    second->setFocus();
    QTest::keyClick(second, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(second, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("3"));
    QTest::keyClick(second, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(second->text(), QStringLiteral("3"));
    QVERIFY(rawSignal.count() > 0); // the edit did happen
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("30.00"));

    // A real change of the operand does count.
    type(window.get(), "Text25", QStringLiteral("0"));
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("40.00"));
}

void CascadeTest::fullWidthDigitsFromInputMethod()
{
    const auto window = openWindow();
    commit(window.get(), "Text1", QStringLiteral("２０００"));
    commit(window.get(), "Text2", QStringLiteral("１０００。"));
    commit(window.get(), "Text3", QStringLiteral("６"));
    QCOMPARE(text(window.get(), "Text1"), QStringLiteral("２０００"));
    QCOMPARE(text(window.get(), "Label26"), QStringLiteral("94.2"));
    QCOMPARE(text(window.get(), "Text24"), QStringLiteral("94.2"));
}

void CascadeTest::weightBeyondRangeShowsMessage()
{
    const auto window = openWindow();
    type(window.get(), "Text25", QStringLiteral("2"));
    type(window.get(), "Text1", QStringLiteral("1e400"));
    type(window.get(), "Text2", QStringLiteral("1"));
    type(window.get(), "Text3", QStringLiteral("1"));
    QCOMPARE(text(window.get(), "Label26"), QStringLiteral("超出范围"));
    QCOMPARE(text(window.get(), "Text24"), QStringLiteral("超出范围"));
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("0.00"));
    // The window goes on: a sound length brings a weight back.
    retype(window.get(), "Text1", QStringLiteral("1000000"));
    QCOMPARE(text(window.get(), "Label26"), QStringLiteral("7.85"));
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("15.70"));
}

void CascadeTest::calculator_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("shown");
    QTest::newRow("10 + 3") << "10"
                            << "3"
                            << "Option3"
                            << "13.00";
    QTest::newRow("10 - 3") << "10"
                            << "3"
                            << "Option4"
                            << "7.00";
    QTest::newRow("10 x 3") << "10"
                            << "3"
                            << "Option5"
                            << "30.00";
    QTest::newRow("10 / 3") << "10"
                            << "3"
                            << "Option6"
                            << "3.33";
    QTest::newRow("10 pow 3") << "10"
                              << "3"
                              << "Option7"
                              << "1000.00";
    QTest::newRow("10 root 3") << "10"
                               << "3"
                               << "Option8"
                               << "2.15";
    QTest::newRow("divide by empty") << "10"
                                     << ""
                                     << "Option6"
                                     << "除数不能为0";
    QTest::newRow("divide by -0") << "10"
                                  << "-0"
                                  << "Option6"
                                  << "除数不能为0";
    QTest::newRow("divide by letters") << "10"
                                       << "x1"
                                       << "Option6"
                                       << "除数不能为0";
    QTest::newRow("divide by 0.001") << "1"
                                     << "0.001"
                                     << "Option6"
                                     << "1000.00";
    QTest::newRow("root of degree 0.00") << "8"
                                         << "0.00"
                                         << "Option8"
                                         << "不能开0次方";
    QTest::newRow("power of empty") << ""
                                    << ""
                                    << "Option7"
                                    << "1.00";
    QTest::newRow("odd root of negative") << "-8"
                                          << "3"
                                          << "Option8"
                                          << "-2.00";
    QTest::newRow("odd negative root of negative") << "-8"
                                                   << "-3"
                                                   << "Option8"
                                                   << "-0.50";
    QTest::newRow("even root of negative") << "-16"
                                           << "2"
                                           << "Option8"
                                           << "无效运算";
    QTest::newRow("negative to fraction") << "-8"
                                          << "0.5"
                                          << "Option7"
                                          << "无效运算";
    QTest::newRow("zero to negative") << "0"
                                      << "-1"
                                      << "Option7"
                                      << "无效运算";
    QTest::newRow("beyond range") << "1e300"
                                  << "1e300"
                                  << "Option5"
                                  << "超出范围";
    QTest::newRow("negative rounds to zero") << "-0.001"
                                             << "1"
                                             << "Option5"
                                             << "0.00";
    QTest::newRow("0.1 + 0.2") << "0.1"
                               << "0.2"
                               << "Option3"
                               << "0.30";
}

void CascadeTest::calculator()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, operation);
    QFETCH(QString, shown);
    const auto window = openWindow();
    click(window.get(), qPrintable(operation));
    type(window.get(), "Text24", first);
    type(window.get(), "Text25", second);
    click(window.get(), "Command7");
    QCOMPARE(text(window.get(), "Label32"), shown);
    QCOMPARE(text(window.get(), "Text24"), first);
    QCOMPARE(text(window.get(), "Text25"), second);
}

void CascadeTest::operationCountsAtNextTrigger()
{
    const auto window = openWindow();
    click(window.get(), "Option6");
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("0.00"));
    click(window.get(), "Command7");
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("除数不能为0"));
    type(window.get(), "Text24", QStringLiteral("2"));
    type(window.get(), "Text25", QStringLiteral("3"));
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("0.67"));
    click(window.get(), "Option7");
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("0.67"));
    type(window.get(), "Text24", QStringLiteral("0")); // 20 to the power 3
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("8000.00"));
}

void CascadeTest::equalsWithNothingChangedRaisesNothing()
{
    const auto window = openWindow();
    auto *result = find<tarnwick::ResultLabel>(window.get(), "Label32");
    QSignalSpy changes(result, &tarnwick::ResultLabel::changed);
    click(window.get(), "Command7");
    QCOMPARE(result->text(), QStringLiteral("0.00"));
    QCOMPARE(changes.count(), 0);
}

QTEST_MAIN(CascadeTest)
#include "tst_cascade.moc"
