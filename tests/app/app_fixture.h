#pragma once

#include "program_run.h"
#include "test_app_folder.h"

namespace quillon::tests {

// A fresh Application folder and the real main window started on it with the scripted dialogs
// and the recording browser.
class AppFixture : public TestAppFolder, public ProgramRun {
public:
    // Runs the start as the program does; true when the window came up. The window is shown
    // and active.
    bool start() { return startShown(folder); }
    // Starts, failing the test when the window doesn't come up.
    MainWindow& started();
};

} // namespace quillon::tests
