#pragma once

#include "app/main_window.h"
#include "app/program_state.h"
#include "platform/app_folder.h"
#include "platform/recording_browser.h"
#include "platform/scripted_dialogs.h"

#include <QByteArray>
#include <QMap>
#include <QTemporaryDir>
#include <memory>

namespace quillon::tests {

// A fresh Application folder in a temporary directory: an empty catalogue parts.mdb and the
// empty user database template systemuserDB.dat, and, on request, a user.mdb holding one open
// order with a line, and its backup.
class AppFolderFixture {
public:
    AppFolderFixture();

    // Writes user.mdb with one open order (OrderNum 1, dated 01/02/2025) and one line.
    void makeUserDatabase() const;
    // Copies user.mdb to userdatabackup.mdb, as the backup does.
    void makeBackup() const;
    // Every file under the folder, by relative path, with a digest of its content and its
    // permissions.
    QMap<QString, QByteArray> snapshot() const;

    static void writeFile(const QString& path, const QByteArray& content);
    static QByteArray readFile(const QString& path);

    QTemporaryDir dir;
    AppFolder folder;
};

// One run of the program on a folder: its own state and scripted dialogs, and the real main
// window once started.
struct ProgramRun {
    ProgramState state;
    ScriptedDialogs dialogs;
    RecordingBrowser browser;
    std::unique_ptr<MainWindow> window; // last: goes before the state it uses

    // Starts as the program does; true when the window came up.
    bool start(const AppFolder& folder);
    // The prompt of the one box shown, or a description of what was shown instead.
    QString onlyPrompt() const;
    // The start was refused as the program refuses one: no store open, and exactly one box, the
    // start-up failure's, with the exclamation icon.
    bool refused() const;
};

} // namespace quillon::tests
