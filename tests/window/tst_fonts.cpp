// The window's typeface as the program sets it up: every text the window can show is drawn from
// the embedded Song face, and text the user types outside it falls back to an installed font.

#include "app/controltable.h"
#include "app/qt/controlstyle.h"
#include "app/qt/fonts.h"
#include "panels/fields.h"
#include "windowtest.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>

using namespace windowtest;

class FontsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shownTextInEmbeddedFace_data();
    void shownTextInEmbeddedFace();
    void typedTextFallsBack();
};

namespace {

QList<QGlyphRun> glyphRuns(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns();
}

// A glyph index of 0 is the face's "missing" box.
bool hasMissingGlyph(const QGlyphRun &run)
{
    const QList<quint32> indexes = run.glyphIndexes();
    return std::find(indexes.begin(), indexes.end(), 0U) != indexes.end();
}

} // namespace

void FontsTest::shownTextInEmbeddedFace_data()
{
    QTest::addColumn<QString>("text");
    for (const auto &row : tarnwick::controlTable) {
        if (row.kind != tarnwick::Kind::Picture && !row.text.empty())
            QTest::newRow(row.name.data())
                << QString::fromUtf8(row.text.data(), static_cast<qsizetype>(row.text.size()));
    }
    QTest::newRow("pin released") << QStringLiteral("不置顶");
    QTest::newRow("digits and signs") << QStringLiteral("-0123456789.+E*/^()=");
    using tarnwick::Fault;
    for (const Fault fault :
        { Fault::OutOfRange, Fault::DivisorZero, Fault::RootDegreeZero, Fault::NoRealResult }) {
        const QString shown = QString::fromStdU16String(tarnwick::displayText(fault));
        QTest::newRow(qPrintable(shown)) << shown;
    }
}

// A text outside the embedded face would still show, from a system font, but would cost the
// start-up the search the embedded face is there to save: the face must be remade with it.
void FontsTest::shownTextInEmbeddedFace()
{
    QFETCH(QString, text);
    const QStringList &families = tarnwick::songFamilies();
    if (families.size() < 2)
        QSKIP("this build embeds no Song face");
    const QList<QGlyphRun> runs = glyphRuns(text, tarnwick::songFont(9));
    QVERIFY(!runs.isEmpty());
    for (const QGlyphRun &run : runs) {
        QCOMPARE(run.rawFont().familyName(), families.first());
        QVERIFY2(!hasMissingGlyph(run), "a character is missing from the embedded face");
    }
}

void FontsTest::typedTextFallsBack()
{
    const QStringList &families = tarnwick::songFamilies();
    QStringList installed = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    installed.removeAll(families.first());
    if (installed.isEmpty())
        QSKIP("no Chinese font is installed to fall back to");

    const auto window = openWindow();
    const QString typed = QStringLiteral("鑫淼");
    commit(window.get(), "Text1", typed);
    const QLineEdit *edit = field(window.get(), "Text1");
    QCOMPARE(edit->text(), typed);

    const QList<QGlyphRun> runs = glyphRuns(edit->text(), edit->font());
    QVERIFY(!runs.isEmpty());
    bool fromElsewhere = false;
    for (const QGlyphRun &run : runs) {
        QVERIFY2(!hasMissingGlyph(run), qPrintable(run.rawFont().familyName()));
        fromElsewhere = fromElsewhere || run.rawFont().familyName() != families.first();
    }
    QVERIFY2(fromElsewhere, "the typed characters came from the embedded face");
}

// The program's own font set-up comes before the application, as in the program itself.
int main(int argc, char *argv[])
{
    tarnwick::prepareFontconfig();
    QApplication app(argc, argv);
    FontsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_fonts.moc"
