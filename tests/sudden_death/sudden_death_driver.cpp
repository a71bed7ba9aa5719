// The sudden-death driver: the real main window on an Application folder, offscreen, with the
// scripted dialogs answering, running a seeded workload against its stores until it is killed.
//
//   sudden-death-driver DIR SEED LOG
//
// Prints "ready" once the window has started. Exit codes: 2 the program could not start, 3 a step
// went wrong (the reason on stderr), 64 bad arguments.
#include "app/main_window.h"
#include "app/start_up.h"
#include "platform/app_folder.h"
#include "recording_browser.h"
#include "scripted_dialogs.h"
#include "session/program_state.h"
#include "sudden_death_workload.h"

#include <QApplication>
#include <QTest>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    bool seedOk = false;
    const quint32 seed = arguments.value(2).toUInt(&seedOk);
    if (arguments.size() != 4 || !seedOk) {
        std::fputs("usage: sudden-death-driver DIR SEED LOG\n", stderr);
        return 64;
    }
    quillon::ProgramState state;
    quillon::ScriptedDialogs dialogs;
    quillon::RecordingBrowser browser;
    const auto window =
        quillon::StartUp::start(state, dialogs, browser, quillon::AppFolder(arguments[1]));
    if (!window) {
        for (const auto& box : dialogs.boxes())
            std::fprintf(stderr, "%s\n", qPrintable(box.prompt));
        return 2;
    }
    window->show();
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get()))
        return 2;
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    try {
        quillon::tests::SuddenDeathWorkload(*window, state, dialogs, browser, arguments[3], seed)
            .run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "sudden-death-driver (seed %u): %s\n", seed, error.what());
        return 3;
    }
}
