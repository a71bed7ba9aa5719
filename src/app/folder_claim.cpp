#include "app/folder_claim.h"

#include "app/start_up.h"
#include "platform/app_folder.h"
#include "platform/instance_lock.h"
#include "store/shown_path.h"

#include <QDir>
#include <QSysInfo>
#include <cerrno>

namespace quillon {

namespace {

const QString paragraph = QStringLiteral("\r\n\r\n");

} // namespace

std::unique_ptr<InstanceLock> FolderClaim::claim(const AppFolder& folder) {
    auto lock = std::make_unique<InstanceLock>(folder.path());
    switch (lock->tryAcquire()) {
    case InstanceLock::Outcome::Acquired:
        return lock;
    case InstanceLock::Outcome::HeldElsewhere: {
        QString where;
        const auto holder = lock->holder();
        if (holder && !holder->hostName.isEmpty() &&
            holder->hostName.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) != 0)
            where = QStringLiteral(" on the computer %1").arg(holder->hostName);
        // On this computer, the running program is asked to show its window instead.
        else if (lock->requestActivation())
            throw HandedOver{};
        throw StartUpError(
            QStringLiteral("Dorvane Quillon is already running from %1%2.")
                .arg(shownPath(folder.path()), where) +
            paragraph +
            QStringLiteral("Only one copy of the program can work with the files of a folder at "
                           "a time: use the window that is open."));
    }
    case InstanceLock::Outcome::NotOurs:
        throw StartUpError(
            QStringLiteral("The file %1 in the Application folder %2 is a link to another file, "
                           "or not Dorvane Quillon's own file, so the program won't write to it.")
                .arg(InstanceLock::fileName(), shownPath(folder.path())) +
            paragraph +
            QStringLiteral("Remove %1 from that folder, then start Dorvane Quillon again. Nothing "
                           "has been changed.")
                .arg(InstanceLock::fileName()));
    case InstanceLock::Outcome::CantWrite:
        break;
    }
    const int error = lock->error();
    if (error == ENOSPC || error == EDQUOT)
        throw StartUpError(
            QStringLiteral("The Application folder %1 can't be written: the disk is full, so "
                           "Dorvane Quillon can't make its file %2 there.")
                .arg(shownPath(folder.path()), InstanceLock::fileName()) +
            paragraph +
            QStringLiteral("Make room on the disk, then start Dorvane Quillon again. Nothing has "
                           "been changed."));
    throw StartUpError(
        QStringLiteral("The Application folder %1 can't be written (Dorvane Quillon can't make its "
                       "file %2 there), so the program can't keep your orders, prices and "
                       "addresses in it.")
            .arg(shownPath(folder.path()), InstanceLock::fileName()) +
        paragraph + QStringLiteral("Nothing has been changed."));
}

} // namespace quillon
