// The searches' substring index: a catalogue with it lists exactly the rows, in the same order,
// as the same catalogue without it, for many patterns, also after the rows change; and the
// statements that can use it do.
#include "store/database.h"
#include "store/schema.h"
#include "store/search_index.h"
#include "store/sql_text.h"
#include "store/statement_translator.h"
#include "store/table_catalog.h"
#include "store/text_fold.h"
#include "store/transaction.h"
#include "store_fixture.h"
#include "test_registry.h"

#include <QRandomGenerator>

namespace quillon::tests {

namespace {

const QStringList numberColumns = {
    QStringLiteral("DorvaneNum"),  QStringLiteral("RoverNum"),    QStringLiteral("RoverSuper1"),
    QStringLiteral("RoverSuper2"), QStringLiteral("RoverSuper3"), QStringLiteral("RoverSuper4"),
    QStringLiteral("RoverSuper5"), QStringLiteral("RoverSuper6"), QStringLiteral("AltDorvaneNum")};

const QStringList vehicles = {QStringLiteral("Defender"), QStringLiteral("Series 3"),
                              QStringLiteral("Discovery")};

// Characters the texts are made of: ASCII of every kind, and letters beyond it, among them the
// two that fold to ASCII letters (the Kelvin sign and the long s) and some that look like them.
const QString alphabet = QStringLiteral("ABCDEKSabcdeks0123456789 -/.'\"%_!]*?#[") +
                         QString(QChar(0x212A)) + QString(QChar(0x017F)) + QString(QChar(0x0130)) +
                         QStringLiteral("éÉßøØ");

QString randomText(QRandomGenerator& random, int minLength, int maxLength) {
    const int length = minLength + int(random.bounded(maxLength - minLength + 1));
    QString text;
    for (int i = 0; i < length; ++i)
        text += alphabet.at(qsizetype(random.bounded(quint32(alphabet.size()))));
    return text;
}

QString literal(const QString& text) {
    return u'\'' + sqlEscape(text) + u'\'';
}

QString partNumberStatement(const QString& text) {
    QStringList conditions;
    for (const QString& column : numberColumns)
        conditions << column + QStringLiteral(" LIKE ") + literal(u'*' + text + u'*');
    return QStringLiteral("SELECT * FROM Parts WHERE (") + conditions.join(QStringLiteral(" OR ")) +
           QStringLiteral(") ORDER BY ID ASC");
}

QString descriptionStatement(const QString& text, const QString& vehicle) {
    const QString like = QStringLiteral("Description LIKE ") + literal(u'*' + text + u'*');
    if (vehicle.isEmpty())
        return QStringLiteral("SELECT * FROM Parts WHERE (") + like + u')';
    QStringList apps;
    for (int i = 1; i <= 9; ++i)
        apps << QStringLiteral("Application%1 = ").arg(i) + literal(vehicle);
    return QStringLiteral("SELECT * FROM Parts WHERE (") + like + QStringLiteral(" AND (") +
           apps.join(QStringLiteral(" OR ")) + QStringLiteral(")) ORDER BY ID ASC");
}

// The listed rows: every field of every row, in order.
QString rows(Database& db, const QString& statement) {
    Recordset result = db.openRecordset(statement);
    return render(result);
}

bool usesIndex(Database& db, const QString& statement) {
    TableCatalog catalog(db.handle());
    return StatementTranslator(catalog).translate(statement).sql.contains(QLatin1String("MATCH"));
}

} // namespace

class TestSearchIndex : public QObject {
    Q_OBJECT

private:
    StoreFixture fixture_;
    std::unique_ptr<Database> indexed_;
    std::unique_ptr<Database> scanned_;
    QStringList samples_; // texts taken from the rows

    void insertParts(Database& db, QRandomGenerator random, int count) {
        Transaction transaction(db);
        for (int i = 0; i < count; ++i) {
            QStringList columns{QStringLiteral("Description")};
            QStringList values{literal(randomText(random, 0, 30))};
            for (const QString& column : numberColumns) {
                if (random.bounded(3) == 0)
                    continue; // Null
                columns << column;
                values << literal(randomText(random, 0, 10));
            }
            columns << QStringLiteral("Application%1").arg(1 + random.bounded(9));
            values << literal(vehicles.at(qsizetype(random.bounded(3))));
            db.execute(QStringLiteral("INSERT INTO Parts (%1) VALUES (%2)")
                           .arg(columns.join(u','), values.join(u',')));
        }
        transaction.commit();
    }

    void compare(const QString& statement, bool indexable) {
        QCOMPARE(usesIndex(*indexed_, statement), indexable);
        QVERIFY(!usesIndex(*scanned_, statement));
        QCOMPARE(rows(*indexed_, statement), rows(*scanned_, statement));
    }

private slots:
    void initTestCase() {
        for (const char* name : {"indexed.mdb", "scanned.mdb"}) {
            auto db = Database::create(fixture_.path(QString::fromLatin1(name)));
            Schema::createCatalogue(*db);
            insertParts(*db, QRandomGenerator(20240601), 2000);
            if (QByteArray(name) == "indexed.mdb")
                SearchIndex::create(db->handle(), QStringLiteral("Parts"), QStringLiteral("ID"),
                                    numberColumns + QStringList{QStringLiteral("Description")});
        }
        indexed_ = Database::open(fixture_.path(QStringLiteral("indexed.mdb")),
                                  Database::Access::ReadWrite);
        scanned_ = Database::open(fixture_.path(QStringLiteral("scanned.mdb")),
                                  Database::Access::ReadWrite);
        Recordset all = scanned_->openRecordset(QStringLiteral("SELECT * FROM Parts"));
        for (; !all.eof(); all.moveNext()) {
            for (const QString& column : numberColumns + QStringList{QStringLiteral("Description")})
                if (!all.field(column).isAbsent())
                    samples_ << all.field(column).toText();
        }
    }

    void plainInfix_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text"); // "-": not indexable
        textRow("three plain", "*ab1*", "ab1");
        textRow("blanks and punctuation", "* - /.*", " - /.");
        textRow("quote marks", "*a\"b'c*", "a\"b'c");
        textRow("percent and underscore are plain", "*a%_*", "a%_");
        textRow("two characters", "*ab*", "-");
        textRow("no leading star", "abc*", "-");
        textRow("no trailing star", "*abc", "-");
        textRow("inner star", "*ab*c*", "-");
        textRow("question mark", "*ab?c*", "-");
        textRow("digit wildcard", "*ab#c*", "-");
        textRow("bracket", "*a[b]c*", "-");
        textRow("beyond ASCII", "*abé*", "-");
        QTest::newRow("Kelvin sign") << QStringLiteral("*ab") + QChar(0x212A) + u'*' << "-";
        textRow("tab", "*a\tbc*", "-");
    }

    void plainInfix() {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        const auto infix = SearchIndex::plainInfix(pattern);
        QCOMPARE(infix.value_or(QStringLiteral("-")), text);
    }

    // Every character beyond ASCII that the stores fold to an ASCII character is found by the
    // index under that ASCII character.
    void foldingAgrees() {
        int checked = 0;
        Transaction transaction(*indexed_);
        for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF)
                continue;
            const char32_t folded = TextFold::fold(c);
            if (folded >= 0x80)
                continue;
            const QString text = QStringLiteral("zq") + QString::fromUcs4(&c, 1) + u'y';
            indexed_->execute(QStringLiteral("INSERT INTO Parts (ID, Description) VALUES (%1, %2)")
                                  .arg(900000 + checked)
                                  .arg(literal(text)));
            const QString pattern = QStringLiteral("zq") + QChar(char16_t(folded)) + u'y';
            const QString statement = descriptionStatement(pattern, QString());
            QVERIFY(usesIndex(*indexed_, statement));
            QVERIFY2(rows(*indexed_, statement).contains(text), qPrintable(text));
            ++checked;
        }
        // The transaction is rolled back when it goes.
        QVERIFY(checked >= 2); // the Kelvin sign and the long s at least
    }

    // A text of more than two trigrams is asked for by its rarest trigrams that don't overlap,
    // at most three; without counts, or for a short text, by the whole text.
    void longTextsAskForTheirRarestTrigrams_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("query");
        const QString d = QStringLiteral("{Description} : ");
        QTest::newRow("short text") << QStringLiteral("PANE") << d + QStringLiteral("\"PANE\"");
        QTest::newRow("rarest first, overlapping ones passed over")
            << QStringLiteral("PANEL 88")
            << d + QStringLiteral("\"ANE\" AND ") + d + QStringLiteral("\" 88\"");
        QTest::newRow("a trigram no row holds is the rarest")
            << QStringLiteral("PANEL X")
            << d + QStringLiteral("\"L X\" AND ") + d + QStringLiteral("\"ANE\"");
        QTest::newRow("three at most")
            << QStringLiteral("ANE ANE ANE ANE")
            << QStringList(3, d + QStringLiteral("\"ANE\"")).join(QStringLiteral(" AND "));
        QTest::newRow("quotes doubled")
            << QStringLiteral("X\"Y Z\"W")
            << d + QStringLiteral("\"X\"\"Y\" AND ") + d + QStringLiteral("\" Z\"\"\"");
    }

    void longTextsAskForTheirRarestTrigrams() {
        QFETCH(QString, text);
        QFETCH(QString, query);
        const QHash<QString, qint64> rows = {
            {QStringLiteral("pan"), 10},   {QStringLiteral("ane"), 5},
            {QStringLiteral("nel"), 7},    {QStringLiteral("el "), 50},
            {QStringLiteral("l 8"), 1000}, {QStringLiteral(" 88"), 20},
            {QStringLiteral("e a"), 900},  {QStringLiteral(" an"), 900},
            {QStringLiteral("ne "), 900},
        };
        const QStringList columns{QStringLiteral("Description")};
        QCOMPARE(SearchIndex::columnsHold(columns, text, rows), query);
        // Without counts: the whole text.
        QCOMPARE(SearchIndex::columnsHold(columns, text),
                 QStringLiteral("{Description} : \"") +
                     QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"');
    }

    void sameRowsAsScan_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<bool>("indexable");
        QRandomGenerator random(77);
        for (int i = 0; i < 120; ++i) {
            const QString& sample =
                samples_.at(qsizetype(random.bounded(quint32(samples_.size()))));
            if (sample.size() < 3)
                continue;
            // Three characters up to a dozen: one trigram, and texts asked for by several.
            const int length = 3 + int(random.bounded(std::min<int>(10, int(sample.size()) - 2)));
            const int start = int(random.bounded(quint32(sample.size() - length + 1)));
            QString text = sample.mid(start, length);
            if (random.bounded(2) == 0)
                text = text.toUpper();
            const bool indexable = SearchIndex::plainInfix(u'*' + text + u'*').has_value();
            QTest::addRow("part %d %s", i, qPrintable(text))
                << partNumberStatement(text) << indexable;
            QTest::addRow("any %d %s", i, qPrintable(text))
                << descriptionStatement(text, QString()) << indexable;
            QTest::addRow("vehicle %d %s", i, qPrintable(text))
                << descriptionStatement(text, vehicles.at(i % 3)) << indexable;
        }
        QTest::newRow("kelvin") << descriptionStatement(QStringLiteral("kab"), {}) << true;
        QTest::newRow("long s") << descriptionStatement(QStringLiteral("sab"), {}) << true;
        QTest::newRow("wildcards scan") << partNumberStatement(QStringLiteral("a?1*")) << false;
        QTest::newRow("or of unindexed column")
            << QStringLiteral("SELECT * FROM Parts WHERE Description LIKE '*abc*' OR Brand LIKE "
                              "'*abc*'")
            << false;
        QTest::newRow("or binds least")
            << QStringLiteral("SELECT * FROM Parts WHERE Description LIKE '*abc*' AND ID > 5 OR "
                              "ID < 3")
            << false;
        QTest::newRow("and with other conditions")
            << QStringLiteral("SELECT * FROM Parts WHERE ID > 100 AND (DorvaneNum LIKE '*0a1*' OR "
                              "RoverNum LIKE '*KS-*') AND ID < 1500 ORDER BY ID DESC")
            << true;
        QTest::newRow("not") << QStringLiteral(
                                    "SELECT * FROM Parts WHERE NOT Description LIKE '*abc*'")
                             << false;
        QTest::newRow("not like") << QStringLiteral(
                                         "SELECT * FROM Parts WHERE Description NOT LIKE '*abc*'")
                                  << false;
        QTest::newRow("case")
            << QStringLiteral("SELECT * FROM Parts WHERE CASE WHEN ID > 3 AND Description LIKE "
                              "'*abc*' AND ID < 9 THEN 1 ELSE 1 END = 1")
            << false;
        QTest::newRow("alias") << QStringLiteral("SELECT * FROM Parts p WHERE p.Description LIKE "
                                                 "'*abc*'")
                               << false;
    }

    void sameRowsAsScan() {
        QFETCH(QString, statement);
        QFETCH(bool, indexable);
        compare(statement, indexable);
    }

    // The triggers keep the index in step with changes of the rows.
    void changesKeepIndexInStep() {
        for (Database* db : {indexed_.get(), scanned_.get()}) {
            insertParts(*db, QRandomGenerator(5), 200);
            db->execute(QStringLiteral("UPDATE Parts SET Description = 'WATER PUMP ' || ID WHERE "
                                       "ID % 7 = 0"));
            db->execute(QStringLiteral("DELETE * FROM Parts WHERE ID % 11 = 0"));
        }
        for (const QString& text : {QStringLiteral("TER PU"), QStringLiteral("ab1"),
                                    QStringLiteral("e - "), QStringLiteral("KS0")}) {
            compare(descriptionStatement(text, QString()), true);
            compare(partNumberStatement(text), true);
        }
    }
};

QUILLON_TEST_CLASS(TestSearchIndex)

} // namespace quillon::tests

#include "test_search_index.moc"
