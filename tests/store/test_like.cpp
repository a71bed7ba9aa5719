// LIKE with the stores' wildcards and the case-insensitive text comparison, on their own and
// through the engine.
#include "store/database.h"
#include "store/like_matcher.h"
#include "store/sql_text.h"
#include "store/store_error.h"
#include "store/text_fold.h"
#include "store_fixture.h"
#include "test_registry.h"

using quillon::Database;
using quillon::LikeMatcher;
using quillon::Recordset;
using quillon::sqlEscape;
using quillon::StoreError;
using quillon::TextFold;
using quillon::tests::render;
using quillon::tests::renderColumn;
using quillon::tests::StoreFixture;

namespace {

struct LikeCase {
    const char* tag;
    const char* pattern;
    const char* text;
    bool matches;
};

const LikeCase likeCases[] = {
    {"star matches nothing", "*", "", true},
    {"star matches anything", "*", "abc", true},
    {"empty pattern, empty text", "", "", true},
    {"empty pattern, some text", "", "a", false},
    {"plain text is whole-text", "abc", "abcd", false},
    {"letter case ignored", "abc", "ABC", true},
    {"contains", "*12*", "ERR1234", true},
    {"contains, not there", "*13*", "ERR1234", false},
    {"star at end", "ERR*", "err1234", true},
    {"star at start", "*abc", "xxabc", true},
    {"star at start, text goes on", "*abc", "abcx", false},
    {"stars in order", "a*b*c", "aXbYc", true},
    {"stars out of order", "a*b*c", "aXcYb", false},
    {"backtracking", "*a*a*a*", "aaa", true},
    {"backtracking, too few", "*a*a*a*", "aa", false},
    {"several stars in a row", "a**b", "ab", true},
    {"? one character", "a?c", "abc", true},
    {"? needs a character", "a?c", "ac", false},
    {"? takes one non-ASCII letter", "a?c", "aéc", true},
    {"? takes a character beyond 16 bits", "?", "𝄞", true},
    {"# a digit", "#", "5", true},
    {"# not a letter", "#", "x", false},
    {"# only one digit", "a#b", "a12b", false},
    {"## two digits", "LR##", "lr42", true},
    {"set", "[abc]", "B", true},
    {"set, not in it", "[abc]", "d", false},
    {"range", "[a-c]x", "Bx", true},
    {"range in capitals", "[A-C]", "b", true},
    {"range beyond ASCII", "[à-ÿ]", "É", true},
    {"reversed range", "[z-a]", "m", true},
    {"negated set", "[!abc]", "d", true},
    {"negated set, in it", "[!abc]", "A", false},
    {"negated range", "[!a-z]", "5", true},
    {"negated range, letter", "[!a-z]", "Q", false},
    {"star in a set is a star", "[*]", "*", true},
    {"star in a set is no wildcard", "[*]", "a", false},
    {"? in a set", "a[?]", "a?", true},
    {"# in a set", "[#]", "#", true},
    {"minus at the end of a set", "[a-]", "-", true},
    {"lone [ is itself", "[12", "[12", true},
    {"lone [ in a search", "*[12*", "x[12y", true},
    {"lone [ is not a set", "[12", "1", false},
    {"closing ] alone", "a]b", "a]b", true},
    {"empty set matches nothing", "a[]b", "ab", true},
    {"[!] is an exclamation mark", "[!]", "!", true},
    {"% is plain", "%", "%", true},
    {"% is no wildcard", "%", "abc", false},
    {"_ is plain", "a_c", "a_c", true},
    {"_ is no wildcard", "a_c", "abc", false},
    {"accented letter, other case", "*é*", "CAFÉ", true},
    {"o with stroke", "ø", "Ø", true},
    {"set of accented letters", "[é]", "É", true},
    {"Greek final sigma", "ς", "Σ", true},
    {"Cyrillic", "*ДВИГ*", "двигатель", true},
    {"accent is not the plain letter", "e", "é", false},
    {"apostrophe", "*o'b*", "O'Brien", true},
};

} // namespace

class LikeTest : public QObject {
    Q_OBJECT

private:
    StoreFixture fixture;
    std::unique_ptr<Database> db;

    qint64 count(const QString& statement) {
        Recordset result = db->openRecordset(statement);
        return result.field(0).toInteger();
    }

private slots:
    void initTestCase() {
        db = fixture.createUserStore();
        db->execute(QStringLiteral("CREATE TABLE samples (pattern TEXT COLLATE UNOCASE, "
                                   "v TEXT COLLATE UNOCASE, expected INTEGER)"));
        for (const LikeCase& c : likeCases) {
            db->execute(QStringLiteral("INSERT INTO samples(pattern, v, expected) SELECT '%1' AS "
                                       "p, '%2' AS v, '%3' AS e")
                            .arg(sqlEscape(QString::fromUtf8(c.pattern)),
                                 sqlEscape(QString::fromUtf8(c.text)), c.matches ? "1" : "0"));
        }
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
        const qint64 found = count(QStringLiteral("SELECT count(*) FROM samples WHERE v = '%1' "
                                                  "AND v LIKE '%2'")
                                       .arg(sqlEscape(text), sqlEscape(pattern)));
        QCOMPARE(found > 0, matches);
    }

    void patternThatChangesFromRowToRow() {
        // Every sample's own pattern against its own text: the compiled pattern of one row must
        // never be used for the next.
        Recordset wrong = db->openRecordset(QStringLiteral(
            "SELECT pattern, v FROM samples WHERE (v LIKE pattern) <> (expected = 1)"));
        QCOMPARE(render(wrong), QString());
    }

    void nullMatchesNothing() {
        db->execute(QStringLiteral("INSERT INTO samples(pattern, expected) SELECT '*' AS p, "
                                   "'0' AS e"));
        QCOMPARE(
            count(QStringLiteral("SELECT count(*) FROM samples WHERE v IS NULL AND v LIKE '*'")),
            qint64(0));
        QCOMPARE(count(QStringLiteral(
                     "SELECT count(*) FROM samples WHERE v IS NULL AND NOT (v LIKE '*')")),
                 qint64(0));
        db->execute(QStringLiteral("DELETE * FROM samples WHERE v IS NULL"));
    }

    void notLike() {
        QCOMPARE(count(QStringLiteral("SELECT count(*) FROM samples WHERE v NOT LIKE '*' ")),
                 qint64(0));
    }

    void escapeCharacter() {
        QCOMPARE(count(QStringLiteral("SELECT 'a*b' LIKE 'a\\*b' ESCAPE '\\'")), qint64(1));
        QCOMPARE(count(QStringLiteral("SELECT 'axb' LIKE 'a\\*b' ESCAPE '\\'")), qint64(0));
        QCOMPARE(count(QStringLiteral("SELECT 'a[b' LIKE 'a![b' ESCAPE '!'")), qint64(1));
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 count(QStringLiteral("SELECT 'a' LIKE 'a' ESCAPE 'xy'")));
    }

    void numbersMatchAsTheirDigits() {
        auto user = fixture.createUserStore(QStringLiteral("numbers.mdb"));
        for (int i = 0; i < 25; ++i)
            user->execute(QStringLiteral("INSERT INTO orders(orderDate) SELECT 'd' AS orderDate"));
        Recordset result = user->openRecordset(
            QStringLiteral("SELECT OrderNum FROM orders WHERE OrderNum LIKE '2#'"));
        QCOMPARE(renderColumn(result, QStringLiteral("OrderNum")),
                 QStringLiteral("20,21,22,23,24,25"));
    }

    void textComparison_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        QTest::newRow("same") << "abc"
                              << "abc" << 0;
        QTest::newRow("case only") << "ABC"
                                   << "abc" << 0;
        QTest::newRow("beyond ASCII") << "ÉCOLE ØST"
                                      << "école øst" << 0;
        QTest::newRow("letters in order") << "apple"
                                          << "Banana" << -1;
        QTest::newRow("shorter first") << "ab"
                                       << "ABC" << -1;
        QTest::newRow("longer last") << "abcd"
                                     << "ABC" << 1;
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
        QCOMPARE((result > 0) - (result < 0), order);
        const int reverse =
            TextFold::compare(y.constData(), int(y.size()), x.constData(), int(x.size()));
        QCOMPARE((reverse > 0) - (reverse < 0), -order);
    }

    void malformedTextDoesNotBreakMatching() {
        const char bytes[] = {'a', char(0xFF), 'b', char(0xE2), char(0x82)};
        const std::string_view text(bytes, sizeof bytes);
        QVERIFY(LikeMatcher("a?b*").matches(text));
        QVERIFY(LikeMatcher("*").matches(text));
        QVERIFY(!LikeMatcher("ab*").matches(text));
        QCOMPARE(TextFold::compare(bytes, int(sizeof bytes), bytes, int(sizeof bytes)), 0);
    }

    void textColumnsSortWithoutRegardToCase() {
        auto user = fixture.createUserStore(QStringLiteral("names.mdb"));
        for (const char* name : {"cherry", "Banana", "apple", "Äpfel"})
            user->execute(QStringLiteral("INSERT INTO orderCompanyDetails(RecordName) SELECT '%1' "
                                         "AS RecordName")
                              .arg(QString::fromUtf8(name)));
        Recordset sorted = user->openRecordset(
            QStringLiteral("SELECT RecordName FROM orderCompanyDetails ORDER BY RecordName"));
        QCOMPARE(renderColumn(sorted, QStringLiteral("RecordName")),
                 QStringLiteral("apple,Banana,cherry,Äpfel"));
    }
};

QUILLON_TEST_CLASS(LikeTest)

#include "test_like.moc"
