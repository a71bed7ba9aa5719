#include "hostile_corpus.h"

#include <QStringList>

namespace quillon::tests {

int HostileCorpus::tried = 0;

quint32 HostileCorpus::seed() {
    bool ok = false;
    const uint given = qEnvironmentVariable("QUILLON_HOSTILE_SEED").toUInt(&ok);
    return ok ? given : 20261206u;
}

QList<HostileCorpus::Text> HostileCorpus::fixed(qsizetype maxLength) {
    const QString tenThousand = [] {
        QString text;
        const QString piece = QStringLiteral("O'Brien \"Ltd\" \\ *?#[!a-z]% _ ÄÖÜ 日本 🚗 שלום; ");
        while (text.size() < 10000)
            text += piece;
        text.truncate(10000);
        if (text.back().isHighSurrogate())
            text.back() = u'x';
        return text;
    }();
    const QList<Text> all{
        {"single quote", "O'Brien's"},
        {"lone quote", "'"},
        {"quotes only", "''''"},
        {"double quotes", "\"Quoted\" \"\""},
        {"backslashes", "C:\\parts\\new\\"},
        {"star", "****"},
        {"question marks", "????"},
        {"hashes", "####"},
        {"brackets", "[A-Z][!0-9]"},
        {"open bracket", "STC["},
        {"empty brackets", "[]x[]"},
        {"close brackets", "]]]]"},
        {"bang dash", "!-!-"},
        {"percent underscore", "%_%_"},
        {"SQL drop", "'; DROP TABLE orders; --"},
        {"SQL delete", "\"; DELETE * FROM orderParts; --"},
        {"SQL or", "' OR '1'='1"},
        {"SQL comment", "/* x */ -- y"},
        {"SQL union", "x' UNION SELECT * FROM customParts --"},
        {"accented", QStringLiteral("Größe façade Zoë Ångström")},
        {"Greek Cyrillic", QStringLiteral("Ελληνικά Кириллица")},
        {"CJK", QStringLiteral("日本語の部品番号")},
        {"emoji", QStringLiteral("🚗🔧 parts 🛠️👍🏽")},
        {"Hebrew", QStringLiteral("חלקי חילוף")},
        {"Arabic", QStringLiteral("قطع غيار 123")},
        {"direction marks", QStringLiteral("a\u202Eevil\u202C b\u200F\u200E")},
        {"tab", "tab\there"},
        {"line breaks", "one\ntwo\r\nthree\r"},
        {"control characters", QStringLiteral("bell\u0007 esc\u001b del\u007f x\u0001")},
        {"NUL character", QString::fromUtf16(u"nul\u0000here", 8)},
        {"leading blanks", "   lead"},
        {"trailing blanks", "trail   "},
        {"blanks only", "    "},
        {"one blank", " "},
        {"non-breaking blanks", QStringLiteral("\u00a0nbsp\u00a0")},
        {"amount with sign", QStringLiteral("£1,234.50")},
        {"negative", "-12.5"},
        {"huge number", "99999999999999999999999"},
        {"exponent", "1e308"},
        {"hex", "0x1F"},
        {"10000 letters", QString(10000, u'A')},
        {"10000 quotes", QString(10000, u'\'')},
        {"10000 mixed", tenThousand},
    };
    QList<Text> kept;
    for (const Text& text : all) {
        if (text.text.size() <= maxLength)
            kept.append(text);
    }
    return kept;
}

QString HostileCorpus::randomText(std::mt19937& random, int maxLength) {
    // Pieces of each kind; a piece may be more than one UTF-16 unit (emoji).
    static const QStringList pieces = [] {
        QStringList list;
        for (char c = ' '; c < 127; ++c)
            list << QString(QChar(c));
        for (const char* piece :
             {"'", "'", "\"", "\\", "*", "?", "#", "[", "]", "!", "-", "%", "_", "--", ";", "/*"})
            list << QString::fromLatin1(piece);
        list << QStringLiteral("é") << QStringLiteral("ß") << QStringLiteral("Ø")
             << QStringLiteral("ж") << QStringLiteral("Ω") << QStringLiteral("語")
             << QStringLiteral("部") << QStringLiteral("🚗") << QStringLiteral("🛠️")
             << QStringLiteral("ש") << QStringLiteral("ع") << QStringLiteral("\u202E")
             << QStringLiteral("\t") << QStringLiteral("\n") << QStringLiteral("\r")
             << QStringLiteral("\u0001") << QStringLiteral("\u001b") << QStringLiteral("\u00a0")
             << QStringLiteral("  ");
        return list;
    }();
    const int length = 1 + static_cast<int>(random() % static_cast<quint32>(maxLength));
    QString text;
    while (text.size() < length)
        text += pieces[static_cast<qsizetype>(random() % static_cast<quint32>(pieces.size()))];
    return text;
}

QList<HostileCorpus::Text> HostileCorpus::forBox(const QString& salt, int count,
                                                 qsizetype maxLength) {
    QList<Text> texts = fixed(maxLength);
    // The box's name mixed into the seed (FNV-1a), the same in every run.
    quint32 mixed = 2166136261u;
    for (const QChar c : salt)
        mixed = (mixed ^ c.unicode()) * 16777619u;
    std::mt19937 random(seed() ^ mixed);
    for (int i = 0; i < count; ++i) {
        // Mostly short, now and then a long one.
        const int length = i % 4 == 3 ? 300 : 24;
        texts.append({QStringLiteral("random %1").arg(i + 1),
                      randomText(random, static_cast<int>(qMin<qsizetype>(length, maxLength)))});
    }
    return texts;
}

} // namespace quillon::tests
