#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quillon::tests {

// One run of the built quillon-db: its exit status and what it wrote.
class ToolProcess final {
public:
    // Runs quillon-db with the arguments and waits for it to end (at most two minutes).
    static ToolProcess run(const QStringList& arguments);

    int exitCode = -1;
    bool crashed = false;
    QByteArray out;
    QByteArray err;

    [[nodiscard]] QString outText() const { return QString::fromUtf8(out); }
    [[nodiscard]] QString errText() const { return QString::fromUtf8(err); }
    // Everything, for failure messages.
    [[nodiscard]] QByteArray describe() const;
};

} // namespace quillon::tests
