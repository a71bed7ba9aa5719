// The sudden-death driver: starts the real main window on an Application folder, offscreen,
// with the scripted dialogs answering, and runs a seeded workload against its stores until it is
// killed. Every completed step is logged and synced to disk after it returned.
//
//   sudden-death-driver --app-folder DIR --seed N --log FILE [--steps N]
//
// Prints "ready" once the window has started. Exit codes: 0 all steps done, 2 the program could
// not start, 3 a step went wrong (the reason on stderr), 64 bad arguments.
#include "action_log.h"
#include "app/main_window.h"
#include "app/start_up.h"
#include "platform/app_folder.h"
#include "recording_browser.h"
#include "scripted_dialogs.h"
#include "session/program_state.h"
#include "sudden_death_workload.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTest>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption folderOption(QStringLiteral("app-folder"), QString(),
                                          QStringLiteral("DIR"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QString(), QStringLiteral("N"));
    const QCommandLineOption logOption(QStringLiteral("log"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption stepsOption(QStringLiteral("steps"), QString(), QStringLiteral("N"),
                                         QStringLiteral("1000000"));
    parser.addOptions({folderOption, seedOption, logOption, stepsOption});
    bool seedOk = false;
    if (!parser.parse(QApplication::arguments()) || !parser.isSet(folderOption) ||
        !parser.isSet(logOption) || (parser.value(seedOption).toUInt(&seedOk), !seedOk)) {
        std::fprintf(stderr, "usage: sudden-death-driver --app-folder DIR --seed N --log FILE "
                             "[--steps N]\n");
        return 64;
    }
    const quint32 seed = parser.value(seedOption).toUInt();

    try {
        quillon::tests::ActionLog log(parser.value(logOption));
        log.note(QStringLiteral("start seed %1").arg(seed));

        quillon::ProgramState state;
        quillon::ScriptedDialogs dialogs;
        quillon::RecordingBrowser browser;
        const quillon::AppFolder folder(parser.value(folderOption));
        const auto window = quillon::StartUp::start(state, dialogs, browser, folder);
        if (!window) {
            for (const auto& box : dialogs.boxes())
                std::fprintf(stderr, "%s\n", qPrintable(box.prompt));
            return 2;
        }
        window->show();
        QApplication::setActiveWindow(window.get());
        if (!QTest::qWaitForWindowActive(window.get())) {
            std::fprintf(stderr, "the main window did not become active\n");
            return 2;
        }
        std::fputs("ready\n", stdout);
        std::fflush(stdout);

        quillon::tests::SuddenDeathWorkload workload(*window, state, dialogs, browser, log, seed);
        workload.run(parser.value(stepsOption).toInt());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "sudden-death-driver (seed %u): %s\n", seed, error.what());
        return 3;
    }
}
