#include "platform/private_folder.h"

#include "store/shown_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

const QString paragraph = QStringLiteral("\r\n\r\n");

QString userName(uid_t uid) {
    if (const passwd* entry = ::getpwuid(uid))
        return QString::fromLocal8Bit(entry->pw_name);
    return QStringLiteral("user number %1").arg(uid);
}

// The user's own group (one of the user's name with nobody else in it): its members may write.
bool ownPrivateGroup(gid_t gid) {
    if (gid != ::getegid())
        return false;
    const group* entry = ::getgrgid(gid);
    const QByteArray me = userName(::geteuid()).toLocal8Bit();
    if (entry == nullptr || me != entry->gr_name)
        return false;
    for (char** member = entry->gr_mem; *member != nullptr; ++member) {
        if (me != *member)
            return false;
    }
    return true;
}

bool writableByOthers(const struct stat& info) {
    return (info.st_mode & S_IWOTH) != 0 ||
           ((info.st_mode & S_IWGRP) != 0 && !ownPrivateGroup(info.st_gid));
}

bool ownedByUserOrSystem(const struct stat& info) {
    return info.st_uid == ::geteuid() || info.st_uid == 0;
}

} // namespace

QString PrivateFolder::shellQuoted(const QString& path) {
    const QString shown = shownPath(path);
    for (const QChar c : shown) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) &&
            !QStringLiteral("/._-+,:@%").contains(c))
            return u'\'' + QString(shown).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
    }
    return shown;
}

std::optional<QString> PrivateFolder::problem(const QString& folder, const QString& role) {
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    const QString nothingChanged =
        QStringLiteral("then start Dorvane Quillon again. Nothing has been changed.");
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        if (info.st_uid != ::geteuid())
            return QStringLiteral(
                       "The folder %1, which holds %2, belongs to another user (%3), so Dorvane "
                       "Quillon won't use it: its owner could read and change your "
                       "orders, prices and addresses.")
                       .arg(shownPath(path), role, userName(info.st_uid)) +
                   paragraph +
                   QStringLiteral("Move it aside, for example with the command\r\n    mv %1 %2\r\n"
                                  "so that the program makes a new one of your own, %3")
                       .arg(shellQuoted(path), shellQuoted(path + QStringLiteral(".not-mine")),
                            nothingChanged);
        if (writableByOthers(info))
            return QStringLiteral(
                       "The folder %1, which holds %2, can be changed by other users, so Dorvane "
                       "Quillon won't use it: another user could replace your orders, "
                       "prices and addresses.")
                       .arg(shownPath(path), role) +
                   paragraph +
                   QStringLiteral("Make it yours alone with the command\r\n    chmod 700 %1\r\n%2")
                       .arg(shellQuoted(path), nothingChanged);
    }
    // Every folder above it, as the system resolves links: whoever may write to one of them can
    // rename what it holds away and put a folder of their own in its place.
    QString above = QFileInfo(path).absolutePath();
    while (!QFileInfo::exists(above) && above != u"/")
        above = QFileInfo(above).absolutePath();
    above = QFileInfo(above).canonicalFilePath();
    for (QString at = above; !at.isEmpty(); at = at == u"/" ? QString() : QFileInfo(at).path()) {
        if (::stat(QFile::encodeName(at).constData(), &info) != 0)
            continue;
        const bool sticky = (info.st_mode & S_ISVTX) != 0;
        if (!ownedByUserOrSystem(info))
            return QStringLiteral(
                       "The folder %1, above the one that holds %2 (%3), belongs to another user "
                       "(%4), so Dorvane Quillon won't use it: that user could put a "
                       "folder of their own in its place.")
                       .arg(shownPath(at), role, shownPath(path), userName(info.st_uid)) +
                   paragraph +
                   QStringLiteral("Ask your administrator to give the folder to you or to the "
                                  "system, or set XDG_DATA_HOME to a folder of your own, %1")
                       .arg(nothingChanged);
        if (writableByOthers(info) && !sticky)
            return QStringLiteral(
                       "The folder %1, above the one that holds %2 (%3), can be changed by other "
                       "users, so Dorvane Quillon won't use it: another user could "
                       "put a folder of their own in its place.")
                       .arg(shownPath(at), role, shownPath(path)) +
                   paragraph +
                   QStringLiteral("Take the other users' right to write to it with the command\r\n"
                                  "    chmod go-w %1\r\n(or ask your administrator), %2")
                       .arg(shellQuoted(at), nothingChanged);
    }
    return std::nullopt;
}

bool PrivateFolder::make(const QString& folder, QString* reason) {
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).absolutePath();
    if (parent != path && !make(parent, reason))
        return false;
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0) {
        const int error = errno;
        if (error == EEXIST && QFileInfo(path).isDir())
            return true; // another start made it at the same moment
        if (reason)
            *reason = QString::fromLocal8Bit(std::strerror(error));
        return false;
    }
    // The umask may have taken bits away, never added any: the mode is set whole.
    ::chmod(name.constData(), 0700);
    return true;
}

} // namespace quillon
