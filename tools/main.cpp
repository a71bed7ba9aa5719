// quillon-db: the command-line tool for the people who ship and support Dorvane Quillon.
#include "tool_commands.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The off-screen platform complains about a missing runtime folder of the desktop session,
// which a command-line tool has no use for; everything else goes through as usual.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths:")))
        return;
    defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    // A standard stream the tool was started without would be taken by the next file it opens,
    // which its output or its reading of "-" would then reach: hold each on /dev/null instead.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0 && errno == EBADF)
            (void)::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    }
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    // Drawing pictures needs fonts, and so a GUI application; without a display it draws
    // off screen.
    defaultHandler = qInstallMessageHandler(quietHandler);
    std::unique_ptr<QCoreApplication> app;
    if (quillon::ToolCommands::needsGui(arguments)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("quillon-db"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    quillon::ToolCommands commands(out, err);
    const int status = commands.run(arguments);
    out.flush();
    err.flush();
    return status;
}
