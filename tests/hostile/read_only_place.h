#pragma once

#include <QString>
#include <memory>

namespace quillon::tests {

// A folder or a file made read-only for this test process, also when it runs as root (for whom
// permission bits don't count): a folder gets a read-only bind mount of itself in a mount
// namespace of the test's own, a file the immutable flag. Without root, the permission bits do.
// Undone when the object goes.
class ReadOnlyPlace final {
public:
    enum class Kind { Folder, File };

    // Nothing when this system allows none of the means (the reason in why).
    [[nodiscard]] static std::unique_ptr<ReadOnlyPlace> make(Kind kind, const QString& path,
                                                             QString* why);
    ~ReadOnlyPlace();
    ReadOnlyPlace(const ReadOnlyPlace&) = delete;
    ReadOnlyPlace& operator=(const ReadOnlyPlace&) = delete;

    // The means used, for the test output.
    [[nodiscard]] const QString& how() const { return how_; }

private:
    enum class Means { BindMount, Immutable, Permissions };
    ReadOnlyPlace(Means means, QString path, QString how, unsigned int savedMode);

    Means means_;
    QString path_;
    QString how_;
    unsigned int savedMode_;
};

} // namespace quillon::tests
