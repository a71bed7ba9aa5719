// LIKE with the stores' wildcards and the case-insensitive text comparison, on their own and
// through the engine.
#include "store/like_matcher.h"
#include "store/sql_text.h"
#include "store/store_error.h"
#include "store/text_fold.h"
#include "store_fixture.h"
#include "test_registry.h"

using namespace quillon;
using quillon::tests::rows;

namespace {

struct LikeCase {
    const char* tag;
    const char* pattern;
    const char* text;
    bool matches;
};

const LikeCase likeCases[] = {
    {"star matches nothing", "*", "", true},
    {"plain text is whole-text", "abc", "abcd", false},
    {"letter case ignored", "abc", "ABC", true},
    {"contains", "*12*", "ERR1234", true},
    {"contains, not there", "*13*", "ERR1234", false},
    {"stars out of order", "a*b*c", "aXcYb", false},
    {"backtracking", "*a*a*a*", "aaa", true},
    {"backtracking, too few", "*a*a*a*", "aa", false},
    {"? one character", "a?c", "abc", true},
    {"? takes one non-ASCII letter", "a?c", "aéc", true},
    {"? takes a character beyond 16 bits", "?", "𝄞", true},
    {"# a digit", "LR##", "lr42", true},
    {"# not a letter", "#", "x", false},
    {"# only one digit", "a#b", "a12b", false},
    {"set", "[abc]", "B", true},
    {"range in capitals", "[A-C]x", "bX", true},
    {"range beyond ASCII", "[à-ÿ]", "É", true},
    {"negated set, in it", "[!abc]", "A", false},
    {"star in a set is no wildcard", "[*]", "a", false},
    {"? in a set", "a[?]", "a?", true},
    {"lone [ is itself", "*[12*", "x[12y", true},
    {"lone [ is not a set", "[12", "1", false},
    {"empty set matches nothing", "a[]b", "ab", true},
    {"[!] is an exclamation mark", "[!]", "!", true},
    {"% is no wildcard", "%", "abc", false},
    {"_ is no wildcard", "a_c", "abc", false},
    {"accented letter, other case", "*é*", "CAFÉ", true},
    {"Greek final sigma", "ς", "Σ", true},
    {"accent is not the plain letter", "e", "é", false},
    {"apostrophe", "*o'b*", "O'Brien", true},
};

} // namespace

class LikeTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<Database> db;

    int count(const QString& statement) { return db->openRecordset(statement).field(0).toInt32(); }

private slots:
    void initTestCase() {
        db = tests::createStore(dir, "user.mdb");
        db->execute("CREATE TABLE samples (pattern TEXT COLLATE UNOCASE, v TEXT COLLATE UNOCASE, "
                    "expected INTEGER)");
        for (const LikeCase& c : likeCases)
            db->execute(QStringLiteral("INSERT INTO samples(pattern, v, expected) SELECT '%1' AS "
                                       "p, '%2' AS v, '%3' AS e")
                            .arg(sqlEscape(QString::fromUtf8(c.pattern)),
                                 sqlEscape(QString::fromUtf8(c.text)), c.matches ? "1" : "0"));
    }

    void wildcards_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("matches");
        for (const LikeCase& c : likeCases)
            QTest::newRow(c.tag) << QString::fromUtf8(c.pattern) << QString::fromUtf8(c.text)
                                 << c.matches;
    }
    void wildcards() {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(bool, matches);
        const QByteArray p = pattern.toUtf8();
        const QByteArray t = text.toUtf8();
        QCOMPARE(LikeMatcher(std::string_view(p.constData(), std::size_t(p.size())))
                     .matches(std::string_view(t.constData(), std::size_t(t.size()))),
                 matches);
        // The same through a statement, the pattern a constant compiled once.
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM samples WHERE v = '%1' AND v LIKE '%2'")
                           .arg(sqlEscape(text), sqlEscape(pattern))) > 0,
                 matches);
    }

    void throughTheEngine() {
        // Every sample's own pattern against its own text: the compiled pattern of one row must
        // never serve the next.
        QCOMPARE(rows(*db, "SELECT pattern FROM samples WHERE (v LIKE pattern) <> (expected = 1)"),
                 QString());
        QCOMPARE(count("SELECT count(*) FROM samples WHERE v NOT LIKE '*'"), 0);
        // Null matches nothing, and NOT of it neither.
        QCOMPARE(count("SELECT count(*) FROM samples WHERE NULL LIKE '*' OR NOT (NULL LIKE '*')"),
                 0);
        QCOMPARE(count("SELECT 'a*b' LIKE 'a\\*b' ESCAPE '\\'"), 1);
        QCOMPARE(count("SELECT 'axb' LIKE 'a\\*b' ESCAPE '\\'"), 0);
        QCOMPARE(count("SELECT 'a[b' LIKE 'a![b' ESCAPE '!'"), 1);
        QVERIFY_THROWS_EXCEPTION(StoreError, count("SELECT 'a' LIKE 'a' ESCAPE 'xy'"));
        // Numbers match as their digits.
        for (int i = 0; i < 25; ++i)
            db->execute("INSERT INTO orders(orderDate) SELECT 'd' AS orderDate");
        QCOMPARE(rows(*db, "SELECT OrderNum FROM orders WHERE OrderNum LIKE '2#'"),
                 QStringLiteral("20;21;22;23;24;25"));
        // Text columns sort without regard to case.
        for (const char* name : {"cherry", "Banana", "apple", "Äpfel"})
            db->execute("INSERT INTO orderCompanyDetails(RecordName) SELECT '" +
                        QString::fromUtf8(name) + "' AS RecordName");
        QCOMPARE(rows(*db, "SELECT RecordName FROM orderCompanyDetails ORDER BY RecordName"),
                 QStringLiteral("'apple';'Banana';'cherry';'Äpfel'"));
    }

    // The comparison of = and ORDER BY: letter case aside, also beyond ASCII; malformed text
    // is no fault.
    void textComparison() {
        const char bad[] = {'a', char(0xFF), 'b', char(0xE2), char(0x82)};
        QVERIFY(LikeMatcher("a?b*").matches(std::string_view(bad, sizeof bad)));
        QCOMPARE(TextFold::compare(bad, int(sizeof bad), bad, int(sizeof bad)), 0);
        const auto order = [](const char* a, const char* b) {
            const int result = TextFold::compare(a, int(qstrlen(a)), b, int(qstrlen(b)));
            return (result > 0) - (result < 0);
        };
        const struct {
            const char* a;
            const char* b;
            int order;
        } cases[] = {{"ABC", "abc", 0},       {"ÉCOLE ØST", "école øst", 0},
                     {"apple", "Banana", -1}, {"ab", "ABC", -1},
                     {"", "a", -1},           {"e", "é", -1}};
        for (const auto& c : cases) {
            QVERIFY2(order(c.a, c.b) == c.order, c.a);
            QVERIFY2(order(c.b, c.a) == -c.order, c.a);
        }
    }
};

QUILLON_TEST_CLASS(LikeTest)

#include "test_like.moc"
