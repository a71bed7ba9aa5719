#pragma once

namespace quillon {

struct ProgramState;
class Dialogs;
class Browser;
class AppFolder;
class HandlerGuard;
class MainWindowInterface;

// What every subsystem class and secondary window is given: the program-wide state, the seams,
// the Application folder, the handler guard and the main window.
struct AppContext {
    ProgramState& state;
    Dialogs& dialogs;
    Browser& browser;
    const AppFolder& folder;
    HandlerGuard& guard;
    MainWindowInterface& window;
};

} // namespace quillon
