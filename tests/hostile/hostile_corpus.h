#pragma once

#include <QList>
#include <QString>
#include <random>

namespace quillon::tests {

// What a counter hand might type or paste into any box: a fixed corpus (quotes, backslashes,
// the stores' wildcards, SQL fragments, accented and non-Latin letters, emoji, right-to-left
// text, control characters, blanks at either end, 10,000-character texts) and seeded random
// strings built from the same kinds of characters.
class HostileCorpus final {
public:
    struct Text {
        QString name; // what it is, for the test output
        QString text;
    };

    // The seed of the random strings: QUILLON_HOSTILE_SEED when set, else a fixed one.
    static quint32 seed();

    // The fixed corpus, every text at most maxLength characters long (the long texts are left
    // out below 10,000).
    [[nodiscard]] static QList<Text> fixed(qsizetype maxLength = 10000);
    // The fixed corpus and count random strings for one box; the random strings of each box
    // differ (salt).
    [[nodiscard]] static QList<Text> forBox(const QString& salt, int count,
                                            qsizetype maxLength = 10000);
    // A random string of 1 ... maxLength characters.
    [[nodiscard]] static QString randomText(std::mt19937& random, int maxLength);

    // The number of texts tried, over all boxes of a run (for the summary).
    static int tried;
};

} // namespace quillon::tests
