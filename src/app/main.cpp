// Dorvane Quillon: builds the real seams, starts the main window on the Application folder and
// runs the event loop.
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/start_up.h"
#include "platform/app_folder.h"
#include "platform/desktop_browser.h"
#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QDebug>
#include <cstdio>
#include <exception>
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

} // namespace

int main(int argc, char** argv) {
    QuillonApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvane Quillon"));
    QApplication::setOrganizationName(QStringLiteral("Dorvane"));

    std::unique_ptr<quillon::AppFolder> folder;
    try {
        folder = std::make_unique<quillon::AppFolder>(
            quillon::AppFolder::fromArguments(QApplication::arguments()));
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "dorvane-quillon: %s\n%s\n", error.what(),
                     qPrintable(quillon::AppFolder::usage()));
        return 2;
    }

    quillon::ProgramState state;
    quillon::QtDialogs dialogs;
    quillon::DesktopBrowser browser;
    const auto window = quillon::StartUp::start(state, dialogs, browser, *folder);
    if (!window)
        return quillon::StartUp::failureExitCode;
    window->show();
    return QApplication::exec();
}
