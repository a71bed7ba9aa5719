#include "housekeeping/user_data_backup.h"

#include "platform/app_folder.h"
#include "platform/dialogs.h"
#include "platform/safe_file_writer.h"
#include "session/program_state.h"
#include "store/database.h"
#include "store/shown_path.h"
#include "store/store_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <exception>
#include <utility>

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

UserDataBackup::UserDataBackup(ProgramState& state, Dialogs& dialogs, const AppFolder& folder,
                               std::function<void()> openUserDatabase)
    : state_(state), dialogs_(dialogs), folder_(folder),
      openUserDatabase_(std::move(openUserDatabase)) {}

void UserDataBackup::mnuBackup_Click() {
    if (dialogs_.messageBox(backupQuestion(), Dialogs::Buttons::YesNo, Dialogs::Icon::Question) !=
        Dialogs::Button::Yes)
        return;

    if (state_.userDb)
        state_.userDb->close();
    try {
        QString error;
        if (copyReplacing(folder_.userDatabase(), folder_.userBackup(), &error)) {
            dialogs_.messageBox(backupDoneMessage());
        } else {
            dialogs_.messageBox(QStringLiteral("User data file NOT copied to userdatabackup.mdb") +
                                    crlf + crlf + error + crlf + crlf +
                                    QStringLiteral("Any earlier backup in userdatabackup.mdb "
                                                   "is unchanged."),
                                Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        }
    } catch (...) {
        reopen();
        throw;
    }
    reopen();
}

void UserDataBackup::reopen() {
    QString reason;
    std::exception_ptr failure;
    try {
        openUserDatabase_();
        return;
    } catch (const std::exception& error) {
        reason = QString::fromLocal8Bit(error.what());
        failure = std::current_exception();
    }
    try {
        state_.userDb = Database::open(folder_.userDatabase(), Database::Access::ReadOnly);
    } catch (const StoreError&) {
        std::rethrow_exception(failure); // for the caller's handler guard
    }
    dialogs_.messageBox(QStringLiteral("The user data file could not be opened again for "
                                       "changes.") +
                            crlf + crlf + reason + crlf + crlf +
                            QStringLiteral("Your orders, prices and addresses can be looked at, "
                                           "but not changed, until Dorvane Quillon is started "
                                           "again. Nothing has been lost."),
                        Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
}

void UserDataBackup::mnuRestore_Click() {
    dialogs_.messageBox(restoreNotice());
}

bool UserDataBackup::copyReplacing(const QString& source, const QString& target, QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return fail(
            QStringLiteral("%1 could not be read: %2").arg(shownPath(source), in.errorString()));

    // Written through a temporary file in the target's folder, flushed to the disk and renamed
    // over the target (or a link in its place) on commit(); until then the target is untouched.
    SafeFileWriter out(target);
    const auto cantWrite = [&] {
        return fail(QStringLiteral("%1 could not be written: %2")
                        .arg(shownPath(target), out.errorString()));
    };
    if (!out.open())
        return cantWrite();

    constexpr qint64 chunkSize = 1 << 20;
    qint64 copied = 0;
    for (;;) {
        const QByteArray chunk = in.read(chunkSize);
        if (chunk.isEmpty()) {
            if (in.error() != QFileDevice::NoError)
                return fail(QStringLiteral("%1 could not be read: %2")
                                .arg(shownPath(source), in.errorString()));
            break;
        }
        if (!out.write(chunk))
            return cantWrite();
        copied += chunk.size();
    }
    if (copied != in.size())
        return fail(QStringLiteral("%1 could not be read to its end").arg(shownPath(source)));
    if (!out.commit())
        return cantWrite();
    return true;
}

} // namespace quillon
