#pragma once

#include "platform/app_folder.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace quillon {

// Finds the Application folder of this run, in this order:
//  1. the folder given by "--app-folder DIR";
//  2. the folder that holds the program, when it holds parts.mdb and can be written (a copied,
//     portable folder, as the build's app/ folder is);
//  3. the user's own folder under the desktop's data location (~/.local/share/dorvane-quillon),
//     made at the first start from the installed, read-only folder (see PerUserFolder), which is
//     the program's own folder when it holds parts.mdb, else ../share/dorvane-quillon beside it.
// With no installed folder and no per-user folder either, the program's own folder is used, so
// that the start-up says which file it lacks.
class AppFolderLocator final {
public:
    enum class Kind { Given, ProgramFolder, PerUser };

    struct Location {
        AppFolder folder;
        Kind kind;
        QString installedFolder; // the folder the per-user one links to; empty otherwise
        bool made = false;       // the per-user folder was made by this start
    };

    // Where the rules look, and how they test a folder for writing: injectable for the tests.
    struct Places {
        QString programFolder;
        QString userFolder;
        std::function<bool(const QString& folder)> canWrite;
        // The two folders' names as the system gave them, when known: a name that doesn't read
        // as text (see NativeName) is refused where the folder is needed.
        QByteArray programFolderName = {};
        QByteArray userFolderName = {};
    };

    // The name of the per-user folder, of the installed folder under share/, and the name the
    // program gives itself (its application name), so that the desktop's data location is
    // <data>/dorvane-quillon.
    static QString folderName() { return QStringLiteral("dorvane-quillon"); }

    // The real places: the folder of the running program, the desktop's data location for this
    // application (QStandardPaths::AppDataLocation), and the system's test for writing; with the
    // names of both folders as bytes.
    static Places systemPlaces();
    // Whether this process may create files in the folder.
    static bool canWriteFolder(const QString& folder);

    explicit AppFolderLocator(Places places);

    // Throws std::invalid_argument (with a message for the user) on arguments it doesn't know,
    // and AppFolderError when a folder it needs has a name that isn't text, when the per-user
    // folder is not private (see PrivateFolder: nothing is
    // made then), when it can't be made or an installed file it needs is
    // missing, unreadable or damaged. A per-user folder that exists is not changed here: see
    // complete().
    [[nodiscard]] Location locate(const QStringList& arguments) const;
    // Puts back what is missing from a per-user folder (see PerUserFolder::complete()); nothing
    // for any other folder. Only while holding the folder's InstanceLock. Throws AppFolderError.
    static void complete(const Location& location);

    // The installed folder, or empty when there is none.
    [[nodiscard]] QString installedFolder() const;

private:
    Places places_;
};

} // namespace quillon
