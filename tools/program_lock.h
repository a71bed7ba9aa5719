#pragma once

#include <QString>

namespace quillon {

// The lock by which a running Dorvane Quillon holds its Application folder: the file
// quillon.lock in the folder, with an exclusive flock on it for as long as the program runs (the
// system drops it when the program ends in any way). Taking it tells whether the program runs
// on the folder, and keeps it from starting there until the lock goes with this object.
class ProgramLock final {
public:
    enum class Outcome {
        Taken,          // the program is not running on the folder, and can't start there now
        ProgramRunning, // the program holds the folder
        CantWrite,      // the lock file can't be made: the folder can't be written
    };

    explicit ProgramLock(const QString& folder);
    ~ProgramLock();
    ProgramLock(const ProgramLock&) = delete;
    ProgramLock& operator=(const ProgramLock&) = delete;

    [[nodiscard]] Outcome take();
    [[nodiscard]] const QString& path() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
};

} // namespace quillon
