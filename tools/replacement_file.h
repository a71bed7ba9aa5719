#pragma once

#include <QString>

namespace quillon {

// A new file built beside its target under a temporary name and moved over the target in one
// step when it is complete, so that the target is either the old file or the whole new one,
// never something in between. A program that has the old file open keeps reading it. Destroyed
// without commit(), it removes what it built (with any journal the engine left beside it).
class ReplacementFile final {
public:
    explicit ReplacementFile(const QString& targetPath);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // The temporary file to build; it does not exist yet.
    [[nodiscard]] const QString& buildPath() const { return buildPath_; }
    [[nodiscard]] const QString& targetPath() const { return targetPath_; }

    // Moves the finished file over the target and makes the move durable. Throws
    // std::runtime_error when it can't.
    void commit();

private:
    void removeBuilt() const;

    QString targetPath_;
    QString buildPath_;
    bool committed_ = false;
};

} // namespace quillon
