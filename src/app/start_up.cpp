#include "app/start_up.h"

#include "app/main_window.h"
#include "platform/app_folder.h"
#include "platform/dialogs.h"
#include "store/store_error.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quillon {

namespace {

QString folderOf(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

QString nameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

void requireReadableFile(const QString& path, const QString& role) {
    const QFileInfo info(path);
    if (!info.exists())
        throw StartUpError(QStringLiteral("The %1 %2 is missing from the folder %3.")
                               .arg(role, nameOf(path), folderOf(path)));
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        throw StartUpError(QStringLiteral("The %1 %2 in the folder %3 can't be read.")
                               .arg(role, nameOf(path), folderOf(path)));
}

} // namespace

void StartUp::checkFiles(const AppFolder& folder) {
    if (!QFileInfo(folder.path()).isDir())
        throw StartUpError(QStringLiteral("The Application folder %1 doesn't exist.")
                               .arg(QDir::toNativeSeparators(folder.path())));
    requireReadableFile(folder.catalogue(), QStringLiteral("catalogue database"));
    if (QFileInfo::exists(folder.userDatabase()))
        requireReadableFile(folder.userDatabase(), QStringLiteral("user database"));
    else
        requireReadableFile(folder.userTemplate(), QStringLiteral("empty user database"));
}

bool StartUp::createUserDatabase(const AppFolder& folder) {
    const QString target = folder.userDatabase();
    if (QFileInfo::exists(target))
        return false;
    const QString source = folder.userTemplate();
    QFile templateFile(source);
    if (!templateFile.copy(target)) {
        const QString reason = templateFile.errorString();
        QFile::remove(target);
        throw StartUpError(QStringLiteral("The empty user database %1 could not be copied to %2 "
                                          "in the folder %3: %4")
                               .arg(nameOf(source), nameOf(target), folderOf(target), reason));
    }
    // A copy keeps the template's permissions; the user database must be writable.
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    return true;
}

std::unique_ptr<Database> StartUp::openStore(const QString& path, Database::Access access) {
    try {
        return Database::open(path, access);
    } catch (const StoreError& error) {
        throw StartUpError(QStringLiteral("The file %1 in the folder %2 could not be opened.\r\n"
                                          "\r\n%3")
                               .arg(nameOf(path), folderOf(path), error.message()));
    }
}

std::unique_ptr<MainWindow> StartUp::start(ProgramState& state, Dialogs& dialogs, Browser& browser,
                                           const AppFolder& folder) {
    QString problem;
    try {
        auto window = std::make_unique<MainWindow>(state, dialogs, browser, folder);
        window->Form_Load();
        return window;
    } catch (const StartUpError& error) {
        problem = error.message();
    } catch (const StoreError& error) {
        problem = error.message();
    } catch (const std::exception& error) {
        problem = QString::fromLocal8Bit(error.what());
    }
    qWarning().noquote() << "Dorvane Quillon can't start:" << problem;
    dialogs.messageBox(problem, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation, failureTitle());
    return nullptr;
}

} // namespace quillon
