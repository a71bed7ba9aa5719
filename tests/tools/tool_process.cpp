#include "tool_process.h"

#include <QProcess>

namespace quillon::tests {

ToolProcess ToolProcess::run(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(QUILLON_DB_PATH), arguments);
    ToolProcess result;
    if (!process.waitForStarted(30000)) {
        result.err = process.errorString().toUtf8();
        result.crashed = true;
        return result;
    }
    process.closeWriteChannel();
    process.waitForFinished(120000);
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    result.crashed = process.exitStatus() != QProcess::NormalExit;
    result.exitCode = process.exitCode();
    return result;
}

QByteArray ToolProcess::describe() const {
    return "exit " + QByteArray::number(exitCode) + (crashed ? " (crashed)" : "") + "\nstdout:\n" +
           out + "\nstderr:\n" + err;
}

} // namespace quillon::tests
