#pragma once

#include <QString>
#include <memory>

namespace quillon::tests {

// A folder or a file made read-only for this test process, also when it runs as root (for whom
// permission bits don't count): a read-only bind mount of itself, in a mount namespace of the
// test's own. Undone when the object goes.
class ReadOnlyPlace final {
public:
    // Nothing when this system allows no such mount (the reason in why).
    [[nodiscard]] static std::unique_ptr<ReadOnlyPlace> make(const QString& path, QString* why);
    ~ReadOnlyPlace();
    ReadOnlyPlace(const ReadOnlyPlace&) = delete;
    ReadOnlyPlace& operator=(const ReadOnlyPlace&) = delete;

private:
    explicit ReadOnlyPlace(QByteArray path) : path_(std::move(path)) {}

    QByteArray path_;
};

} // namespace quillon::tests
