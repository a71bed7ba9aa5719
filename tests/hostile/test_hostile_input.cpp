// Hostile input: every text box of every window fed with the hostile corpus and seeded random
// strings, through the real main window and its windows. For each text: no crash, no error box
// from the engine, every stored value reads back exactly as typed, the catalogue file unchanged,
// and each search either runs (grid refilled, one beep) or is refused with a clear message.
#include "addresses/address_table.h"
#include "catalogue_fixture.h"
#include "hostile_checks.h"
#include "hostile_corpus.h"
#include "store/database.h"
#include "store/locale_formats.h"
#include "store/sql_text.h"
#include "test_registry.h"

#include <QApplication>
#include <QDialog>
#include <QStatusBar>
#include <QTest>
#include <climits>

using namespace quillon;
using namespace quillon::tests;

namespace {

// Random strings per box, besides the fixed corpus.
constexpr int randomPerBox = 12;

int characterCount(const QString& text) {
    return static_cast<int>(text.toUcs4().size());
}

QList<QStringList> gridTexts(const FlexGrid& grid) {
    QList<QStringList> rows;
    for (int row = 0; row < grid.rows(); ++row) {
        QStringList cells;
        for (int col = 0; col < grid.cols(); ++col)
            cells << grid.textMatrix(row, col);
        rows << cells;
    }
    return rows;
}

// The value of one column of every row of a table, in the engine's order.
QStringList column(Database& db, const QString& table, const QString& name) {
    QStringList values;
    Recordset rows = db.openRecordset(QStringLiteral("SELECT * FROM ") + table);
    for (; !rows.eof(); rows.moveNext()) {
        const Value& value = rows.field(name);
        values << (value.isNull() ? QStringLiteral("<null>") : value.toText());
    }
    return values;
}

// The single row of a table whose RecordName is exactly the name (compared here, in the test).
int rowsNamed(Database& db, const AddressTable& table, const QString& name) {
    return static_cast<int>(column(db, table.name(), QStringLiteral("RecordName")).count(name));
}

void activate(QWidget& window) {
    QApplication::setActiveWindow(&window);
    if (!QTest::qWaitForWindowActive(&window))
        qWarning("the window %s did not become active", qPrintable(window.objectName()));
}

} // namespace

class TestHostileInput : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void searchesFindStoredHostileValues_data();
    void searchesFindStoredHostileValues();
    void searchBoxes_data();
    void searchBoxes();
    void priceBoxes_data();
    void priceBoxes();
    void orderLineBoxes_data();
    void orderLineBoxes();
    void addressNames_data();
    void addressNames();
    void addressBoxes_data();
    void addressBoxes();
    void cleanupTestCase();

private:
    int boxes_ = 0;
};

void TestHostileInput::initTestCase() {
    qInfo("hostile input seed %u (set QUILLON_HOSTILE_SEED to repeat another), %d random "
          "strings per box besides %d fixed texts",
          HostileCorpus::seed(), randomPerBox, static_cast<int>(HostileCorpus::fixed().size()));
}

void TestHostileInput::cleanupTestCase() {
    qInfo("%d texts tried in %d boxes", HostileCorpus::tried, boxes_);
}

// Values with quotes, backslashes, wildcard characters, accents, CJK, emoji and Hebrew are found
// by typing them: the quoting carries them into the statement unchanged.
void TestHostileInput::searchesFindStoredHostileValues_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("vehicle");
    QTest::addColumn<QStringList>("found"); // DorvaneNum of the rows listed

    const QString any = QStringLiteral("- any -");
    QTest::newRow("apostrophe in a number") << "txtPart"
                                            << "O'BR" << any << QStringList{"O'BR-2002"};
    QTest::newRow("apostrophe in the Rover number") << "txtPart"
                                                    << "'NEILL" << any << QStringList{"O'BR-2002"};
    QTest::newRow("double quote") << "txtPart"
                                  << "QU\"OTE" << any << QStringList{"QU\"OTE-3003"};
    QTest::newRow("backslash") << "txtPart"
                               << "K\\SL" << any << QStringList{"BACK\\SL-4004"};
    QTest::newRow("percent and underscore are plain") << "txtPart"
                                                      << "%_50" << any << QStringList{"PCT%_5005"};
    QTest::newRow("accented, other case") << "txtPart"
                                          << "ümlaut" << any << QStringList{"ÜMLAUT-6006"};
    QTest::newRow("CJK") << "txtPart"
                         << "日本-70" << any << QStringList{"日本-7007"};
    QTest::newRow("emoji") << "txtPart"
                           << "🚗-80" << any << QStringList{"CAR🚗-8008"};
    QTest::newRow("star is a wildcard") << "txtPart"
                                        << "STAR*" << any << QStringList{"STAR*9009"};
    QTest::newRow("SQL drop finds nothing") << "txtPart"
                                            << "'; DROP TABLE orders; --" << any << QStringList{};
    QTest::newRow("apostrophe in a description") << "txtDesc"
                                                 << "Driver's" << any << QStringList{"O'BR-2002"};
    QTest::newRow("quoted description") << "txtDesc"
                                        << "\"Heavy" << any << QStringList{"QU\"OTE-3003"};
    QTest::newRow("percent in a description") << "txtDesc"
                                              << "50% off_" << any << QStringList{"PCT%_5005"};
    QTest::newRow("sharp s, other case") << "txtDesc"
                                         << "GRÖßE" << any << QStringList{"ÜMLAUT-6006"};
    QTest::newRow("Hebrew") << "txtDesc"
                            << "חלקי" << any << QStringList{"RTL-1010"};
    QTest::newRow("emoji in a description") << "txtDesc"
                                            << "🔧 se" << any << QStringList{"CAR🚗-8008"};
    QTest::newRow("vehicle with quotes") << "txtDesc"
                                         << "seal"
                                         << "Land Rover 'Series' III" << QStringList{"O'BR-2002"};
    QTest::newRow("vehicle is no pattern") << "txtDesc"
                                           << "****"
                                           << "Land Rover * III" << QStringList{};
}

void TestHostileInput::searchesFindStoredHostileValues() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, vehicle);
    QFETCH(QStringList, found);
    CatalogueFixture fx(hostileCatalogue());
    fx.start();
    if (box == u"txtPart") {
        fx.searchPart(text);
    } else {
        enterText(fx.vehicles()->lineEdit(), vehicle);
        fx.searchDesc(text, vehicle);
    }
    QCOMPARE(engineErrors(fx.dialogs), QString());
    QCOMPARE(fx.dialogs.beeps(), 1);
    if (found.isEmpty()) {
        QCOMPARE(fx.status(), QStringLiteral("No Parts Found!"));
    } else {
        QStringList listed = fx.listedNumbers();
        listed.sort();
        QCOMPARE(listed, found);
    }
    QCOMPARE(fx.box(box)->text(), text);
}

// The two search boxes and the vehicle text.
void TestHostileInput::searchBoxes_data() {
    QTest::addColumn<QString>("box");
    QTest::newRow("txtPart") << "txtPart";
    QTest::newRow("txtDesc") << "txtDesc";
    QTest::newRow("lstApplication") << "lstApplication";
}

void TestHostileInput::searchBoxes() {
    QFETCH(QString, box);
    CatalogueFixture fx(hostileCatalogue());
    const QByteArray catalogue = fileDigest(fx.folder.catalogue());
    fx.start();
    fx.searchPart(QStringLiteral("DA1001")); // something listed to start from
    const bool vehicle = box == u"lstApplication";
    QLineEdit* target = vehicle ? fx.vehicles()->lineEdit() : fx.box(box);
    if (vehicle)
        enterText(fx.box(QStringLiteral("txtDesc")), QStringLiteral("seal"));
    const QString tooShort = box == u"txtPart"
                                 ? QStringLiteral("Part number must be longer then 3 characters")
                                 : QStringLiteral("Keyword must be longer then 3 characters");

    const QList<HostileCorpus::Text> texts = HostileCorpus::forBox(box, randomPerBox);
    ++boxes_;
    HostileCorpus::tried += static_cast<int>(texts.size());
    int ran = 0;
    int refused = 0;
    for (const HostileCorpus::Text& input : texts) {
        const QString what =
            QStringLiteral("%1 with %2: %3").arg(box, input.name, shown(input.text));
        fx.dialogs.clearRecords();
        const QList<QStringList> before = gridTexts(*fx.grid());
        enterText(target, input.text);
        QVERIFY2(target->text() == input.text,
                 qPrintable(what + QStringLiteral(" was not taken as typed")));
        if (vehicle)
            fx.click(QStringLiteral("cmdSearchDesc"));
        else
            QTest::keyClick(target, Qt::Key_Return); // Enter runs the search of the box typed in

        QVERIFY2(engineErrors(fx.dialogs).isEmpty(),
                 qPrintable(what + QStringLiteral(": ") + engineErrors(fx.dialogs)));
        QCOMPARE(target->text(), input.text);
        if (!vehicle && characterCount(input.text) < 4) {
            // Refused with a clear message; nothing else changes.
            ++refused;
            QCOMPARE(fx.dialogs.boxes().size(), 1);
            QCOMPARE(fx.dialogs.boxes()[0].prompt, tooShort);
            QCOMPARE(fx.dialogs.beeps(), 0);
            QVERIFY2(gridTexts(*fx.grid()) == before, qPrintable(what));
            continue;
        }
        // Ran: the grid refilled, one beep.
        ++ran;
        QVERIFY2(fx.dialogs.boxes().isEmpty(), qPrintable(what));
        QVERIFY2(fx.dialogs.beeps() == 1, qPrintable(what));
        const int rows = fx.grid()->rows();
        QVERIFY2(rows >= 2, qPrintable(what));
        if (fx.status() == u"No Parts Found!") {
            QCOMPARE(rows, 2);
            QCOMPARE(fx.grid()->textMatrix(1, 2), QStringLiteral("No Parts Found!"));
        } else {
            QVERIFY2(fx.label(QStringLiteral("lblPartsFoundsNumber"))->isVisible(),
                     qPrintable(what));
            QCOMPARE(fx.label(QStringLiteral("lblPartsFoundsNumber"))->text(),
                     QString::number(rows - 1));
        }
    }
    qInfo("%s: %d searches ran, %d refused as too short", qPrintable(box), ran, refused);
    QCOMPARE(fx.state.userDb->integrityCheck(), QStringList());
    fx.window.reset();
    QVERIFY(fileDigest(fx.folder.catalogue()) == catalogue);
}

// The three boxes of the Customer Retail frame: a unit is stored exactly as typed; a price is
// stored as the amount it names, or refused with a message that names the box, storing nothing.
void TestHostileInput::priceBoxes_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("column");
    QTest::newRow("txtFilePrice") << "txtFilePrice"
                                  << "CustomerPrice";
    QTest::newRow("txtSellingPrice") << "txtSellingPrice"
                                     << "CustomerLRPrice";
    QTest::newRow("txtUnit") << "txtUnit"
                             << "CustomerUnitSale";
}

void TestHostileInput::priceBoxes() {
    QFETCH(QString, box);
    QFETCH(QString, column);
    CatalogueFixture fx(hostileCatalogue());
    const QByteArray catalogue = fileDigest(fx.folder.catalogue());
    fx.start();
    fx.searchPart(QStringLiteral("O'BR-2002")); // a part whose numbers hold apostrophes
    QCOMPARE(fx.state.selectedDorvaneNum, QStringLiteral("O'BR-2002"));
    const bool price = box != u"txtUnit";
    const LocaleFormats formats;
    QStringList others{"txtFilePrice", "txtSellingPrice", "txtUnit"};
    others.removeAll(box);

    const QList<HostileCorpus::Text> texts = HostileCorpus::forBox(box, randomPerBox);
    ++boxes_;
    HostileCorpus::tried += static_cast<int>(texts.size());
    int stored = 0;
    int refused = 0;
    for (const HostileCorpus::Text& input : texts) {
        const QString what =
            QStringLiteral("%1 with %2: %3").arg(box, input.name, shown(input.text));
        fx.dialogs.clearRecords();
        for (const QString& other : others)
            enterText(fx.box(other), QString());
        enterText(fx.box(box), input.text);
        QVERIFY2(fx.box(box)->text() == input.text,
                 qPrintable(what + QStringLiteral(" was not taken as typed")));
        const QStringList before = fx.customParts();
        fx.click(QStringLiteral("cmdEnterFilePrice"));
        QVERIFY2(engineErrors(fx.dialogs).isEmpty(),
                 qPrintable(what + QStringLiteral(": ") + engineErrors(fx.dialogs)));

        const auto amount = formats.parseAmount(input.text);
        if (price && !amount) {
            ++refused;
            QVERIFY2(fx.dialogs.boxes().size() == 1, qPrintable(what));
            QVERIFY2(fx.dialogs.boxes()[0].prompt.contains(u"is not an amount"), qPrintable(what));
            QCOMPARE(fx.dialogs.boxes()[0].icon, Dialogs::Icon::Exclamation);
            QVERIFY2(fx.customParts() == before, qPrintable(what));
            continue;
        }
        ++stored;
        QVERIFY2(fx.dialogs.boxes().isEmpty(), qPrintable(what));
        QVERIFY2(fx.status().startsWith(u"Custom price "),
                 qPrintable(what + QStringLiteral(": ") + fx.status()));
        Recordset record = fx.state.userDb->openRecordset(
            QStringLiteral("SELECT * FROM customParts WHERE RoverNum = '%1'")
                .arg(sqlEscape(QStringLiteral("O'NEILL-77"))));
        QVERIFY2(record.recordCount() == 1, qPrintable(what));
        QCOMPARE(record.field(u"DorvaneNum").toText(), QStringLiteral("O'BR-2002"));
        if (price) {
            QVERIFY2(record.field(column).toMoney() == *amount, qPrintable(what));
            // The box shows the amount in the Currency format, and that text is taken back as
            // the same amount.
            QCOMPARE(fx.box(box)->text(), formats.currency(*amount));
            fx.click(QStringLiteral("cmdEnterFilePrice"));
            QCOMPARE(fx.status(), QStringLiteral("Custom price updated"));
            Recordset again =
                fx.state.userDb->openRecordset(QStringLiteral("SELECT * FROM customParts"));
            QVERIFY2(again.field(column).toMoney() == *amount, qPrintable(what));
        } else {
            QVERIFY2(record.field(column).toText() == input.text, qPrintable(what));
            QVERIFY2(fx.box(box)->text() == input.text, qPrintable(what));
        }
    }
    qInfo("%s: %d stored, %d refused as no amount", qPrintable(box), stored, refused);
    QCOMPARE(fx.state.userDb->integrityCheck(), QStringList());
    fx.window.reset();
    QVERIFY(fileDigest(fx.folder.catalogue()) == catalogue);
}

// The Part Order Details dialog: the quantity is stored as the number it begins with, or refused
// with the dialog's message; the special instructions are stored exactly as typed.
void TestHostileInput::orderLineBoxes_data() {
    QTest::addColumn<QString>("box");
    QTest::newRow("txtQty") << "txtQty";
    QTest::newRow("txtComment") << "txtComment";
}

void TestHostileInput::orderLineBoxes() {
    QFETCH(QString, box);
    CatalogueFixture fx(hostileCatalogue());
    const QByteArray catalogue = fileDigest(fx.folder.catalogue());
    fx.start();
    fx.dialogs.answerNext(Dialogs::Button::Yes);
    fx.click(QStringLiteral("cmdStartOrder"));
    QVERIFY(fx.state.orderActive);
    fx.searchPart(QStringLiteral("QU\"OTE-3003")); // a "Dorvane Only" part with a quote
    const bool quantityBox = box == u"txtQty";

    const QList<HostileCorpus::Text> texts = HostileCorpus::forBox(box, randomPerBox);
    ++boxes_;
    HostileCorpus::tried += static_cast<int>(texts.size());
    int stored = 0;
    int refused = 0;
    qint64 lastQuantity = 0;
    int index = 0;
    for (const HostileCorpus::Text& input : texts) {
        const QString what =
            QStringLiteral("%1 with %2: %3").arg(box, input.name, shown(input.text));
        fx.dialogs.clearRecords();
        const bool lineExists = lastQuantity != 0;
        // Every other change of the line goes through View Parts Order and its Modify button.
        const bool viaViewOrder = lineExists && ++index % 2 == 0;
        QString viewStatus;
        if (viaViewOrder) {
            fx.dialogs.onWindow(QStringLiteral("frmViewOrder"), [&viewStatus](QDialog& window) {
                QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdModify")),
                                  Qt::LeftButton);
                viewStatus =
                    window.findChild<QLabel*>(QStringLiteral("StatusBarOrderPanel1"))->text();
                QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdOK")),
                                  Qt::LeftButton);
            });
        } else if (lineExists) {
            fx.dialogs.answerNext(Dialogs::Button::Yes); // "Part exists in order." Update?
        }
        QString refusal;
        bool takenAsTyped = true;
        fx.dialogs.onWindow(QStringLiteral("frmOrderQuantity"), [&](QDialog& dialog) {
            auto* txtQty = dialog.findChild<QLineEdit*>(QStringLiteral("txtQty"));
            auto* txtComment = dialog.findChild<QLineEdit*>(QStringLiteral("txtComment"));
            enterText(txtQty, quantityBox ? input.text : QStringLiteral("2"));
            enterText(txtComment, quantityBox ? QStringLiteral("x") : input.text);
            takenAsTyped = (quantityBox ? txtQty : txtComment)->text() == input.text;
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdOK")),
                              Qt::LeftButton);
            if (dialog.isVisible()) {
                refusal = fx.dialogs.boxes().isEmpty() ? QStringLiteral("?")
                                                       : fx.dialogs.boxes().last().prompt;
                QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdCancel")),
                                  Qt::LeftButton);
            }
        });
        fx.click(viaViewOrder ? QStringLiteral("cmdViewOrder") : QStringLiteral("cmdOrder"));
        QVERIFY2(takenAsTyped, qPrintable(what + QStringLiteral(" was not taken as typed")));
        QVERIFY2(engineErrors(fx.dialogs).isEmpty(),
                 qPrintable(what + QStringLiteral(": ") + engineErrors(fx.dialogs)));

        Recordset lines = fx.state.userDb->openRecordset(
            QStringLiteral("SELECT * FROM orderParts WHERE OrderNum = %1")
                .arg(fx.state.currentOrderNum));
        const QString number = leadingNumberText(input.text);
        bool ok = false;
        const qint64 quantity = number.toLongLong(&ok);
        const bool valid =
            !quantityBox || (ok && quantity != 0 && quantity >= INT32_MIN && quantity <= INT32_MAX);
        if (!valid) {
            ++refused;
            QVERIFY2(!refusal.isEmpty(), qPrintable(what + QStringLiteral(" was not refused")));
            QVERIFY2(refusal.contains(u"quantity"),
                     qPrintable(what + QStringLiteral(": ") + refusal));
            QCOMPARE(lines.recordCount(), lineExists ? 1 : 0);
            if (lineExists)
                QCOMPARE(lines.field(u"Quantity").toInteger(), lastQuantity);
            continue;
        }
        ++stored;
        QVERIFY2(refusal.isEmpty(), qPrintable(what + QStringLiteral(": ") + refusal));
        QCOMPARE(lines.recordCount(), 1);
        QCOMPARE(lines.field(u"DorvaneNum").toText(), QStringLiteral("QU\"OTE-3003"));
        QCOMPARE(lines.field(u"RoverNum").toText(), QStringLiteral("Dorvane Only"));
        if (quantityBox) {
            QVERIFY2(lines.field(u"Quantity").toInteger() == quantity, qPrintable(what));
            QCOMPARE(lines.field(u"Comments").toText(), QStringLiteral("x"));
        } else {
            QVERIFY2(lines.field(u"Comments").toText() == input.text, qPrintable(what));
        }
        lastQuantity = lines.field(u"Quantity").toInteger();
        if (viaViewOrder)
            QVERIFY2(viewStatus == u"Order updated",
                     qPrintable(what + QStringLiteral(": ") + viewStatus));
        else
            QVERIFY2(fx.status().startsWith(lineExists ? u"Part order updated" : u"Part added"),
                     qPrintable(what + QStringLiteral(": ") + fx.status()));
    }
    qInfo("%s: %d stored, %d refused", qPrintable(box), stored, refused);
    QCOMPARE(fx.state.userDb->integrityCheck(), QStringList());
    fx.window.reset();
    QVERIFY(fileDigest(fx.folder.catalogue()) == catalogue);
}

// The name asked for by Add New: a record of exactly that name, or a message when the name is in
// use already.
void TestHostileInput::addressNames_data() {
    QTest::addColumn<QString>("side");
    QTest::newRow("order") << "Order";
    QTest::newRow("delivery") << "Delivery";
}

void TestHostileInput::addressNames() {
    QFETCH(QString, side);
    CatalogueFixture fx(hostileCatalogue());
    const QByteArray catalogue = fileDigest(fx.folder.catalogue());
    fx.start();
    const AddressTable& table = side == u"Order" ? AddressTable::order() : AddressTable::delivery();
    const QList<HostileCorpus::Text> texts =
        HostileCorpus::forBox(QStringLiteral("name ") + side, randomPerBox);
    ++boxes_;
    HostileCorpus::tried += static_cast<int>(texts.size());
    int created = 0;
    int inUse = 0;
    fx.dialogs.onWindow(QStringLiteral("frmOptions"), [&](QDialog& window) {
        activate(window);
        auto* names = window.findChild<QComboBox*>(QStringLiteral("lst") + side);
        for (const HostileCorpus::Text& input : texts) {
            const QString what =
                QStringLiteral("%1 name %2: %3").arg(side, input.name, shown(input.text));
            fx.dialogs.clearRecords();
            const int before = static_cast<int>(
                column(*fx.state.userDb, table.name(), QStringLiteral("RecordName")).size());
            fx.dialogs.answerNextInput(input.text);
            QTest::mouseClick(
                window.findChild<QPushButton*>(QStringLiteral("cmdNew%1Address").arg(side)),
                Qt::LeftButton);
            QVERIFY2(engineErrors(fx.dialogs).isEmpty(),
                     qPrintable(what + QStringLiteral(": ") + engineErrors(fx.dialogs)));
            const int after = static_cast<int>(
                column(*fx.state.userDb, table.name(), QStringLiteral("RecordName")).size());
            if (after == before) {
                // Refused: a record of that name (in another letter case) is there already.
                ++inUse;
                QVERIFY2(fx.dialogs.boxes().size() == 1 &&
                             fx.dialogs.boxes()[0].prompt.startsWith(u"There is already"),
                         qPrintable(what));
                continue;
            }
            ++created;
            QCOMPARE(after, before + 1);
            QVERIFY2(rowsNamed(*fx.state.userDb, table, input.text) == 1, qPrintable(what));
            QVERIFY2(names->currentText() == input.text, qPrintable(what));
            QVERIFY2(names->findText(input.text, Qt::MatchFixedString | Qt::MatchCaseSensitive) >=
                         0,
                     qPrintable(what));
        }
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    fx.click(QStringLiteral("cmdOptions"));
    QCOMPARE(fx.dialogs.errors(), QStringList());
    qInfo("%s names: %d created, %d refused as in use", qPrintable(side), created, inUse);
    QVERIFY(created > 0);
    QCOMPARE(fx.state.userDb->integrityCheck(), QStringList());
    fx.window.reset();
    QVERIFY(fileDigest(fx.folder.catalogue()) == catalogue);
}

// The sixteen address boxes, each written when the focus leaves it.
void TestHostileInput::addressBoxes_data() {
    QTest::addColumn<QString>("side");
    QTest::addColumn<int>("field");
    for (const QString& side : {QStringLiteral("Order"), QStringLiteral("Delivery")}) {
        const AddressTable& table =
            side == u"Order" ? AddressTable::order() : AddressTable::delivery();
        for (int field = 0; field < AddressTable::fieldCount; ++field)
            QTest::newRow(qPrintable(table.columns()[field])) << side << field;
    }
}

void TestHostileInput::addressBoxes() {
    QFETCH(QString, side);
    QFETCH(int, field);
    CatalogueFixture fx(hostileCatalogue());
    const QByteArray catalogue = fileDigest(fx.folder.catalogue());
    fx.start();
    const AddressTable& table = side == u"Order" ? AddressTable::order() : AddressTable::delivery();
    const QString recordName = QStringLiteral("O'Hara & Sons \"Ltd\"");
    fx.state.userDb->execute(table.insertRecord(recordName));
    const QString columnName = table.columns()[field];
    const QStringList boxNames{"Name",     "Address1", "Address2", "Address3",
                               "Address4", "Address5", "Postcode", "Tel"};
    const QString boxName = QStringLiteral("txt%1%2").arg(side, boxNames[field]);

    const QList<HostileCorpus::Text> texts = HostileCorpus::forBox(boxName, randomPerBox);
    ++boxes_;
    HostileCorpus::tried += static_cast<int>(texts.size());
    fx.dialogs.onWindow(QStringLiteral("frmOptions"), [&](QDialog& window) {
        activate(window);
        auto* target = window.findChild<QLineEdit*>(boxName);
        QVERIFY(target != nullptr);
        auto* status = window.findChild<QStatusBar*>(QStringLiteral("OptionsStatusBar"));
        for (const HostileCorpus::Text& input : texts) {
            const QString what =
                QStringLiteral("%1 with %2: %3").arg(boxName, input.name, shown(input.text));
            fx.dialogs.clearRecords();
            status->clearMessage();
            target->setFocus(Qt::MouseFocusReason);
            enterText(target, input.text);
            QVERIFY2(target->text() == input.text,
                     qPrintable(what + QStringLiteral(" was not taken as typed")));
            QTest::keyClick(target, Qt::Key_Tab); // leaving the box writes the record
            QVERIFY2(engineErrors(fx.dialogs).isEmpty(),
                     qPrintable(what + QStringLiteral(": ") + engineErrors(fx.dialogs)));
            QVERIFY2(status->currentMessage() ==
                         QStringLiteral("Record \"%1\" updated").arg(recordName),
                     qPrintable(what + QStringLiteral(": ") + status->currentMessage()));
            const QStringList stored = column(*fx.state.userDb, table.name(), columnName);
            QVERIFY2(stored.size() == 1 && stored[0] == input.text,
                     qPrintable(what + QStringLiteral(" reads back as ") + shown(stored.value(0))));
            if (QTest::currentTestFailed())
                break;
        }
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    fx.click(QStringLiteral("cmdOptions"));
    QCOMPARE(fx.dialogs.errors(), QStringList());
    QCOMPARE(rowsNamed(*fx.state.userDb, table, recordName), 1);
    QCOMPARE(fx.state.userDb->integrityCheck(), QStringList());
    fx.window.reset();
    QVERIFY(fileDigest(fx.folder.catalogue()) == catalogue);
}

QUILLON_TEST_CLASS(TestHostileInput)

#include "test_hostile_input.moc"
