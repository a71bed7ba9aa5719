// The two searches: the length rule and its messages, the number columns (numbers written with or
// without blanks, dashes, dots and slashes), the description with the vehicle filter, the typed
// text left selected, the default button and texts that could break a statement.
#include "catalogue_fixture.h"
#include "test_registry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using quillon::Dialogs;
using quillon::ScriptedDialogs;
using quillon::tests::CatalogueFixture;
using quillon::tests::Part;

namespace {

// A part from "column=value" pairs joined by "|".
Part part(const char* pairs) {
    Part made;
    for (const QString& pair : QString::fromUtf8(pairs).split(u'|'))
        made.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    return made;
}

QList<Part> searchCatalogue() {
    return {
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
    };
}

class SearchTest : public QObject {
    Q_OBJECT

private slots:
    void refusedTextChangesNothing_data() {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("prompt");
        const auto row = [](const char* name, const QString& box, const QString& text,
                            const QString& prompt) {
            QTest::newRow(name) << box << text << prompt;
        };
        const QString tooShort = "Part number must be longer then 3 characters";
        row("empty number", "txtPart", "", "Enter a part number");
        row("three characters", "txtPart", "DV1", tooShort);
        row("three blanks", "txtPart", "   ", tooShort);
        row("empty keyword", "txtDesc", "", "Enter keyword or part of a description");
        row("three-letter keyword", "txtDesc", "Bra", "Keyword must be longer then 3 characters");
        // One character outside the Basic Multilingual Plane is one character, not two.
        row("two characters in four UTF-16 units", "txtDesc",
            QString::fromUtf8("\xF0\x9F\x94\xA7\xF0\x9F\x94\xA9"),
            "Keyword must be longer then 3 characters");
    }
    void refusedTextChangesNothing() {
        QFETCH(QString, boxName);
        QFETCH(QString, text);
        QFETCH(QString, prompt);
        CatalogueFixture app(searchCatalogue());
        app.start();
        app.searchDesc("Brake");
        app.clickCell(2, 1);
        const QStringList listed = app.listedNumbers();
        const QString status = app.status();
        QCOMPARE(app.field("txtDRNumber"), "DV200");

        app.type(boxName, text);
        app.click(boxName == "txtPart" ? "cmdSearchPart" : "cmdSearchDesc");

        QCOMPARE(app.dialogs.boxes().size(), 1);
        const ScriptedDialogs::Box& box = app.dialogs.boxes().first();
        QCOMPARE(box.prompt, prompt);
        QCOMPARE(box.title, Dialogs::applicationTitle());
        QCOMPARE(box.icon, Dialogs::Icon::None);
        QCOMPARE(box.buttons, Dialogs::Buttons::Ok);
        QCOMPARE(app.listedNumbers(), listed);
        QCOMPARE(app.status(), status);
        QCOMPARE(app.field("txtDRNumber"), "DV200");
        QCOMPARE(app.state.selectedPartId, 2);
        QVERIFY(app.state.resultsListed);
        QVERIFY(app.label("lblPartsFoundsNumber")->isVisible());
        QCOMPARE(app.label("lblPartsFoundsNumber")->text(), "4");
        QCOMPARE(app.dialogs.beeps(), 1); // the first search's only
    }

    // A part is found by any of its nine numbers, written with or without blanks, dashes, dots
    // and slashes: the rows of the statement and those of the bare numbers, each once, by ID.
    // The part QX7 holds the stored number in the column.
    void numberColumns_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("found");
        const auto row = [](const char* name, const QString& typed, const QString& column,
                            const QString& stored, const QStringList& found) {
            QTest::newRow(name) << typed << column << stored << found;
        };
        const QStringList qx7{"QX7"};
        row("supplier number", "DV10", {}, {}, {"DV100"});
        row("Land Rover number", "C200", {}, {}, {"DV200"});
        row("only in RoverSuper4", "ZZX9", {}, {}, {"DV200"});
        row("only in RoverSuper6", "ZZY8", "RoverSuper6", "ZZY888", qx7);
        row("alternative number", "T777", {}, {}, {"DV400"});
        row("any letter case", "stc1", {}, {}, {"DV100"});
        row("common part, in ID order", "DV*0", {}, {},
            {"DV100", "DV200", "DV300", "DV400", "DV500", "DV600"});
        row("description is no number column", "Brake", {}, {}, {});
        row("typed without the blank", "ESR3672", "RoverNum", "ESR 3672", qx7);
        row("dash for the blank, other case", "esr-3672", "RoverNum", "ESR 3672", qx7);
        row("blank where there is none", "ESR 9626", "RoverSuper6", "ESR9626", qx7);
        row("dots and slashes", "E.S.R/9626", "AltDorvaneNum", "esr 96-26", qx7);
        row("part of a number", "SR-36", "DorvaneNum", "ESR 3672", {"ESR 3672"});
        row("found both ways, listed once", "DV 1", "RoverSuper1", "DV 100", {"DV100", "QX7"});
        row("other digits", "ESR-3673", "RoverNum", "ESR 3672", {});
        row("bare description is no number", "ESR-3672", "Description", "ESR 3672", {});
        row("wildcard: as written only", "ESR-36*", "RoverNum", "ESR3672", {});
        row("wildcard found as written", "ESR?3672", "RoverNum", "ESR 3672", qx7);
        row("blanks only, as written", "    ", "RoverNum", "AB    CD", qx7);
        row("blanks only find nothing more", "    ", "RoverNum", "ABCD", {});
        row("dashes only", "----", "RoverNum", "AB-CD", {});
        row("bare text of two characters", "A - B", "RoverNum", "XAB9", {"DV500", "QX7"});
        row("bare text of two, not held", "A - C", "RoverNum", "XAB9", {});
    }
    void numberColumns() {
        QFETCH(QString, typed);
        QFETCH(QString, column);
        QFETCH(QString, stored);
        QFETCH(QStringList, found);
        CatalogueFixture app(searchCatalogue());
        if (!column.isEmpty()) {
            Part added = part("ID=7|DorvaneNum=QX7|Description=Seal");
            added[column] = stored;
            app.addParts({added});
        }
        app.start();
        app.searchPart(typed);
        QVERIFY(app.dialogs.boxes().isEmpty());
        if (found.isEmpty())
            QCOMPARE(app.gridColumn(2), QStringList{"No Parts Found!"});
        else
            QCOMPARE(app.listedNumbers(), found);
    }

    void vehicleFilter_data() {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("vehicle");
        QTest::addColumn<QStringList>("found");
        const auto row = [](const char* name, const QString& keyword, const QString& vehicle,
                            const QStringList& found) {
            QTest::newRow(name) << keyword << vehicle << found;
        };
        row("any vehicle", "Brake", "- any -", {"DV100", "DV200", "DV300", "DV500"});
        row("Defender, in any application column, by ID", "Brake", "Defender",
            {"DV100", "DV200", "DV500"});
        row("Discovery", "brake", "Discovery", {"DV200", "DV300"});
        row("equality, not a pattern", "Ring seal", "Defender", {});
        row("typed vehicle used unchanged", "Ring seal", "Defender 90", {"DV400"});
        row("typed vehicle no part has", "Brake", "Tractor", {});
    }
    void vehicleFilter() {
        QFETCH(QString, keyword);
        QFETCH(QString, vehicle);
        QFETCH(QStringList, found);
        CatalogueFixture app(searchCatalogue());
        app.start();
        app.searchDesc(keyword, vehicle);
        QCOMPARE(app.vehicles()->currentText(), vehicle);
        QVERIFY(app.dialogs.boxes().isEmpty());
        if (found.isEmpty()) {
            QCOMPARE(app.gridColumn(2), QStringList{"No Parts Found!"});
        } else {
            QStringList listed = app.listedNumbers();
            if (vehicle == "- any -") // no ordering asked of the engine
                listed.sort();
            QCOMPARE(listed, found);
        }
    }

    void searchTextsNeverFail_data() {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        const auto row = [](const char* name, const QString& box, const QString& text,
                            const QStringList& found) {
            QTest::newRow(name) << box << text << found;
        };
        const QStringList all{"DV100", "DV200", "DV300", "DV400", "DV500", "DV600"};
        row("apostrophe as itself", "txtDesc", "O'Ring", {"DV400"});
        row("long keyword", "txtDesc", "Brake pad set for the front axle, both sides", {});
        row("apostrophes only", "txtDesc", "''''", {});
        // Four blanks in a row pass the length rule; three are not enough.
        row("four blanks", "txtDesc", "    ", {"DV300"});
        row("star is a wildcard", "txtDesc", "Brake*disc", {"DV300"});
        row("question mark is a wildcard", "txtPart", "DV?00", all);
        row("lone bracket is a character", "txtPart", "AB[1", {"DV500"});
        row("bracket then quote", "txtPart", "[x'y", {});
        row("percent and underscore are characters", "txtPart", "50%_", {"DV600"});
        row("SQL in the text", "txtPart", "x') OR 1=1 OR ('", {});
        row("very long", "txtPart", QString(32767, u'x'), {});
        row("very long, all quotes", "txtDesc", QString(20000, u'\''), {});
        row("very long, all stars", "txtDesc", QString(5000, u'*'), all);
    }
    void searchTextsNeverFail() {
        QFETCH(QString, boxName);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        CatalogueFixture app(searchCatalogue());
        app.start();
        auto* edit = app.box(boxName);
        if (text.size() > 100) {
            edit->setText(text); // pasted
            QCOMPARE(edit->text(), text);
        } else {
            app.type(boxName, text);
        }
        app.click(boxName == "txtPart" ? "cmdSearchPart" : "cmdSearchDesc");

        QCOMPARE(app.dialogs.boxes().size(), 0);
        QCOMPARE(app.dialogs.beeps(), 1);
        if (found.isEmpty()) {
            QCOMPARE(app.gridColumn(2), QStringList{"No Parts Found!"});
        } else {
            QStringList listed = app.listedNumbers();
            listed.sort();
            QCOMPARE(listed, found);
        }
        // The searched text is left selected (its first 30 characters) with the focus, so that
        // typing at once replaces it.
        QVERIFY(edit->hasFocus());
        QCOMPARE(edit->selectionStart(), 0);
        QCOMPARE(edit->selectedText(), text.left(30));
        QTest::keyClicks(edit, "N");
        QCOMPARE(edit->text(), "N" + text.mid(30));
    }
};

} // namespace

QUILLON_TEST_CLASS(SearchTest)
#include "test_part_search.moc"
