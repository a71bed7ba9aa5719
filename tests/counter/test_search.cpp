// The two searches: the length rule, the nine number columns written with or without blanks,
// dashes, dots and slashes, the description with the vehicle filter, and texts that could break
// a statement.
#include "program_driver.h"
#include "test_registry.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace quillon;
using quillon::tests::ProgramDriver;
using quillon::tests::Row;

namespace {

// A row from "column=value" pairs joined by "|".
Row part(const QString& pairs) {
    Row made;
    for (const QString& pair : pairs.split(u'|'))
        made.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    return made;
}

void addCatalogue(const ProgramDriver& app) {
    app.addParts({
        part("ID=1|DorvaneNum=DV100|RoverNum=STC100|Description=Brake pad set|"
             "Application1=Defender"),
        part("ID=2|DorvaneNum=DV200|RoverNum=NRC200|RoverSuper4=ZZX999|Description=Brake hose|"
             "Application1=Discovery|Application2=Defender"),
        part("ID=3|DorvaneNum=DV300|RoverNum=Dorvane Only|Description=Brake    disc|"
             "Application1=Discovery"),
        part("ID=4|DorvaneNum=DV400|AltDorvaneNum=ALT777|RoverNum=ERR400|Description=O'Ring seal|"
             "Application3=Defender 90"),
        part("ID=5|DorvaneNum=DV500|RoverNum=AB[1X|Description=Brake light   bulb|"
             "Application9=Defender"),
        part("ID=6|DorvaneNum=DV600|RoverNum=50%_OFF|Description=Sale item"),
    });
}

class SearchTest : public QObject {
    Q_OBJECT

private slots:
    // A refused text shows its box and changes nothing of the results or the part shown.
    void refused_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("prompt");
        const QString tooShort = "Part number must be longer then 3 characters";
        const QString keyword = "Keyword must be longer then 3 characters";
        QTest::newRow("empty number") << "txtPart"
                                      << ""
                                      << "Enter a part number";
        QTest::newRow("three characters") << "txtPart"
                                          << "DV1" << tooShort;
        QTest::newRow("three blanks") << "txtPart"
                                      << "   " << tooShort;
        QTest::newRow("empty keyword") << "txtDesc"
                                       << ""
                                       << "Enter keyword or part of a description";
        QTest::newRow("three-letter keyword") << "txtDesc"
                                              << "Bra" << keyword;
        // One character outside the Basic Multilingual Plane is one character, not two.
        QTest::newRow("two characters in four UTF-16 units")
            << "txtDesc" << QString::fromUtf8("\xF0\x9F\x94\xA7\xF0\x9F\x94\xA9") << keyword;
    }
    void refused() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, prompt);
        ProgramDriver app;
        addCatalogue(app);
        app.run();
        app.type("txtDesc", "Brake");
        app.click("cmdSearchDesc");
        app.clickCell(2, 1);
        const QStringList listed = app.gridColumn(0);

        app.type(box, text);
        app.click(box == "txtPart" ? "cmdSearchPart" : "cmdSearchDesc");

        QCOMPARE(app.onlyPrompt(), prompt);
        QCOMPARE(app.dialogs.boxes()[0].icon, Dialogs::Icon::None);
        QCOMPARE(app.gridColumn(0), listed);
        QCOMPARE(app.status(), "Brake hose");
        QCOMPARE(app.control<QLabel>("txtDRNumber")->text(), "DV200");
        QCOMPARE(app.dialogs.beeps(), 1); // the first search's only
    }

    // typed -> the DorvaneNum of the rows listed ("No Parts Found!" when none). A row naming a
    // column adds the part QX7 holding the stored text in that column.
    void found_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("vehicle");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("found");
        const QStringList qx7{"QX7"}, none,
            all{"DV100", "DV200", "DV300", "DV400", "DV500", "DV600"};
        const auto number = [](const char* name, const QString& typed, const QString& column,
                               const QString& stored, const QStringList& found) {
            QTest::newRow(name) << "txtPart" << typed << "" << column << stored << found;
        };
        const auto desc = [](const char* name, const QString& typed, const QString& vehicle,
                             const QStringList& found) {
            QTest::newRow(name) << "txtDesc" << typed << vehicle << ""
                                << "" << found;
        };
        number("supplier number", "DV10", "", "", {"DV100"});
        number("Land Rover number", "C200", "", "", {"DV200"});
        number("only in RoverSuper4", "ZZX9", "", "", {"DV200"});
        number("only in RoverSuper6", "ZZY8", "RoverSuper6", "ZZY888", qx7);
        number("alternative number", "T777", "", "", {"DV400"});
        number("any letter case", "stc1", "", "", {"DV100"});
        number("common part, in ID order", "DV*0", "", "", all);
        number("description is no number column", "Brake", "", "", none);
        number("typed without the blank", "ESR3672", "RoverNum", "ESR 3672", qx7);
        number("dash for the blank, other case", "esr-3672", "RoverNum", "ESR 3672", qx7);
        number("blank where there is none", "ESR 9626", "RoverSuper6", "ESR9626", qx7);
        number("dots and slashes", "E.S.R/9626", "AltDorvaneNum", "esr 96-26", qx7);
        number("part of a number", "SR-36", "DorvaneNum", "ESR 3672", {"ESR 3672"});
        number("found both ways, listed once", "DV 1", "RoverSuper1", "DV 100", {"DV100", "QX7"});
        number("other digits", "ESR-3673", "RoverNum", "ESR 3672", none);
        number("bare description is no number", "ESR-3672", "Description", "ESR 3672", none);
        number("wildcard: as written only", "ESR-36*", "RoverNum", "ESR3672", none);
        number("wildcard found as written", "ESR?3672", "RoverNum", "ESR 3672", qx7);
        number("blanks only, as written", "    ", "RoverNum", "AB    CD", qx7);
        number("blanks only find nothing more", "    ", "RoverNum", "ABCD", none);
        number("dashes only", "----", "RoverNum", "AB-CD", none);
        number("bare text of two characters", "A - B", "RoverNum", "XAB9", {"DV500", "QX7"});
        number("question mark is a wildcard", "DV?00", "", "", all);
        number("lone bracket is a character", "AB[1", "", "", {"DV500"});
        number("bracket then quote", "[x'y", "", "", none);
        number("percent and underscore are characters", "50%_", "", "", {"DV600"});
        number("SQL in the text", "x') OR 1=1 OR ('", "", "", none);
        number("very long", QString(32767, u'x'), "", "", none);
        desc("any vehicle", "Brake", "- any -", {"DV100", "DV200", "DV300", "DV500"});
        desc("Defender, in any application column, by ID", "Brake", "Defender",
             {"DV100", "DV200", "DV500"});
        desc("Discovery", "brake", "Discovery", {"DV200", "DV300"});
        desc("vehicle by equality, not a pattern", "Ring seal", "Defender", none);
        desc("typed vehicle used unchanged", "Ring seal", "Defender 90", {"DV400"});
        desc("typed vehicle no part has", "Brake", "Tractor", none);
        desc("apostrophe as itself", "O'Ring", "- any -", {"DV400"});
        desc("apostrophes only", "''''", "- any -", none);
        desc("four blanks pass the length rule", "    ", "- any -", {"DV300"});
        desc("star is a wildcard", "Brake*disc", "- any -", {"DV300"});
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
        ProgramDriver app;
        addCatalogue(app);
        if (!column.isEmpty())
            app.addParts({{{"ID", 7}, {"DorvaneNum", "QX7"}, {column, stored}}});
        app.run();
        app.type(box, typed);
        if (!vehicle.isEmpty())
            app.type("lstApplication", vehicle);
        app.click(box == "txtPart" ? "cmdSearchPart" : "cmdSearchDesc");

        QVERIFY(app.dialogs.boxes().isEmpty());
        QCOMPARE(app.dialogs.beeps(), 1);
        QStringList listed = app.gridColumn(0);
        if (vehicle == "- any -") // no order asked of the engine
            listed.sort();
        QCOMPARE(listed, found.isEmpty() ? QStringList{""} : found);
        if (found.isEmpty())
            QCOMPARE(app.gridColumn(2), QStringList{"No Parts Found!"});
        // The searched text is left selected (its first 30 characters) with the focus, so that
        // typing at once replaces it.
        auto* edit = app.control<QLineEdit>(box);
        QVERIFY(edit->hasFocus());
        QCOMPARE(edit->selectedText(), typed.left(30));
        QTest::keyClicks(edit, "N");
        QCOMPARE(edit->text(), "N" + typed.mid(30));
    }
};

} // namespace

QUILLON_TEST_CLASS(SearchTest)
#include "test_search.moc"
