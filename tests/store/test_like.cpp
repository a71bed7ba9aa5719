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
    {"empty pattern, some text", "", "a", false},
    {"plain text is whole-text", "abc", "abcd", false},
    {"letter case ignored", "abc", "ABC", true},
    {"contains", "*12*", "ERR1234", true},
    {"contains, not there", "*13*", "ERR1234", false},
    {"star at start, text goes on", "*abc", "abcx", false},
    {"stars out of order", "a*b*c", "aXcYb", false},
    {"backtracking", "*a*a*a*", "aaa", true},
    {"backtracking, too few", "*a*a*a*", "aa", false},
    {"? one character", "a?c", "abc", true},
    {"? needs a character", "a?c", "ac", false},
    {"? takes one non-ASCII letter", "a?c", "aéc", true},
    {"? takes a character beyond 16 bits", "?", "𝄞", true},
    {"# a digit", "LR##", "lr42", true},
    {"# not a letter", "#", "x", false},
    {"# only one digit", "a#b", "a12b", false},
    {"set", "[abc]", "B", true},
    {"set, not in it", "[abc]", "d", false},
    {"range in capitals", "[A-C]x", "bX", true},
    {"range beyond ASCII", "[à-ÿ]", "É", true},
    {"reversed range", "[z-a]", "m", true},
    {"negated set", "[!abc]", "d", true},
    {"negated set, in it", "[!abc]", "A", false},
    {"star in a set is no wildcard", "[*]", "a", false},
    {"? in a set", "a[?]", "a?", true},
    {"minus at the end of a set", "[a-]", "-", true},
    {"lone [ is itself", "*[12*", "x[12y", true},
    {"lone [ is not a set", "[12", "1", false},
    {"closing ] alone", "a]b", "a]b", true},
    {"empty set matches nothing", "a[]b", "ab", true},
    {"[!] is an exclamation mark", "[!]", "!", true},
    {"% is no wildcard", "%", "abc", false},
    {"_ is no wildcard", "a_c", "abc", false},
    {"accented letter, other case", "*é*", "CAFÉ", true},
    {"Greek final sigma", "ς", "Σ", true},
    {"Cyrillic", "*ДВИГ*", "двигатель", true},
    {"accent is not the plain letter", "e", "é", false},
    {"apostrophe", "*o'b*", "O'Brien", true},
};

} // namespace

class LikeTest : public QObject {
    Q_OBJECT

    tests::StoreFixture fixture;
    std::unique_ptr<Database> db;

    int count(const QString& statement) { return db->openRecordset(statement).field(0).toInt32(); }

private slots:
    void initTestCase() {
        db = fixture.createStore();
        db->execute(QStringLiteral("CREATE TABLE samples (pattern TEXT COLLATE UNOCASE, "
                                   "v TEXT COLLATE UNOCASE, expected INTEGER)"));
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
        QCOMPARE(rows(*db, QStringLiteral("SELECT pattern, v FROM samples WHERE (v LIKE pattern) "
                                          "<> (expected = 1)")),
                 QString());
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM samples WHERE v NOT LIKE '*'")), 0);
        // Null matches nothing, and NOT of it neither.
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM samples WHERE NULL LIKE '*' OR NOT "
                                      "(NULL LIKE '*')")),
                 0);
        QCOMPARE(count(QStringLiteral("SELECT 'a*b' LIKE 'a\\*b' ESCAPE '\\'")), 1);
        QCOMPARE(count(QStringLiteral("SELECT 'axb' LIKE 'a\\*b' ESCAPE '\\'")), 0);
        QCOMPARE(count(QStringLiteral("SELECT 'a[b' LIKE 'a![b' ESCAPE '!'")), 1);
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 count(QStringLiteral("SELECT 'a' LIKE 'a' ESCAPE 'xy'")));
        // Numbers match as their digits.
        for (int i = 0; i < 25; ++i)
            db->execute(QStringLiteral("INSERT INTO orders(orderDate) SELECT 'd' AS orderDate"));
        QCOMPARE(rows(*db, QStringLiteral("SELECT OrderNum FROM orders WHERE OrderNum LIKE '2#'")),
                 QStringLiteral("20;21;22;23;24;25"));
        // Text columns sort without regard to case.
        for (const char* name : {"cherry", "Banana", "apple", "Äpfel"})
            db->execute(QStringLiteral("INSERT INTO orderCompanyDetails(RecordName) SELECT '%1' "
                                       "AS RecordName")
                            .arg(QString::fromUtf8(name)));
        QCOMPARE(rows(*db, QStringLiteral("SELECT RecordName FROM orderCompanyDetails ORDER BY "
                                          "RecordName")),
                 QStringLiteral("'apple';'Banana';'cherry';'Äpfel'"));
    }

    void textComparison_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        QTest::newRow("case only") << "ABC"
                                   << "abc" << 0;
        QTest::newRow("beyond ASCII") << "ÉCOLE ØST"
                                      << "école øst" << 0;
        QTest::newRow("letters in order") << "apple"
                                          << "Banana" << -1;
        QTest::newRow("shorter first") << "ab"
                                       << "ABC" << -1;
        QTest::newRow("empty first") << ""
                                     << "a" << -1;
        QTest::newRow("accent differs") << "e"
                                        << "é" << -1;
    }
    void textComparison() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        const QByteArray x = a.toUtf8();
        const QByteArray y = b.toUtf8();
        const int result =
            TextFold::compare(x.constData(), int(x.size()), y.constData(), int(y.size()));
        const int reverse =
            TextFold::compare(y.constData(), int(y.size()), x.constData(), int(x.size()));
        QCOMPARE((result > 0) - (result < 0), order);
        QCOMPARE((reverse > 0) - (reverse < 0), -order);
    }

    void malformedTextDoesNotBreakMatching() {
        const char bytes[] = {'a', char(0xFF), 'b', char(0xE2), char(0x82)};
        const std::string_view text(bytes, sizeof bytes);
        QVERIFY(LikeMatcher("a?b*").matches(text));
        QVERIFY(!LikeMatcher("ab*").matches(text));
        QCOMPARE(TextFold::compare(bytes, int(sizeof bytes), bytes, int(sizeof bytes)), 0);
    }
};

QUILLON_TEST_CLASS(LikeTest)

#include "test_like.moc"
