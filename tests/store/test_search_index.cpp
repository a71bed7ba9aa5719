// The searches' substring index: a catalogue with it (and one with an index without the numbers'
// bare forms) lists exactly the rows, in order, of one without it, for the program's own search
// statements and many patterns with and without a loose number match, also after the rows
// change; and the engine's plan of each statement that can use the index reads it instead of
// every row of Parts.
#include "catalogue/part_search.h"
#include "catalogue/part_search_frames.h"
#include "store/prepared_statement.h"
#include "store/schema.h"
#include "store/search_index.h"
#include "store/sql_literal.h"
#include "store/sql_text.h"
#include "store/statement_translator.h"
#include "store/table_catalog.h"
#include "store/text_fold.h"
#include "store/transaction.h"
#include "store_fixture.h"
#include "test_registry.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <sqlite3.h>

namespace quillon::tests {

using namespace Qt::StringLiterals;

namespace {

const QStringList& numberColumns = PartSearch::numberColumns();
const QStringList allColumns = numberColumns + QStringList{u"Description"_s};
const QStringList vehicles = {u"Defender"_s, u"Series 3"_s, u"Discovery"_s};

// Characters the texts are made of: ASCII of every kind, and letters beyond it, among them the
// two that fold to ASCII letters (the Kelvin sign and the long s) and some that look like them.
const QString alphabet = u"ABCDEKSabcdeks0123456789 -/.'\"%_!]*?#[\u212A\u017F\u0130éÉßøØ"_s;

QString randomText(QRandomGenerator& random, int maxLength) {
    QString text;
    for (int i = int(random.bounded(maxLength + 1)); i > 0; --i)
        text += alphabet.at(qsizetype(random.bounded(quint32(alphabet.size()))));
    return text;
}

// A number's text without its blanks, dashes, dots and slashes.
QString bare(QString text) {
    return text.remove(QRegularExpression(u"[ ./-]"_s));
}

// The text with a mark put in or the marks left out, now and then in another letter case.
QString loosened(QRandomGenerator& random, const QString& text) {
    QString loose = bare(text);
    if (random.bounded(2) == 0 || loose == text)
        loose.insert(qsizetype(random.bounded(quint32(loose.size() + 1))),
                     u" -./"[random.bounded(4)]);
    return random.bounded(3) == 0 ? loose.toLower() : loose;
}

// The program's searches for a text: by part number, and by description, limited to one
// vehicle unless it is empty.
const auto partNumberSearch = &PartSearch::partNumberStatement;
QString descriptionSearch(const QString& text, const QString& vehicle) {
    return PartSearch::descriptionStatement(text, vehicle.isEmpty() ? PartSearchFrames::anyVehicle()
                                                                    : vehicle);
}

// The engine's plan of a statement as the store runs it: each step's words, parted by "; ".
QString plan(sqlite3* db, const TranslatedStatement& translated) {
    PreparedStatement explain(db, "EXPLAIN QUERY PLAN " + translated.sql.toUtf8(), translated.sql);
    for (std::size_t i = 0; i < translated.parameters.size(); ++i)
        explain.bind(int(i) + 1, translated.parameters[i]);
    QStringList steps;
    while (explain.step())
        steps << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(explain.get(), 3)));
    return steps.join(u"; ");
}

// The index serves a text of three characters or more of printable ASCII without wildcards.
bool indexable(const QString& text) {
    return text.size() >= 3 && std::ranges::all_of(text, [](QChar c) {
               return c.unicode() >= 0x20 && c.unicode() <= 0x7E && !u"*?#["_s.contains(c);
           });
}

} // namespace

class TestSearchIndex : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    std::unique_ptr<Database> indexed_;
    std::unique_ptr<Database> older_; // an index without the numbers' bare forms
    std::unique_ptr<Database> scanned_;
    QStringList samples_;                        // texts taken from the rows
    std::map<Database*, TableCatalog> catalogs_; // each store's, read once

    // Whether the engine reads the statement's rows of Parts through the index: its plan reads
    // the index and never every row of Parts.
    bool usesIndex(Database& db, const QString& statement, const LooseMatch& loose = {}) {
        TableCatalog& catalog = catalogs_.try_emplace(&db, db.handle()).first->second;
        const QString steps =
            plan(db.handle(), StatementTranslator(catalog).translate(statement, loose));
        return steps.contains(u"VIRTUAL TABLE INDEX") &&
               !QString(u"; "_s + steps + u';').contains(u"; SCAN Parts;"_s);
    }

    static QString found(Database& db, const QString& statement, const LooseMatch& loose = {}) {
        return render(db.openRecordset(statement, {}, loose));
    }

    static void insertParts(Database& db, QRandomGenerator random, int count) {
        Transaction transaction(db);
        for (int i = 0; i < count; ++i) {
            QStringList columns{u"Description"_s};
            QStringList values{SqlLiteral::text(randomText(random, 30)).sql()};
            for (const QString& column : numberColumns) {
                if (random.bounded(3) != 0) { // else Null
                    columns << column;
                    values << SqlLiteral::text(randomText(random, 10)).sql();
                }
            }
            columns << u"Application%1"_s.arg(1 + random.bounded(9));
            values << SqlLiteral::text(vehicles.at(qsizetype(random.bounded(3)))).sql();
            db.execute(u"INSERT INTO Parts (" + columns.join(u',') + u") VALUES (" +
                       values.join(u',') + u')');
        }
        transaction.commit();
    }

    void compare(const QString& statement, bool indexable, const QString& looseText = {}) {
        const LooseMatch loose{looseText, numberColumns};
        QCOMPARE(usesIndex(*indexed_, statement, loose), indexable);
        QCOMPARE(usesIndex(*older_, statement, loose), indexable && bare(looseText).isEmpty());
        QVERIFY(!usesIndex(*scanned_, statement, loose));
        const QString scan = found(*scanned_, statement, loose);
        QCOMPARE(found(*indexed_, statement, loose), scan);
        QCOMPARE(found(*older_, statement, loose), scan);
    }

private slots:
    void initTestCase() {
        int n = 0;
        for (auto* db : {&indexed_, &older_, &scanned_}) {
            const QString path = dir_.filePath(QString::number(++n));
            *db = Database::create(path);
            Schema::createCatalogue(**db);
            insertParts(**db, QRandomGenerator(20240601), 2000);
            if (db != &scanned_)
                SearchIndex::create((*db)->handle(), u"Parts"_s, u"ID"_s, allColumns,
                                    db == &indexed_ ? numberColumns : QStringList());
            *db = Database::open(path, Database::Access::ReadWrite);
        }
        for (Recordset all = scanned_->openRecordset(u"SELECT * FROM Parts"_s); !all.eof();
             all.moveNext())
            for (const QString& column : allColumns)
                if (!all.field(column).isAbsent())
                    samples_ << all.field(column).toText();
    }

    // Every character beyond ASCII that the stores fold to an ASCII character is found by the
    // index under that ASCII character.
    void foldingAgrees() {
        int checked = 0;
        Transaction transaction(*indexed_); // rolled back when it goes
        for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
            const char32_t folded = TextFold::fold(c);
            if ((c >= 0xD800 && c <= 0xDFFF) || folded >= 0x80)
                continue;
            const QString text = u"zq" + QString::fromUcs4(&c, 1) + u'y';
            indexed_->execute(
                u"INSERT INTO Parts (ID, Description) VALUES (%1, %2)"_s.arg(900000 + checked++)
                    .arg(SqlLiteral::text(text).sql()));
            const QString statement =
                descriptionSearch(u"zq"_s + QChar(char16_t(folded)) + u'y', {});
            QVERIFY(usesIndex(*indexed_, statement));
            QVERIFY2(found(*indexed_, statement).contains(text), qPrintable(text));
        }
        QVERIFY(checked >= 2); // the Kelvin sign and the long s at least
    }

    void sameRowsAsScan_data() {
        // loose: the loose number match's text
        tests::addColumns<QString, bool, QString>("statement", "indexable", "loose");
        QRandomGenerator random(77);
        for (int i = 0; i < 120; ++i) {
            const QString& sample =
                samples_.at(qsizetype(random.bounded(quint32(samples_.size()))));
            if (sample.size() < 3)
                continue;
            // Three characters up to a dozen: one trigram, and texts asked for by several.
            const int length = 3 + int(random.bounded(std::min<int>(10, int(sample.size()) - 2)));
            QString text =
                sample.mid(int(random.bounded(quint32(sample.size() - length + 1))), length);
            if (random.bounded(2) == 0)
                text = text.toUpper();
            const QString loose = loosened(random, text);
            QTest::addRow("part %d %s", i, qPrintable(text))
                << partNumberSearch(text) << indexable(text) << QString();
            QTest::addRow("loose part %d %s", i, qPrintable(loose))
                << partNumberSearch(loose)
                << (indexable(loose) && (bare(loose).isEmpty() || indexable(bare(loose)))) << loose;
            QTest::addRow("description %d %s", i, qPrintable(text))
                << descriptionSearch(text, i % 2 ? vehicles.at(i % 3) : QString())
                << indexable(text) << QString();
        }
        const auto row = [](const char* name, const QString& statement, bool indexable,
                            const QString& loose = {}) {
            QTest::newRow(name) << statement << indexable << loose;
        };
        row("kelvin", descriptionSearch(u"kab"_s, {}), true);
        row("long s", descriptionSearch(u"sab"_s, {}), true);
        row("wildcards scan", partNumberSearch(u"a?1*"_s), false);
        for (const char* text : {"ab", "ab#c", "a[b]c", "abé", "a\tbc"}) // and so do these
            row(text, descriptionSearch(QString::fromUtf8(text), {}), false);
        row("blanks, quotes, percent", descriptionSearch(u" - /.'\"%_"_s, {}), true);
        row("loose, wildcards as written", partNumberSearch(u"a-?1*"_s), false, u"a-?1*"_s);
        row("loose, bare text too short", partNumberSearch(u"a - b"_s), false, u"a - b"_s);
        row("loose, marks only", partNumberSearch(u" - /"_s), true, u" - /"_s);
        // Conditions the index can't answer: an OR beside another column, NOT, CASE, an alias.
        for (const char* where :
             {"Description LIKE '*abc*' OR Brand LIKE '*abc*'",
              "Description LIKE '*abc*' AND ID > 5 OR ID < 3", "NOT Description LIKE '*abc*'",
              "Description NOT LIKE '*abc*'",
              "CASE WHEN ID > 3 AND Description LIKE '*abc*' AND ID < 9 THEN 1 ELSE 1 END = 1"})
            row(where, u"SELECT * FROM Parts WHERE " + QString::fromUtf8(where), false);
        row("alias", u"SELECT * FROM Parts p WHERE p.Description LIKE '*abc*'"_s, false);
        // The program's own searches, as PartSearch writes them and runs them (a number with
        // its loose match): served by the index, or scanning where it can't serve them.
        row("part number", partNumberSearch(u"KS0a"_s), true, u"KS0a"_s);
        row("part number, loose", partNumberSearch(u"nrc 14"_s), true, u"nrc 14"_s);
        row("part number, quote", partNumberSearch(u"O'B-1"_s), true, u"O'B-1"_s);
        row("description, any vehicle", descriptionSearch(u"pump"_s, {}), true);
        row("description, one vehicle", descriptionSearch(u"TER PU"_s, u"Series 3"_s), true);
        row("part number with wildcards", partNumberSearch(u"a?1*"_s), false, u"a?1*"_s);
        row("description beyond ASCII", descriptionSearch(u"pümp"_s, {}), false);
        row("one vehicle, wildcards", descriptionSearch(u"ab#c"_s, u"Defender"_s), false);
        row("and with other conditions",
            u"SELECT * FROM Parts WHERE ID > 100 AND (DorvaneNum LIKE '*0a1*' OR RoverNum LIKE "
            "'*KS-*') AND ID < 1500 ORDER BY ID DESC"_s,
            true, u"0-A1"_s);
    }
    void sameRowsAsScan() {
        QFETCH(QString, statement);
        QFETCH(bool, indexable);
        QFETCH(QString, loose);
        compare(statement, indexable, loose);
    }

    // The triggers keep the index in step with changes of the rows.
    void changesKeepIndexInStep() {
        for (Database* db : {indexed_.get(), older_.get(), scanned_.get()}) {
            insertParts(*db, QRandomGenerator(5), 200);
            db->execute(u"UPDATE Parts SET Description = 'WATER PUMP ' || ID, RoverSuper2 = 'NRC-' "
                        "|| ID WHERE ID % 7 = 0"_s);
            db->execute(u"DELETE * FROM Parts WHERE ID % 11 = 0"_s);
        }
        for (const QString& text : {u"TER PU"_s, u"ab1"_s, u"e - "_s, u"KS0"_s}) {
            compare(descriptionSearch(text, {}), true);
            compare(partNumberSearch(text), true);
        }
        compare(partNumberSearch(u"nrc 14"_s), true, u"nrc 14"_s);
    }
};

QUILLON_TEST_CLASS(TestSearchIndex)

} // namespace quillon::tests

#include "test_search_index.moc"
