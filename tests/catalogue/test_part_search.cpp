// The two searches: the length rule and its messages, the statements over the number columns and
// over the description with the vehicle filter, the typed text left selected, and texts that
// could break a statement.
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

QList<Part> searchCatalogue() {
    return {
        {{"ID", "1"},
         {"DorvaneNum", "DV100"},
         {"RoverNum", "STC100"},
         {"Description", "Brake pad set"},
         {"Application1", "Defender"}},
        {{"ID", "2"},
         {"DorvaneNum", "DV200"},
         {"RoverNum", "NRC200"},
         {"RoverSuper4", "ZZX999"},
         {"Description", "Brake hose"},
         {"Application1", "Discovery"},
         {"Application2", "Defender"}},
        {{"ID", "3"},
         {"DorvaneNum", "DV300"},
         {"RoverNum", "Dorvane Only"},
         {"Description", "Brake    disc"},
         {"Application1", "Discovery"}},
        {{"ID", "4"},
         {"DorvaneNum", "DV400"},
         {"AltDorvaneNum", "ALT777"},
         {"RoverNum", "ERR400"},
         {"Description", "O'Ring seal"},
         {"Application3", "Defender 90"}},
        {{"ID", "5"},
         {"DorvaneNum", "DV500"},
         {"RoverNum", "AB[1X"},
         {"Description", "Brake light   bulb"},
         {"Application9", "Defender"}},
        {{"ID", "6"},
         {"DorvaneNum", "DV600"},
         {"RoverNum", "50%_OFF"},
         {"Description", "Sale item"}},
    };
}

class SearchTest : public QObject {
    Q_OBJECT

private slots:
    void refusedTextChangesNothing_data() {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("prompt");
        const QString number = "Part number must be longer then 3 characters";
        const QString keyword = "Keyword must be longer then 3 characters";
        QTest::newRow("empty number") << "txtPart" << QString() << "Enter a part number";
        QTest::newRow("three characters") << "txtPart" << QString("DV1") << number;
        QTest::newRow("three blanks") << "txtPart" << QString("   ") << number;
        QTest::newRow("empty keyword")
            << "txtDesc" << QString() << "Enter keyword or part of a description";
        QTest::newRow("three-letter keyword") << "txtDesc" << QString("Bra") << keyword;
        // One character outside the Basic Multilingual Plane is one character, not two.
        QTest::newRow("two characters in four UTF-16 units")
            << "txtDesc" << QString::fromUtf8("\xF0\x9F\x94\xA7\xF0\x9F\x94\xA9") << keyword;
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

    void fourBlanksPass() {
        CatalogueFixture app(searchCatalogue());
        app.start();
        app.searchDesc("    ");
        QVERIFY(app.dialogs.boxes().isEmpty());
        // Only the description with four blanks in a row; three blanks are not enough.
        QCOMPARE(app.listedNumbers(), QStringList{"DV300"});
    }

    void numberColumns_data() {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("supplier number") << "DV10" << QStringList{"DV100"};
        QTest::newRow("Land Rover number") << "C200" << QStringList{"DV200"};
        QTest::newRow("only in RoverSuper4") << "ZZX9" << QStringList{"DV200"};
        QTest::newRow("alternative number") << "T777" << QStringList{"DV400"};
        QTest::newRow("any letter case") << "stc1" << QStringList{"DV100"};
        QTest::newRow("common part, in ID order")
            << "DV*0" << QStringList{"DV100", "DV200", "DV300", "DV400", "DV500", "DV600"};
        QTest::newRow("description is no number column") << "Brake" << QStringList{};
    }
    void numberColumns() {
        QFETCH(QString, number);
        QFETCH(QStringList, found);
        CatalogueFixture app(searchCatalogue());
        app.start();
        app.searchPart(number);
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
        QTest::newRow("any vehicle")
            << "Brake"
            << "- any -" << QStringList{"DV100", "DV200", "DV300", "DV500"};
        QTest::newRow("Defender, in any application column, by ID")
            << "Brake"
            << "Defender" << QStringList{"DV100", "DV200", "DV500"};
        QTest::newRow("Discovery") << "brake"
                                   << "Discovery" << QStringList{"DV200", "DV300"};
        QTest::newRow("equality, not a pattern") << "Ring seal"
                                                 << "Defender" << QStringList{};
        QTest::newRow("typed vehicle used unchanged") << "Ring seal"
                                                      << "Defender 90" << QStringList{"DV400"};
        QTest::newRow("typed vehicle no part has") << "Brake"
                                                   << "Tractor" << QStringList{};
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
        QTest::newRow("apostrophe as itself") << "txtDesc"
                                              << "O'Ring" << QStringList{"DV400"};
        QTest::newRow("apostrophes only") << "txtDesc"
                                          << "''''" << QStringList{};
        QTest::newRow("star is a wildcard") << "txtDesc"
                                            << "Brake*disc" << QStringList{"DV300"};
        QTest::newRow("question mark is a wildcard")
            << "txtPart"
            << "DV?00" << QStringList{"DV100", "DV200", "DV300", "DV400", "DV500", "DV600"};
        QTest::newRow("lone bracket is a character") << "txtPart"
                                                     << "AB[1" << QStringList{"DV500"};
        QTest::newRow("bracket then quote") << "txtPart"
                                            << "[x'y" << QStringList{};
        QTest::newRow("percent and underscore are characters") << "txtPart"
                                                               << "50%_" << QStringList{"DV600"};
        QTest::newRow("SQL in the text") << "txtPart"
                                         << "x') OR 1=1 OR ('" << QStringList{};
        QTest::newRow("very long") << "txtPart" << QString(32767, u'x') << QStringList{};
        QTest::newRow("very long, all quotes")
            << "txtDesc" << QString(20000, u'\'') << QStringList{};
        QTest::newRow("very long, all stars")
            << "txtDesc" << QString(5000, u'*')
            << QStringList{"DV100", "DV200", "DV300", "DV400", "DV500", "DV600"};
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
    }

    void searchedTextSelectedWithFocus_data() {
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QString>("text");
        QTest::newRow("number found") << "txtPart"
                                      << "DV100";
        QTest::newRow("number not found") << "txtPart"
                                          << "QQQQ";
        QTest::newRow("keyword") << "txtDesc"
                                 << "Brake";
        QTest::newRow("long keyword: its first 30 characters")
            << "txtDesc"
            << "Brake pad set for the front axle, both sides";
    }
    void searchedTextSelectedWithFocus() {
        QFETCH(QString, boxName);
        QFETCH(QString, text);
        CatalogueFixture app(searchCatalogue());
        app.start();
        app.type(boxName, text);
        app.click(boxName == "txtPart" ? "cmdSearchPart" : "cmdSearchDesc");

        QLineEdit* edit = app.box(boxName);
        QVERIFY(edit->hasFocus());
        QCOMPARE(edit->selectionStart(), 0);
        QCOMPARE(edit->selectedText(), text.left(30));
        // Typing at once replaces the selected text.
        QTest::keyClicks(edit, "N");
        QCOMPARE(edit->text(), "N" + text.mid(30));
    }
};

} // namespace

QUILLON_TEST_CLASS(SearchTest)
#include "test_part_search.moc"
