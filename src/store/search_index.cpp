#include "store/search_index.h"

#include "store/prepared_statement.h"
#include "store/store_error.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <sqlite3.h>
#include <vector>

namespace quillon {

namespace {

QString quoteName(const QString& name) {
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString prefixed(const QString& prefix, const QStringList& columns) {
    QStringList out;
    for (const QString& column : columns)
        out << prefix + quoteName(column);
    return out.join(QStringLiteral(", "));
}

// The marks a part number is written with or without.
constexpr char marks[] = {' ', '-', '.', '/'};

bool isMark(QChar c) {
    return c.unicode() < 0x80 &&
           std::find(std::begin(marks), std::end(marks), char(c.unicode())) != std::end(marks);
}

// The number of the word each character of a text is in (1, 2, ...; words are parted by blanks),
// -1 for a blank.
std::vector<int> wordNumbers(const QString& text) {
    std::vector<int> numbers(static_cast<std::size_t>(text.size()), -1);
    int word = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] == u' ')
            continue;
        if (at == 0 || text[at - 1] == u' ')
            ++word;
        numbers[static_cast<std::size_t>(at)] = word;
    }
    return numbers;
}

// The words the characters [from, from + length) touch.
std::vector<int> wordsAt(const std::vector<int>& wordNumbers, qsizetype from, qsizetype length) {
    std::vector<int> words;
    for (qsizetype at = from; at < from + length; ++at) {
        const int word = wordNumbers[static_cast<std::size_t>(at)];
        if (word > 0 && std::find(words.begin(), words.end(), word) == words.end())
            words.push_back(word);
    }
    return words;
}

void exec(sqlite3* db, const QString& sql) {
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw StoreError(QString::fromUtf8(sqlite3_errmsg(db)), sql);
}

} // namespace

QString SearchIndex::indexName(const QString& table) {
    return table + QStringLiteral("_search");
}

QString SearchIndex::termsName(const QString& table) {
    return table + QStringLiteral("_search_terms");
}

QHash<QString, qint64> SearchIndex::readTermRows(sqlite3* db, const QString& table) {
    const QString sql =
        QStringLiteral("SELECT term, rows FROM %1").arg(quoteName(termsName(table)));
    QHash<QString, qint64> rows;
    try {
        PreparedStatement terms(db, sql.toUtf8(), sql);
        while (terms.step()) {
            const auto* term = reinterpret_cast<const char*>(sqlite3_column_text(terms.get(), 0));
            rows.insert(QString::fromUtf8(term, sqlite3_column_bytes(terms.get(), 0)),
                        sqlite3_column_int64(terms.get(), 1));
        }
    } catch (const StoreError&) {
        // No terms table (a store made before it, or by something else), or one that can't be
        // read: the counts only guide the index, so the store is searched without them.
        return {};
    }
    return rows;
}

qint64 SearchIndex::highestRowid(sqlite3* db, const QString& table) {
    const QString sql = QStringLiteral("SELECT max(rowid) FROM %1").arg(quoteName(table));
    try {
        PreparedStatement highest(db, sql.toUtf8(), sql);
        return highest.step() ? sqlite3_column_int64(highest.get(), 0) : 0;
    } catch (const StoreError&) {
        return 0; // only a guide
    }
}

QString SearchIndex::bareColumnName(const QString& column) {
    return column + QStringLiteral("_bare");
}

QString SearchIndex::bareText(const QString& text) {
    QString bare = text;
    bare.removeIf([](QChar c) { return isMark(c); });
    return bare;
}

QString SearchIndex::bareSql(const QString& expression) {
    QString sql = expression;
    for (const char mark : marks)
        sql = QStringLiteral("replace(%1, '%2', '')").arg(sql, QChar::fromLatin1(mark));
    return sql;
}

void SearchIndex::create(sqlite3* db, const QString& table, const QString& rowIdColumn,
                         const QStringList& columns, const QStringList& bareColumns) {
    const QString index = quoteName(indexName(table));
    const QString source = quoteName(table);
    const QString rowId = quoteName(rowIdColumn);
    QStringList indexColumns = columns;
    for (const QString& column : bareColumns)
        indexColumns << bareColumnName(column);
    const QString names = prefixed(QString(), indexColumns);
    // The values of a row for the index: its columns, and the bare forms of its numbers where
    // they differ (a number without marks is indexed as it is already).
    const auto values = [&](const QString& prefix) {
        QStringList out;
        for (const QString& column : columns)
            out << prefix + quoteName(column);
        for (const QString& column : bareColumns) {
            const QString value = prefix + quoteName(column);
            out << QStringLiteral("nullif(%1, %2 COLLATE BINARY)").arg(bareSql(value), value);
        }
        return out.join(QStringLiteral(", "));
    };
    // Contentless: the index keeps which rows hold each trigram and nothing else: no copy of the
    // texts (they stay in the table), no positions or columns (detail=none), no sizes
    // (columnsize=0). Every query of the index is made of single trigrams.
    exec(db, QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2, content='', columnsize=0, "
                            "detail=none, tokenize='trigram')")
                 .arg(index, names));
    exec(db, QStringLiteral("INSERT INTO %1 (rowid, %2) SELECT %3, %4 FROM %5")
                 .arg(index, names, rowId, values(QString()), source));
    const QString add = QStringLiteral("INSERT INTO %1(rowid, %2) VALUES (new.%3, %4);")
                            .arg(index, names, rowId, values(QStringLiteral("new.")));
    // A contentless index forgets a row by being given the values it was given for it.
    const QString remove =
        QStringLiteral("INSERT INTO %1(%1, rowid, %2) VALUES ('delete', old.%3, %4);")
            .arg(index, names, rowId, values(QStringLiteral("old.")));
    exec(db, QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 BEGIN %3 END")
                 .arg(quoteName(indexName(table) + QStringLiteral("_insert")), source, add));
    exec(db, QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON %2 BEGIN %3 END")
                 .arg(quoteName(indexName(table) + QStringLiteral("_delete")), source, remove));
    exec(db,
         QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE ON %2 BEGIN %3 %4 END")
             .arg(quoteName(indexName(table) + QStringLiteral("_update")), source, remove, add));
    // The trigrams and their row counts, read from the index through a vocabulary table of the
    // connection's own (temporary) schema.
    const QString vocabulary =
        QStringLiteral("temp.") + quoteName(indexName(table) + QStringLiteral("_vocabulary"));
    exec(db, QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5vocab(main, %2, 'row')")
                 .arg(vocabulary, quoteName(indexName(table))));
    exec(db, QStringLiteral("CREATE TABLE %1 (term TEXT PRIMARY KEY, rows INTEGER NOT NULL) "
                            "WITHOUT ROWID")
                 .arg(quoteName(termsName(table))));
    exec(db, QStringLiteral("INSERT INTO %1 (term, rows) SELECT term, doc FROM %2")
                 .arg(quoteName(termsName(table)), vocabulary));
    exec(db, QStringLiteral("DROP TABLE %1").arg(vocabulary));
}

std::optional<QString> SearchIndex::plainInfix(const QString& pattern) {
    if (pattern.size() < 5 || pattern.front() != u'*' || pattern.back() != u'*')
        return std::nullopt;
    const QString text = pattern.mid(1, pattern.size() - 2);
    for (QChar c : text) {
        // ASCII only: the index folds letter case as the LIKE does for these (the two letters
        // beyond ASCII that fold to ASCII, the Kelvin sign and the long s, fold alike in both).
        if (c.unicode() < 0x20 || c.unicode() > 0x7E || c == u'*' || c == u'?' || c == u'#' ||
            c == u'[')
            return std::nullopt;
    }
    return text;
}

QString SearchIndex::rowsHolding(const QString& text, const QHash<QString, qint64>& termRows,
                                 qint64 tableRows) {
    const auto quoted = [](QString trigram) -> QString {
        trigram.replace(u'"', QStringLiteral("\"\""));
        return u'"' + trigram + u'"';
    };
    // The index folds letter case; the text is plain ASCII.
    const QString folded = text.toLower();
    constexpr qsizetype trigram = 3;
    std::vector<qsizetype> chosen;
    if (termRows.isEmpty() || folded.size() < trigram + 2) {
        // Trigrams one after the other, and the last one: together they cover the text.
        for (qsizetype at = 0; at + trigram <= folded.size(); at += trigram)
            chosen.push_back(at);
        if (folded.size() % trigram != 0)
            chosen.push_back(folded.size() - trigram);
    } else {
        // The rarest trigrams that don't overlap: two, and a third when it is about as rare as
        // the rarest (one much commoner costs more of the index to read than it saves). Trigrams
        // of one word often come from the same rows ("BON" and "NET" of BONNET), so the second
        // and third come from words the ones before don't touch where the text has such; a
        // text of one word takes them from that word. A trigram the index hasn't got is held by
        // no row.
        struct Counted {
            qint64 rows;
            qsizetype at;
        };
        std::vector<Counted> counted;
        for (qsizetype at = 0; at + trigram <= folded.size(); ++at)
            counted.push_back({termRows.value(folded.mid(at, trigram), 0), at});
        std::stable_sort(counted.begin(), counted.end(),
                         [](const Counted& a, const Counted& b) { return a.rows < b.rows; });
        const std::vector<int> wordAt = wordNumbers(folded);
        std::set<int> touched; // the words the chosen trigrams touch
        const auto bringsWord = [&](qsizetype at) {
            const std::vector<int> words = wordsAt(wordAt, at, trigram);
            return std::any_of(words.begin(), words.end(),
                               [&touched](int word) { return !touched.contains(word); });
        };
        const auto choose = [&](qsizetype at) {
            chosen.push_back(at);
            for (const int word : wordsAt(wordAt, at, trigram))
                touched.insert(word);
        };
        constexpr std::size_t alwaysAsked = 2;
        constexpr std::size_t mostAsked = 3;
        constexpr qint64 aboutAsRare = 3;
        for (const bool apartOnly : {true, false}) {
            if (!apartOnly && chosen.size() >= alwaysAsked)
                break;
            for (const Counted& c : counted) {
                if (chosen.size() == mostAsked ||
                    (chosen.size() >= alwaysAsked && c.rows > aboutAsRare * counted.front().rows))
                    break;
                const bool overlaps = std::any_of(chosen.begin(), chosen.end(), [&c](qsizetype at) {
                    return c.at < at + trigram && at < c.at + trigram;
                });
                if (!overlaps && (!apartOnly || chosen.empty() || bringsWord(c.at)))
                    choose(c.at);
            }
        }
        // Rare trigrams from one word, or from neighbouring words that go together ("BONNET
        // PANEL"), often come from the same rows. One more from a word none of them touches
        // sorts those rows out: reading the entries of a trigram that at most a fifth of the rows
        // hold costs less than testing the rows it rules out. Trigrams from words apart are
        // about independent already, and one more would only cost its entries.
        const bool onePhrase = !touched.empty() && *touched.rbegin() - *touched.begin() + 1 ==
                                                       static_cast<int>(touched.size());
        constexpr qint64 commonShare = 5;
        for (const Counted& c : counted) {
            if (!onePhrase || tableRows <= 0 || c.rows * commonShare > tableRows)
                break;
            const std::vector<int> words = wordsAt(wordAt, c.at, trigram);
            if (std::none_of(words.begin(), words.end(),
                             [&touched](int word) { return touched.contains(word); })) {
                chosen.push_back(c.at);
                break;
            }
        }
    }
    QStringList terms;
    for (const qsizetype at : chosen)
        terms << quoted(text.mid(at, trigram));
    return terms.join(QStringLiteral(" AND "));
}

} // namespace quillon
