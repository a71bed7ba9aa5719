#pragma once

#include "app/main_window.h"
#include "app/program_state.h"
#include "platform/app_folder.h"
#include "platform/recording_browser.h"
#include "platform/scripted_dialogs.h"

#include <QMap>
#include <QTemporaryDir>
#include <memory>

namespace quillon::tests {

// A fresh Application folder in a temporary directory, holding an empty catalogue parts.mdb and
// the empty user database template systemuserDB.dat, and the real main window started on it
// with the scripted dialogs and the recording browser.
class AppFixture {
public:
    AppFixture();

    // Runs the start as the program does; true when the window came up. The window is shown
    // and active.
    bool start();
    // Starts, failing the test when the window doesn't come up.
    MainWindow& started();

    template <typename T> T* find(const QString& objectName) const {
        return window ? window->findChild<T*>(objectName) : nullptr;
    }

    // Every file under the folder, by relative path, with a digest of its content and permissions.
    QMap<QString, QByteArray> snapshot() const;

    static void makeCatalogue(const QString& path);
    static void makeUserTemplate(const QString& path);

    QTemporaryDir dir;
    AppFolder folder;
    ProgramState state;
    ScriptedDialogs dialogs;
    RecordingBrowser browser;
    std::unique_ptr<MainWindow> window; // last: goes before the state it uses
};

} // namespace quillon::tests
