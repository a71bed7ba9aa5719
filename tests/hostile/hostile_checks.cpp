#include "hostile_checks.h"

#include "scripted_dialogs.h"
#include "session/handler_guard.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <algorithm>

namespace quillon::tests {

void enterText(QLineEdit* box, const QString& text) {
    const bool typeable = text.size() <= 60 && std::all_of(text.begin(), text.end(), [](QChar c) {
                              return c.unicode() >= 32 && c.unicode() < 127;
                          });
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else if (typeable)
        QTest::keyClicks(box, text);
    else
        box->insert(text);
}

QString engineErrors(const ScriptedDialogs& dialogs) {
    QStringList found = dialogs.errors();
    for (const ScriptedDialogs::Box& box : dialogs.boxes()) {
        if (box.title == HandlerGuard::errorTitle() || box.prompt.startsWith(u"Could not"))
            found << shown(box.prompt);
    }
    return found.join(QStringLiteral("; "));
}

QByteArray fileDigest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

QList<Part> hostileCatalogue() {
    return {
        {{"DorvaneNum", "DA1001"},
         {"RoverNum", "STC1001"},
         {"Description", "Brake pad set"},
         {"CustomerPrice", "12.5"},
         {"LRPrice", "15"},
         {"UnitIssue", "1"},
         {"Application1", "Defender"}},
        {{"DorvaneNum", "O'BR-2002"},
         {"RoverNum", "O'NEILL-77"},
         {"Description", "Driver's door seal"},
         {"CustomerPrice", "3"},
         {"Application1", "Land Rover 'Series' III"}},
        {{"DorvaneNum", "QU\"OTE-3003"},
         {"RoverNum", "Dorvane Only"},
         {"Description", "\"Heavy duty\" spring"}},
        {{"DorvaneNum", "BACK\\SL-4004"},
         {"RoverNum", "BS\\4004"},
         {"Description", "Back\\slash bracket"}},
        {{"DorvaneNum", "PCT%_5005"}, {"RoverNum", "P%_5005"}, {"Description", "50% off_ clip"}},
        {{"DorvaneNum", "ÜMLAUT-6006"},
         {"RoverNum", "GRÖSSE-6"},
         {"Description", "Größe Dichtung façade"}},
        {{"DorvaneNum", "日本-7007"}, {"RoverNum", "部品-7"}, {"Description", "日本語の部品"}},
        {{"DorvaneNum", "CAR🚗-8008"}, {"RoverNum", "EMOJI-8"}, {"Description", "Spanner 🔧 set"}},
        {{"DorvaneNum", "STAR*9009"},
         {"RoverNum", "Q?9009"},
         {"Description", "Wildcard [A-Z] #1 part"}},
        {{"DorvaneNum", "RTL-1010"}, {"RoverNum", "HEB-10"}, {"Description", "חלקי חילוף"}},
    };
}

QString shown(const QString& text) {
    QString short_ = text.left(60);
    short_.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
    return text.size() > 60 ? short_ + QStringLiteral("... (%1 characters)").arg(text.size())
                            : short_;
}

} // namespace quillon::tests
