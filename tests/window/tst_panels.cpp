// The four weight panels and the density, driven through the window as a user drives them:
// each formula's shown weight, the round bar's five-decimal button, the pipe's choice of
// inner diameter or wall, and what a new density brings up to date, in which order.

#include "windowtest.h"

#include <QRadioButton>
#include <QSignalSpy>

using namespace windowtest;

class PanelsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shownWeight_data();
    void shownWeight();
    void areaTypedDigitByDigit();
    void roundBarButtonPutsWeightBack();
    void roundBarButtonSettlesOnTwoDecimals();
    void roundBarButtonWithNothingNewChangesNothing();
    void roundBarSameValueOtherTextChangesNothing();
    void firstClickShowsZero_data();
    void firstClickShowsZero();
    void pipeOptionCountsAtNextTrigger();
    void pipeUnusedFieldStillRecomputes();
    void densityBringsEveryComputedPanelUpToDate();
    void densityLeavesUntouchedPanelsAlone();
    void densityKeystrokes();
};

// Rows: the fields to type, in order ("Option2" clicks the wall option), and the label's text.
void PanelsTest::shownWeight_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plate 1000x1000x10")
        << QStringList { "Text1=1000", "Text2=1000", "Text3=10" } << "Label26"
        << "78.5";
    QTest::newRow("plate negative length")
        << QStringList { "Text1=-1000", "Text2=1000", "Text3=10" } << "Label26"
        << "-78.5";
    QTest::newRow("plate 100x100x1 rounds up")
        << QStringList { "Text1=100", "Text2=100", "Text3=1" } << "Label26"
        << "0.08";
    QTest::newRow("area 2000000x6") << QStringList { "Text5=2000000", "Text6=6" } << "Label27"
                                    << "94.2";
    QTest::newRow("area 1875000x8") << QStringList { "Text5=1875000", "Text6=8" } << "Label27"
                                    << "117.75";
    QTest::newRow("area with letters") << QStringList { "Text5=abc", "Text6=8" } << "Label27"
                                       << "0";
    QTest::newRow("bar 20x1000") << QStringList { "Text4=20", "Text18=1000" } << "Label30"
                                 << "2.47";
    QTest::newRow("bar 100x6000") << QStringList { "Text4=100", "Text18=6000" } << "Label30"
                                  << "369.92";
    QTest::newRow("bar negative length") << QStringList { "Text4=20", "Text18=-1000" } << "Label30"
                                         << "-2.47";
    QTest::newRow("bar negative diameter")
        << QStringList { "Text4=-20", "Text18=1000" } << "Label30"
        << "2.47";
    QTest::newRow("pipe inner 60/50")
        << QStringList { "Text11=60", "Text12=50", "Text14=1000" } << "Label29"
        << "6.78";
    QTest::newRow("pipe wall 60/5")
        << QStringList { "Option2", "Text11=60", "Text13=5", "Text14=1000" } << "Label29"
        << "6.78";
    QTest::newRow("pipe inner 114/100 x 6000")
        << QStringList { "Text11=114", "Text12=100", "Text14=6000" } << "Label29"
        << "110.83";
    QTest::newRow("pipe wall 114/7 x 6000")
        << QStringList { "Option2", "Text11=114", "Text13=7", "Text14=6000" } << "Label29"
        << "110.83";
    QTest::newRow("pipe inner larger than outer")
        << QStringList { "Text11=50", "Text12=60", "Text14=1000" } << "Label29"
        << "-6.78";
    QTest::newRow("pipe wall thicker than half")
        << QStringList { "Option2", "Text11=60", "Text13=40", "Text14=1000" } << "Label29"
        << "19.73";
    QTest::newRow("pipe without inner is a bar")
        << QStringList { "Text11=20", "Text14=1000" } << "Label29"
        << "2.47";
    QTest::newRow("pipe 100/80 in aluminium")
        << QStringList { "Text27=X", "Text27=2.7", "Text11=100", "Text12=80", "Text14=1000" }
        << "Label29"
        << "7.63";
}

void PanelsTest::shownWeight()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, label);
    QFETCH(QString, shown);
    const auto window = openWindow();
    for (const QString &step : steps) {
        const QStringList parts = step.split(QLatin1Char('='));
        if (parts.size() == 1)
            click(window.get(), qPrintable(step));
        else
            retype(window.get(), qPrintable(parts[0]), parts[1]);
    }
    QCOMPARE(text(window.get(), qPrintable(label)), shown);
    QCOMPARE(text(window.get(), "Text24"), shown);
}

void PanelsTest::areaTypedDigitByDigit()
{
    const auto window = openWindow();
    type(window.get(), "Text6", QStringLiteral("6"));
    QCOMPARE(text(window.get(), "Label27"), QStringLiteral("0"));
    TextHistory first(window.get(), "Text24");
    type(window.get(), "Text5", QStringLiteral("2000000"));
    QCOMPARE(first.texts(), (QStringList { "0.01", "0.09", "0.94", "9.42", "94.2" }));
}

void PanelsTest::roundBarButtonPutsWeightBack()
{
    const auto window = openWindow();
    type(window.get(), "Text4", QStringLiteral("20"));
    type(window.get(), "Text18", QStringLiteral("1000"));
    QCOMPARE(text(window.get(), "Text24"), QStringLiteral("2.47"));
    retype(window.get(), "Text24", QStringLiteral("5"));
    click(window.get(), "Command5");
    QCOMPARE(text(window.get(), "Label30"), QStringLiteral("2.47"));
    QCOMPARE(text(window.get(), "Text24"), QStringLiteral("2.47"));
}

// The label shows the five-decimal weight only while the click is handled.
void PanelsTest::roundBarButtonSettlesOnTwoDecimals()
{
    const auto window = openWindow();
    type(window.get(), "Text4", QStringLiteral("100"));
    type(window.get(), "Text18", QStringLiteral("6000"));
    auto *label = find<tarnwick::ResultLabel>(window.get(), "Label30");
    QSignalSpy changes(label, &tarnwick::ResultLabel::changed);
    TextHistory first(window.get(), "Text24");
    retype(window.get(), "Text24", QStringLiteral("1"));
    first.clear();
    click(window.get(), "Command5");
    QCOMPARE(changes.count(), 2); // to 369.9234 and back to 369.92
    QCOMPARE(first.texts(), QStringList { "369.92" });
    QCOMPARE(label->text(), QStringLiteral("369.92"));
}

// Where the five-decimal text equals the shown one, the click changes nothing.
void PanelsTest::roundBarButtonWithNothingNewChangesNothing()
{
    const auto window = openWindow();
    type(window.get(), "Text4", QStringLiteral("0"));
    type(window.get(), "Text18", QStringLiteral("1000"));
    QCOMPARE(text(window.get(), "Label30"), QStringLiteral("0"));
    retype(window.get(), "Text24", QStringLiteral("5"));
    click(window.get(), "Command5");
    QCOMPARE(text(window.get(), "Label30"), QStringLiteral("0"));
    QCOMPARE(text(window.get(), "Text24"), QStringLiteral("5"));
}

void PanelsTest::roundBarSameValueOtherTextChangesNothing()
{
    const auto window = openWindow();
    type(window.get(), "Text4", QStringLiteral("20"));
    type(window.get(), "Text18", QStringLiteral("1000"));
    retype(window.get(), "Text24", QStringLiteral("5"));
    type(window.get(), "Text4", QStringLiteral(".0"));
    QCOMPARE(text(window.get(), "Text4"), QStringLiteral("20.0"));
    QCOMPARE(text(window.get(), "Label30"), QStringLiteral("2.47"));
    QCOMPARE(text(window.get(), "Text24"), QStringLiteral("5"));
}

void PanelsTest::firstClickShowsZero_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("label");
    QTest::newRow("plate") << "Command1"
                           << "Label26";
    QTest::newRow("area") << "Command2"
                          << "Label27";
    QTest::newRow("bar") << "Command5"
                         << "Label30";
    QTest::newRow("pipe") << "Command4"
                          << "Label29";
}

void PanelsTest::firstClickShowsZero()
{
    QFETCH(QString, button);
    QFETCH(QString, label);
    const auto window = openWindow();
    TextHistory first(window.get(), "Text24");
    click(window.get(), qPrintable(button));
    QCOMPARE(text(window.get(), qPrintable(label)), QStringLiteral("0"));
    QCOMPARE(first.texts(), QStringList { "0" });
    click(window.get(), qPrintable(button));
    QCOMPARE(first.texts(), QStringList { "0" });
}

void PanelsTest::pipeOptionCountsAtNextTrigger()
{
    const auto window = openWindow();
    type(window.get(), "Text11", QStringLiteral("60"));
    type(window.get(), "Text12", QStringLiteral("50"));
    type(window.get(), "Text14", QStringLiteral("1000"));
    QCOMPARE(text(window.get(), "Label29"), QStringLiteral("6.78"));
    click(window.get(), "Option2");
    QCOMPARE(text(window.get(), "Label29"), QStringLiteral("6.78"));
    click(window.get(), "Command4"); // no wall given: the inner diameter is the outer one
    QCOMPARE(text(window.get(), "Label29"), QStringLiteral("0"));
    QCOMPARE(text(window.get(), "Text24"), QStringLiteral("0"));
    type(window.get(), "Text13", QStringLiteral("5"));
    QCOMPARE(text(window.get(), "Label29"), QStringLiteral("6.78"));
    click(window.get(), "Option1");
    type(window.get(), "Text12", QStringLiteral("0")); // inner 500 > outer 60
    QCOMPARE(text(window.get(), "Label29"), QStringLiteral("-1519.15"));
}

void PanelsTest::pipeUnusedFieldStillRecomputes()
{
    const auto window = openWindow();
    type(window.get(), "Text11", QStringLiteral("60"));
    type(window.get(), "Text12", QStringLiteral("50"));
    type(window.get(), "Text14", QStringLiteral("1000"));
    click(window.get(), "Option2");
    type(window.get(), "Text12", QStringLiteral("1")); // unused under the wall option
    QCOMPARE(text(window.get(), "Label29"), QStringLiteral("0"));
}

void PanelsTest::densityBringsEveryComputedPanelUpToDate()
{
    const auto window = openWindow();
    for (const auto &[name, value] : std::initializer_list<std::pair<const char *, const char *>> {
             { "Text1", "1000" }, { "Text2", "1000" }, { "Text3", "10" }, { "Text5", "2000000" },
             { "Text6", "6" }, { "Text4", "20" }, { "Text18", "1000" }, { "Text11", "60" },
             { "Text12", "50" }, { "Text14", "1000" } })
        type(window.get(), name, QString::fromLatin1(value));
    type(window.get(), "Text25", QStringLiteral("2"));
    TextHistory first(window.get(), "Text24");
    replace(window.get(), "Text27", QStringLiteral("8"));
    QCOMPARE(first.texts(), (QStringList { "80", "96", "2.51", "6.91" }));
    QCOMPARE(text(window.get(), "Label26"), QStringLiteral("80"));
    QCOMPARE(text(window.get(), "Label27"), QStringLiteral("96"));
    QCOMPARE(text(window.get(), "Label30"), QStringLiteral("2.51"));
    QCOMPARE(text(window.get(), "Label29"), QStringLiteral("6.91"));
    QCOMPARE(text(window.get(), "Label32"), QStringLiteral("13.82"));
}

// Both plates follow every density edit; the round bar and the pipe only once they show a
// weight, so an untouched panel never pushes a 0 into the calculator.
void PanelsTest::densityLeavesUntouchedPanelsAlone()
{
    const auto window = openWindow();
    TextHistory first(window.get(), "Text24");
    type(window.get(), "Text27", QStringLiteral("1"));
    QCOMPARE(first.texts(), QStringList { "0" });
    QCOMPARE(text(window.get(), "Label26"), QStringLiteral("0"));
    QCOMPARE(text(window.get(), "Label27"), QStringLiteral("0"));
    QCOMPARE(text(window.get(), "Label30"), QStringLiteral("0.00"));
    QCOMPARE(text(window.get(), "Label29"), QStringLiteral("0.00"));

    type(window.get(), "Text4", QStringLiteral("20"));
    type(window.get(), "Text18", QStringLiteral("1000"));
    QCOMPARE(text(window.get(), "Label30"), QStringLiteral("2.47"));
    first.clear();
    replace(window.get(), "Text27", QStringLiteral("2"));
    QCOMPARE(first.texts(), QStringList { "0.63" });
    QCOMPARE(text(window.get(), "Label29"), QStringLiteral("0.00"));
}

void PanelsTest::densityKeystrokes()
{
    const auto window = openWindow();
    type(window.get(), "Text1", QStringLiteral("1000"));
    type(window.get(), "Text2", QStringLiteral("1000"));
    type(window.get(), "Text3", QStringLiteral("10"));
    type(window.get(), "Text5", QStringLiteral("2000000"));
    type(window.get(), "Text6", QStringLiteral("6"));
    TextHistory first(window.get(), "Text24");
    QLineEdit *density = field(window.get(), "Text27");
    density->setFocus();
    density->end(false);
    QTest::keyClick(density, Qt::Key_Backspace);
    QCOMPARE(first.texts(), (QStringList { "78", "93.6" }));
    clear(window.get(), "Text27");
    QCOMPARE(text(window.get(), "Label26"), QStringLiteral("0"));
    QCOMPARE(text(window.get(), "Label27"), QStringLiteral("0"));
    QCOMPARE(first.texts().last(), QStringLiteral("0"));
}

QTEST_MAIN(PanelsTest)
#include "tst_panels.moc"
