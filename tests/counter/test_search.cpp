// The two searches: the length rule, the nine number columns written with or without blanks,
// dashes, dots and slashes, the description with the vehicle filter, and texts that could break
// a statement.
#include "program_driver.h"
#include "test_registry.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace quillon;
using namespace Qt::StringLiterals;
using quillon::tests::addRow;
using quillon::tests::ProgramDriver;

namespace {

void addCatalogue(const ProgramDriver& app) {
    app.addParts({
        u"ID=1|DorvaneNum=DV100|RoverNum=STC100|Description=Brake pad set|"
        u"Application1=Defender"_s,
        u"ID=2|DorvaneNum=DV200|RoverNum=NRC200|RoverSuper4=ZZX999|Description=Brake hose|"
        u"Application1=Discovery|Application2=Defender"_s,
        u"ID=3|DorvaneNum=DV300|RoverNum=Dorvane Only|Description=Brake    disc|"
        u"Application1=Discovery"_s,
        u"ID=4|DorvaneNum=DV400|AltDorvaneNum=ALT777|RoverNum=ERR400|Description=O'Ring seal|"
        u"Application3=Defender 90"_s,
        u"ID=5|DorvaneNum=DV500|RoverNum=AB[1X|Description=Brake light   bulb|"
        u"Application9=Defender"_s,
        u"ID=6|DorvaneNum=DV600|RoverNum=50%_OFF|Description=Sale item"_s,
    });
}

class SearchTest : public QObject {
    Q_OBJECT

private slots:
    // typed -> the DorvaneNum of the rows listed ("No Parts Found!" when none), in place of those
    // of an earlier search; or the box that refuses it, the earlier search's results and part
    // shown left as they were. A row naming a column adds the part QX7 holding the stored text
    // in that column.
    void found_data() {
        tests::addColumns<QString, QString, QString, QString, QString, QStringList, QString>(
            "box", "typed", "vehicle", "column", "stored", "found", "refusal");
        const char *qx7 = "QX7", *none = "", *all = "DV100|DV200|DV300|DV400|DV500|DV600";
        const auto number = [](const char* name, const auto& typed, const char* column,
                               const char* stored, const char* found) {
            addRow(name, "txtPart", typed, "", column, stored,
                   QString::fromUtf8(found).split(u'|', Qt::SkipEmptyParts), QString());
        };
        const auto desc = [](const char* name, const auto& typed, const char* vehicle,
                             const char* found) {
            addRow(name, "txtDesc", typed, vehicle, "", "",
                   QString::fromUtf8(found).split(u'|', Qt::SkipEmptyParts), QString());
        };
        const auto refused = [](const char* name, const char* box, const char* typed,
                                const char* refusal) {
            addRow(name, box, typed, "", "", "", QStringList(), QString::fromUtf8(refusal));
        };
        const char* tooShort = "Part number must be longer then 3 characters";
        const char* keyword = "Keyword must be longer then 3 characters";
        refused("empty number", "txtPart", "", "Enter a part number");
        refused("three characters", "txtPart", "DV1", tooShort);
        refused("three blanks", "txtPart", "   ", tooShort);
        refused("empty keyword", "txtDesc", "", "Enter keyword or part of a description");
        refused("three-letter keyword", "txtDesc", "Bra", keyword);
        // One character outside the Basic Multilingual Plane is one character, not two.
        refused("two characters in four UTF-16 units", "txtDesc",
                "\xF0\x9F\x94\xA7\xF0\x9F\x94\xA9", keyword);
        number("supplier number", "DV10", "", "", "DV100");
        number("only in RoverSuper4", "ZZX9", "", "", "DV200");
        number("only in RoverSuper6", "ZZY8", "RoverSuper6", "ZZY888", qx7);
        number("alternative number", "T777", "", "", "DV400");
        number("description is no number column", "Brake", "", "", none);
        number("typed without the blank", "ESR3672", "RoverNum", "ESR 3672", qx7);
        number("dash for the blank, other case", "esr-3672", "RoverNum", "ESR 3672", qx7);
        number("blank where there is none", "ESR 9626", "RoverSuper6", "ESR9626", qx7);
        number("dots and slashes", "E.S.R/9626", "AltDorvaneNum", "esr 96-26", qx7);
        number("part of a number", "SR-36", "DorvaneNum", "ESR 3672", "ESR 3672");
        number("found both ways, listed once", "DV 1", "RoverSuper1", "DV 100", "DV100|QX7");
        number("other digits", "ESR-3673", "RoverNum", "ESR 3672", none);
        number("bare description is no number", "ESR-3672", "Description", "ESR 3672", none);
        number("wildcard: as written only", "ESR-36*", "RoverNum", "ESR3672", none);
        number("wildcard found as written", "ESR?3672", "RoverNum", "ESR 3672", qx7);
        number("blanks only, as written", "    ", "RoverNum", "AB    CD", qx7);
        number("dashes only", "----", "RoverNum", "AB-CD", none);
        number("bare text of two characters", "A - B", "RoverNum", "XAB9", "DV500|QX7");
        number("lone bracket is a character", "AB[1", "", "", "DV500");
        number("percent and underscore are characters", "50%_", "", "", "DV600");
        number("SQL in the text", "x') OR 1=1 OR ('", "", "", none);
        number("very long", QString(32767, u'x'), "", "", none);
        desc("any vehicle", "Brake", "- any -", "DV100|DV200|DV300|DV500");
        desc("Defender, in any application column, by ID", "Brake", "Defender",
             "DV100|DV200|DV500");
        desc("vehicle by equality, not a pattern", "Ring seal", "Defender", none);
        desc("typed vehicle used unchanged", "Ring seal", "Defender 90", "DV400");
        desc("apostrophe as itself", "O'Ring", "- any -", "DV400");
        desc("four blanks pass the length rule", "    ", "- any -", "DV300");
        desc("star is a wildcard", "Brake*disc", "- any -", "DV300");
        desc("very long, all quotes", QString(20000, u'\''), "- any -", none);
        desc("very long, all stars", QString(5000, u'*'), "- any -", all);
    }
    void found() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, vehicle);
        QFETCH(QString, column);
        QFETCH(QString, stored);
        QFETCH(QStringList, found);
        QFETCH(QString, refusal);
        ProgramDriver app;
        addCatalogue(app);
        if (!column.isEmpty())
            app.addParts({{{u"ID"_s, 7}, {u"DorvaneNum"_s, u"QX7"_s}, {column, stored}}});
        app.run();
        app.type(u"txtDesc"_s, u"Brake"_s);
        app.click(u"cmdSearchDesc"_s);
        app.clickCell(2, 1);
        const QStringList earlier = app.gridColumn(0);
        app.dialogs.clearRecords();
        app.type(box, typed);
        if (!vehicle.isEmpty())
            app.type(u"lstApplication"_s, vehicle);
        app.click(box == u"txtPart"_s ? u"cmdSearchPart"_s : u"cmdSearchDesc"_s);

        if (!refusal.isEmpty()) {
            QCOMPARE(app.onlyPrompt(), refusal);
            QCOMPARE(app.gridColumn(0), earlier);
            QCOMPARE(app.status(), u"Brake hose"_s);
            QCOMPARE(app.control<QLabel>(u"txtDRNumber"_s)->text(), u"DV200"_s);
            QCOMPARE(app.dialogs.beeps(), 0);
            return;
        }
        QVERIFY(app.dialogs.boxes().isEmpty());
        QCOMPARE(app.dialogs.beeps(), 1);
        QStringList listed = app.gridColumn(0);
        if (vehicle == u"- any -"_s) // no order asked of the engine
            listed.sort();
        QCOMPARE(listed, found.isEmpty() ? QStringList{u""_s} : found);
        if (found.isEmpty())
            QCOMPARE(app.gridColumn(2), QStringList{u"No Parts Found!"_s});
        // The searched text is left selected (its first 30 characters) with the focus, so that
        // typing at once replaces it.
        auto* edit = app.control<QLineEdit>(box);
        QVERIFY(edit->hasFocus());
        QCOMPARE(edit->selectedText(), typed.left(30));
        QTest::keyClicks(edit, u"N"_s);
        QCOMPARE(edit->text(), u"N"_s + typed.mid(30));
    }
};

} // namespace

QUILLON_TEST_CLASS(SearchTest)
#include "test_search.moc"
