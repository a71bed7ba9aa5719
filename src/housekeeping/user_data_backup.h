#pragma once

#include <QString>

namespace quillon {

struct ProgramState;
class Dialogs;
class AppFolder;

// The backup copy of the User database (File > Backup Data) and the restore notice
// (Help > Restore User Data).
//
// The backup is a snapshot of the open User database taken through the engine's online backup
// under one read lock, so that a change another program is making at that moment (the support
// tool, say) is wholly in it or wholly out. The copy is checked, written to a temporary file
// beside the backup, checked again there, flushed to the disk, and only then put in place of
// userdatabackup.mdb. A copy that fails for any reason (another program keeping the file
// mid-change, a read-only or locked target, a full disk, a copy that is not sound) says why and
// leaves the previous backup as it was. The User database stays open throughout.
class UserDataBackup final {
public:
    // Dorvane's IT telephone number, shown in the restore notice.
    static constexpr const char* kItTelephone = "01632 960418";

    static QString backupQuestion();
    static QString backupDoneMessage();
    static QString restoreNotice();

    UserDataBackup(ProgramState& state, Dialogs& dialogs, const AppFolder& folder);

    void mnuBackup_Click();
    void mnuRestore_Click();

private:
    // Writes the snapshot of the User database over userdatabackup.mdb; false, with the reason
    // in error, when anything fails, the backup then unchanged.
    [[nodiscard]] bool writeBackup(QString* error);

    ProgramState& state_;
    Dialogs& dialogs_;
    const AppFolder& folder_;
};

} // namespace quillon
