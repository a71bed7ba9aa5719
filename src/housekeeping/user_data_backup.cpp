#include "housekeeping/user_data_backup.h"

#include "platform/app_folder.h"
#include "platform/dialogs.h"
#include "platform/safe_file_writer.h"
#include "session/program_state.h"
#include "store/database.h"
#include "store/shown_path.h"
#include "store/store_error.h"
#include "store/store_snapshot.h"

#include <QDir>
#include <memory>

namespace quillon {

namespace {

const QString crlf = QStringLiteral("\r\n");

} // namespace

QString UserDataBackup::backupQuestion() {
    return QStringLiteral("Do you wish to backup your user data file?") + crlf + crlf +
           QStringLiteral("Your data will be copied to the file userdatabackup.mdb.");
}

QString UserDataBackup::backupDoneMessage() {
    return QStringLiteral("User data file copied to userdatabackup.mdb");
}

QString UserDataBackup::restoreNotice() {
    return QStringLiteral("Please contact the IT Manager at Dorvane PLC (") +
           QLatin1String(kItTelephone) + QStringLiteral(")") + crlf +
           QStringLiteral("if you wish to restore a previous backup of your user data file.");
}

UserDataBackup::UserDataBackup(ProgramState& state, Dialogs& dialogs, const AppFolder& folder)
    : state_(state), dialogs_(dialogs), folder_(folder) {}

void UserDataBackup::mnuBackup_Click() {
    if (dialogs_.messageBox(backupQuestion(), Dialogs::Buttons::YesNo, Dialogs::Icon::Question) !=
        Dialogs::Button::Yes)
        return;
    QString error;
    if (writeBackup(&error)) {
        dialogs_.messageBox(backupDoneMessage());
        return;
    }
    dialogs_.messageBox(
        QStringLiteral("User data file NOT copied to userdatabackup.mdb") + crlf + crlf + error +
            crlf + crlf + QStringLiteral("Any earlier backup in userdatabackup.mdb is unchanged."),
        Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
}

void UserDataBackup::mnuRestore_Click() {
    dialogs_.messageBox(restoreNotice());
}

bool UserDataBackup::writeBackup(QString* error) {
    const QString source = folder_.userDatabase();
    const QString target = folder_.userBackup();
    QByteArray snapshot;
    try {
        // The open store, or (should it have been closed) a connection of the backup's own.
        std::unique_ptr<Database> own;
        Database* store = state_.userDb.get();
        if (store == nullptr || !store->isOpen()) {
            own = Database::open(source, Database::Access::ReadOnly);
            store = own.get();
        }
        snapshot = StoreSnapshot::take(*store);
    } catch (const StoreError& failure) {
        *error = failure.message().contains(QLatin1String("database is locked"))
                     ? QStringLiteral("%1 is in use by another program that is changing it. Try "
                                      "again once that program has finished.")
                           .arg(shownPath(source))
                     : QStringLiteral("%1 could not be copied: %2")
                           .arg(shownPath(source), failure.message());
        return false;
    }

    // Written through a temporary file in the target's folder, checked there, flushed to the
    // disk and renamed over the target (or a link in its place) on commit(); until then the
    // target is untouched, and the temporary file goes with the writer.
    SafeFileWriter out(target);
    const auto cantWrite = [&] {
        *error =
            QStringLiteral("%1 could not be written: %2").arg(shownPath(target), out.errorString());
        return false;
    };
    if (!out.open() || !out.write(snapshot))
        return cantWrite();
    if (const QString fault = StoreSnapshot::faultOf(out.temporaryPath()); !fault.isEmpty()) {
        *error = QStringLiteral("The copy written for %1 is not sound: %2")
                     .arg(shownPath(target), fault);
        return false;
    }
    if (!out.commit())
        return cantWrite();
    return true;
}

} // namespace quillon
