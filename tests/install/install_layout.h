#pragma once

#include <QMap>
#include <QString>
#include <QTemporaryDir>

namespace quillon {
class Recordset;
}

namespace quillon::tests {

// A system in a temporary folder: <root>/usr/bin for the program, the installed read-only
// Application folder <root>/usr/share/dorvane-quillon (the shipped files from data/, a small
// catalogue and the empty User database template) and a home folder whose desktop data location
// is <root>/home/.local/share.
class InstallLayout final {
public:
    InstallLayout();

    [[nodiscard]] QString bin() const { return root_.filePath(QStringLiteral("usr/bin")); }
    [[nodiscard]] QString installed() const {
        return root_.filePath(QStringLiteral("usr/share/dorvane-quillon"));
    }
    [[nodiscard]] QString home() const { return root_.filePath(QStringLiteral("home")); }
    [[nodiscard]] QString dataHome() const { return home() + QStringLiteral("/.local/share"); }
    [[nodiscard]] QString userFolder() const {
        return dataHome() + QStringLiteral("/dorvane-quillon");
    }
    [[nodiscard]] QString root() const { return root_.path(); }

    // A catalogue of the parts (Dorvane numbers) built by quillon-db from a price file, at path
    // (renamed over a file there, as the tool does).
    static void importCatalogue(const QString& path, const QStringList& dorvaneNums);
    // The Dorvane numbers of the parts of an open catalogue.
    static QStringList partsOf(const QString& catalogue);
    // The DorvaneNum of every row of a result.
    static QStringList numbersOf(Recordset& parts);
    static void makeUserTemplate(const QString& path);

    // Every entry under the folder by relative path: a link as "-> target", a file as a digest of
    // its content.
    static QMap<QString, QString> snapshot(const QString& folder);

private:
    QTemporaryDir root_;
};

} // namespace quillon::tests
