#pragma once

#include <QString>
#include <functional>

namespace quillon {

struct ProgramState;
class Dialogs;
class AppFolder;

// The backup copy of the User database (File > Backup Data) and the restore notice
// (Help > Restore User Data).
//
// The backup closes the User database, copies user.mdb to a temporary file beside the backup,
// flushes it to the disk and only then puts it in place of userdatabackup.mdb, so that a copy
// that fails (a read-only or locked target, a full disk) leaves the previous backup as it was
// and is reported as such. The User database is opened again in every case.
class UserDataBackup final {
public:
    // Dorvane's IT telephone number, shown in the restore notice.
    static constexpr const char* kItTelephone = "01632 960418";

    static QString backupQuestion();
    static QString backupDoneMessage();
    static QString restoreNotice();

    // openUserDatabase opens the Application folder's user.mdb into state.userDb again; it may
    // throw the store's error, which reaches the caller's handler guard.
    UserDataBackup(ProgramState& state, Dialogs& dialogs, const AppFolder& folder,
                   std::function<void()> openUserDatabase);

    void mnuBackup_Click();
    void mnuRestore_Click();

    // Copies source over target through a temporary file in the target's folder, replacing the
    // target only once the copy is complete and on the disk. False, with the reason in error,
    // when anything fails; the target is then unchanged.
    [[nodiscard]] static bool copyReplacing(const QString& source, const QString& target,
                                            QString* error);

private:
    // Opens the User database again; when it can't be opened for writing any more (its folder
    // has become read-only), opens it for reading and says so, so that the program can still
    // show what it holds.
    void reopen();

    ProgramState& state_;
    Dialogs& dialogs_;
    const AppFolder& folder_;
    std::function<void()> openUserDatabase_;
};

} // namespace quillon
