#pragma once

#include "signal_cleanup.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace quillon {

// A new file built beside its target under a temporary name and moved over the target in one
// step when it is complete, so that the target is either the old file or the whole new one,
// never something in between. A program that has the old file open keeps reading it. Destroyed
// without commit(), or stopped by SIGINT, SIGTERM or SIGHUP, it removes what it built (with any
// journal the engine left beside it).
class ReplacementFile final {
public:
    // What removeLeftovers() removed.
    struct Leftovers {
        QStringList names;
        qint64 bytes = 0;
    };

    // A target that is a symbolic link is refused with std::runtime_error naming the file it
    // points to: replacing the link would cut off whoever reads that file through it. The new
    // file takes the permissions and owner of modelPath, by default of the file it replaces.
    explicit ReplacementFile(const QString& targetPath, const QString& modelPath = {});
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // The temporary file to build; it does not exist yet.
    [[nodiscard]] const QString& buildPath() const { return buildPath_; }
    [[nodiscard]] const QString& targetPath() const { return targetPath_; }

    // Moves the finished file over the target and makes the move durable. Throws
    // std::runtime_error when it can't.
    void commit();

    // Removes from the folder the temporary files that a ReplacementFile of a process that has
    // ended (killed, or lost with the computer) left behind. Files of a process that still runs
    // and every other file are left alone.
    static Leftovers removeLeftovers(const QString& folder);

private:
    void removeBuilt() const;

    QString targetPath_;
    QString modelPath_;
    QString buildPath_;
    std::optional<SignalCleanup> cleanup_;
    bool committed_ = false;
};

} // namespace quillon
