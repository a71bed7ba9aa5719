// LIKE with the stores' wildcards and the case-insensitive text comparison, on their own and
// through the engine.
#include "store/like_matcher.h"
#include "store/sql_text.h"
#include "store/store_error.h"
#include "store/text_fold.h"
#include "store_fixture.h"
#include "test_registry.h"

using namespace quillon;
using namespace Qt::StringLiterals;
using tests::rows;

class LikeTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<Database> db;

    int count(const QString& statement) { return db->openRecordset(statement).field(0).toInt32(); }

private slots:
    void initTestCase() {
        db = tests::createStore(dir, u"user.mdb"_s);
        db->execute(u"CREATE TABLE samples (pattern TEXT COLLATE UNOCASE, v TEXT COLLATE UNOCASE, "
                    "expected INTEGER)"_s);
    }

    // Pattern, text, and "1" when they match.
    void wildcards_data() {
        tests::textTable(
            {"pattern", "text", "matches"},
            "*>>1|>a>0|abc>abcd>0|abc>ABC>1|*12*>ERR1234>1|*13*>ERR1234>0|*abc>abcx>0|"
            "a*b*c>aXcYb>0|*a*a*a*>aaa>1|*a*a*a*>aa>0|a?c>abc>1|a?c>ac>0|a?c>aéc>1|?>𝄞>1|"
            "LR##>lr42>1|#>x>0|a#b>a12b>0|[abc]>B>1|[abc]>d>0|[A-C]x>bX>1|[à-ÿ]>É>1|[z-a]>m>1|"
            "[!abc]>d>1|[!abc]>A>0|[*]>a>0|a[?]>a?>1|[a-]>->1|*[12*>x[12y>1|[12>1>0|a]b>a]b>1|"
            "a[]b>ab>1|[!]>!>1|%>abc>0|a_c>abc>0|*é*>CAFÉ>1|ς>Σ>1|*ДВИГ*>двигатель>1|e>é>0|"
            "*o'b*>O'Brien>1|a#>A9>1|#>0>1|[a-c]>c>1|[a-c]>d>0|[a-c]>`>0|[!a-c]>C>0|"
            "[!a-c]>d>1|[^a]>b>0|[À-Þ]>é>1|[0-9]>9>1|[c-a]>b>1");
    }
    void wildcards() {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(QString, matches);
        QCOMPARE(LikeMatcher(pattern.toStdString()).matches(text.toStdString()), matches == u"1");
        // The same through a statement, the pattern a constant compiled once.
        db->execute(u"INSERT INTO samples(pattern, v, expected) SELECT '%1' AS p, "
                    "'%2' AS v, '%3' AS e"_s.arg(sqlEscape(pattern), sqlEscape(text), matches));
        QCOMPARE(count(u"SELECT count(*) FROM samples WHERE v = '%1' AND v LIKE '%2'"_s.arg(
                     sqlEscape(text), sqlEscape(pattern))) > 0,
                 matches == u"1");
    }

    void throughTheEngine() {
        // Every sample's own pattern against its own text: the compiled pattern of one row must
        // never serve the next.
        QVERIFY(count(u"SELECT count(*) FROM samples"_s) > 30); // the samples of wildcards()
        QCOMPARE(rows(*db, "SELECT pattern FROM samples WHERE (v LIKE pattern) <> (expected = 1)"),
                 QString());
        QCOMPARE(count(u"SELECT count(*) FROM samples WHERE v NOT LIKE '*'"_s), 0);
        // Null matches nothing, and NOT of it neither.
        QCOMPARE(
            count(u"SELECT count(*) FROM samples WHERE NULL LIKE '*' OR NOT (NULL LIKE '*')"_s), 0);
        // Numbers match as their digits.
        for (int i = 0; i < 25; ++i)
            db->execute(u"INSERT INTO orders(orderDate) SELECT 'd' AS orderDate"_s);
        QCOMPARE(rows(*db, "SELECT OrderNum FROM orders WHERE OrderNum LIKE '2#'"),
                 u"20;21;22;23;24;25"_s);
        // Text is compared and sorted without regard to case, also beyond ASCII; malformed
        // text is no fault.
        for (const char* name : {"cherry", "Banana", "é", "apple", "ÉCOLE ØST", "Äpfel", "e"})
            db->execute(u"INSERT INTO orderCompanyDetails(RecordName) SELECT '" +
                        QString::fromUtf8(name) + u"' AS RecordName");
        QCOMPARE(rows(*db, "SELECT RecordName FROM orderCompanyDetails ORDER BY RecordName"),
                 u"'apple';'Banana';'cherry';'e';'Äpfel';'é';'ÉCOLE ØST'"_s);
        QCOMPARE(
            count(u"SELECT count(*) FROM orderCompanyDetails WHERE RecordName = 'école øst'"_s), 1);
        const char bad[] = {'a', char(0xFF), 'b', char(0xE2), char(0x82)};
        QVERIFY(LikeMatcher("a?b*").matches(std::string_view(bad, sizeof bad)));
        QCOMPARE(TextFold::compare(bad, int(sizeof bad), bad, int(sizeof bad)), 0);
    }
};

QUILLON_TEST_CLASS(LikeTest)

#include "test_like.moc"
