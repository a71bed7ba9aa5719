#pragma once

#include "app/main_window.h"
#include "platform/app_folder.h"
#include "recording_browser.h"
#include "scripted_dialogs.h"
#include "session/program_state.h"

#include <QString>
#include <memory>

namespace quillon::tests {

// One run of the program on a folder: its own state, scripted dialogs and recording browser,
// and the real main window once started.
class ProgramRun {
public:
    // Starts as the program does; true when the window came up.
    bool start(const AppFolder& folder);
    // Starts, then shows the window and makes it the active one, as on a desktop; true when it
    // came up and became active.
    bool startShown(const AppFolder& folder);

    // A control of the started window by its objectName; null when there is none.
    template <typename T> T* find(const QString& objectName) const {
        return window ? window->findChild<T*>(objectName) : nullptr;
    }

    // The prompt of the one box shown, or a description of what was shown instead.
    [[nodiscard]] QString onlyPrompt() const;
    // The start was refused as the program refuses one: no store open, and exactly one box, the
    // start-up failure's, with the exclamation icon.
    [[nodiscard]] bool refused() const;

    ProgramState state;
    ScriptedDialogs dialogs;
    RecordingBrowser browser;
    bool handedOver = false; // the start asked the run holding the folder to show its window
    std::unique_ptr<MainWindow> window; // last: goes before the state it uses
};

} // namespace quillon::tests
