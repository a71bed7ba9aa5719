// Dorvane Quillon: finds (or makes) the Application folder, builds the real seams, starts the main
// window on the folder and runs the event loop.
#include "app/main_window.h"
#include "app/start_up.h"
#include "platform/app_folder.h"
#include "platform/app_folder_error.h"
#include "platform/app_folder_locator.h"
#include "platform/desktop_browser.h"
#include "platform/native_name.h"
#include "platform/qt_dialogs.h"
#include "session/program_state.h"

#include <QApplication>
#include <QDebug>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <optional>
#include <stdexcept>

namespace {

// The last line of defence: every handler is entered through the main window's guard, so this
// only catches what an event outside any handler might throw. Nothing crosses the event loop.
class QuillonApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            qCritical() << "uncaught failure in an event:" << error.what();
        } catch (...) {
            qCritical() << "uncaught failure in an event";
        }
        return false;
    }
};

// "--help" and "--version" are answered on the terminal, before anything of a desktop is needed.
std::optional<int> answerOnTheTerminal(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    switch (quillon::AppFolder::question(arguments)) {
    case quillon::AppFolder::Question::Help:
        std::printf("%s\n", qPrintable(quillon::AppFolder::help()));
        return 0;
    case quillon::AppFolder::Question::Version:
        std::printf("%s %s\n", qPrintable(quillon::AppFolderLocator::folderName()),
                    QUILLON_VERSION);
        return 0;
    case quillon::AppFolder::Question::None:
        break;
    }
    return std::nullopt;
}

// A folder given by a name that doesn't read as text can't be used: said on the terminal, as a
// wrong argument is, rather than looking for a folder of another name.
bool argumentsReadAsText(int argc, char** argv) {
    const QByteArray option("--app-folder=");
    for (int i = 1; i < argc; ++i) {
        QByteArray name(argv[i]);
        if (quillon::NativeName::readsBack(name))
            continue;
        if (name.startsWith(option))
            name = name.mid(option.size());
        const QString message =
            quillon::NativeName::unhandledFolder(name, QStringLiteral("given with --app-folder"));
        std::fprintf(
            stderr, "dorvane-quillon: %s\n",
            qPrintable(QString(message).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (const auto answered = answerOnTheTerminal(argc, argv))
        return *answered;
    if (!argumentsReadAsText(argc, argv))
        return 2;
    QuillonApplication app(argc, argv);
    // The application name makes the desktop's data location <data>/dorvane-quillon and the
    // window class match the desktop entry; every window sets its own caption.
    QApplication::setApplicationName(quillon::AppFolderLocator::folderName());
    QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
    QApplication::setOrganizationName(QString());
    QGuiApplication::setDesktopFileName(quillon::AppFolderLocator::folderName());

    quillon::QtDialogs dialogs;
    std::optional<quillon::AppFolderLocator::Location> location;
    try {
        location = quillon::AppFolderLocator(quillon::AppFolderLocator::systemPlaces())
                       .locate(QApplication::arguments());
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "dorvane-quillon: %s\n%s\n", error.what(),
                     qPrintable(quillon::AppFolder::usage()));
        return 2;
    } catch (const quillon::AppFolderError& error) {
        qWarning().noquote() << "Dorvane Quillon can't start:" << error.message();
        dialogs.messageBox(error.message(), quillon::Dialogs::Buttons::Ok,
                           quillon::Dialogs::Icon::Exclamation, quillon::StartUp::failureTitle());
        return quillon::StartUp::failureExitCode;
    }

    quillon::ProgramState state;
    quillon::DesktopBrowser browser;
    bool handedOver = false;
    // The per-user folder is completed only once this run holds it.
    const auto window = quillon::StartUp::start(
        state, dialogs, browser, location->folder,
        [&location] { quillon::AppFolderLocator::complete(*location); }, &handedOver);
    if (!window)
        return handedOver ? 0 : quillon::StartUp::failureExitCode;
    window->show();
    // For the start-up benchmark: once the shown window has been laid out and painted, say so
    // and end the run.
    if (qEnvironmentVariableIsSet("QUILLON_EXIT_WHEN_READY")) {
        QTimer::singleShot(0, &app, [] {
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
