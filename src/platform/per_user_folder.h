#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

// The user's own Application folder, made at the first start from the installed, read-only one.
// The files a customer may edit (the order form templates, the About and Help texts) are copied
// into it; the catalogue, the empty user database template, the pictures and the icons are
// symbolic links to the installed ones, so that a catalogue update in the installed folder
// reaches every user at once. What the program writes (user.mdb, the backup, the Order form)
// lands beside them.
class PerUserFolder final {
public:
    // Both paths absolute.
    PerUserFolder(const QString& installedFolder, const QString& userFolder);

    // The entries copied from the installed folder, and those linked to it.
    static const QStringList& copiedEntries();
    static const QStringList& linkedEntries();

    // Checks the installed files the start needs: parts.mdb, and systemuserDB.dat while there is
    // no user.mdb yet; a file or link of the user's own in place of the link to the installed
    // one is left to the start-up checks. Throws AppFolderError naming the installed file that is
    // missing, unreadable or not a database file.
    void checkInstalledFiles() const;

    // Makes the folder when it doesn't exist, with mode 0700 (and so the folders above it that
    // it makes): built whole under a temporary name beside it and
    // renamed into place, so that a start cut short never leaves a half-made folder, and two
    // starts that make it at once never meet inside it. True when this start made it. Throws
    // AppFolderError naming the folder that can't be made.
    bool make() const;
    // Adds any entry that is missing from the existing folder and points a link that leads
    // nowhere (an installation that moved) at the installed entry; a file or link that is there
    // is never copied again or changed. Only while holding the folder's InstanceLock, so that
    // two starts never repair it at once. Throws AppFolderError naming the file that can't be
    // made.
    void complete() const;

    const QString& installedFolder() const { return installed_; }
    const QString& userFolder() const { return user_; }

private:
    // Adds what is missing to a folder and re-points stray links. Safe to run again.
    void complete(const QString& folder) const;
    void copyEntry(const QString& name, const QString& folder) const;
    void linkEntry(const QString& name, const QString& folder) const;
    // Removes temporary folders that an earlier start left behind when it was cut short.
    void removeAbandonedBuilds() const;

    QString installed_;
    QString user_;
};

} // namespace quillon
