#pragma once

#include "store_dump.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace quillon::tests {

// The sudden-death driver's log, one line per record:
//   begin <step> <kind> <pattern>...   written before a step starts: the rows it may change
//   done <step> <kind> <change>...     written and synced to disk after the step returned: the
//                                      rows it changed, as the store held them then
// Fields are separated by tabs. A pattern is an entity ("order:7"), a prefix ending in "*"
// ("line:7:*") that stands for every entity that starts with it, or a prefix ending in "+"
// ("order:+") that stands for every entity that starts with it and is new to the store.
class ActionLog final {
public:
    struct Record {
        bool done = false;
        int step = 0;
        QString kind;
        QStringList patterns;             // begin
        QList<StoreDump::Change> changes; // done
    };

    // Opens the log for appending. Throws std::runtime_error.
    explicit ActionLog(const QString& path);
    ~ActionLog();
    ActionLog(const ActionLog&) = delete;
    ActionLog& operator=(const ActionLog&) = delete;

    void begin(int step, const QString& kind, const QStringList& patterns);
    // Returns once the line is on the disk.
    void done(int step, const QString& kind, const QList<StoreDump::Change>& changes);
    void note(const QString& text);

    // The complete lines of a log; a last line cut short by the kill is left out.
    [[nodiscard]] static QList<Record> read(const QString& path);
    // known: the entity was in the store before the step.
    [[nodiscard]] static bool matches(const QString& pattern, const QString& entity, bool known);

private:
    void write(const QString& line, bool sync);

    int fd_ = -1;
};

} // namespace quillon::tests
