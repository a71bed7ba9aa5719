#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace quillon {

class Dialogs;

// Saves a file where the user says: the save dialog (through the Dialogs seam) opens in the
// folder a file was last saved to, remembered in the user's settings, or else in the documents
// folder, with a default name; the file is written whole through the safe file writer, and a
// write that fails says why in a box, leaving nothing half-written.
class UserFileSaver final {
public:
    explicit UserFileSaver(Dialogs& dialogs) : dialogs_(dialogs) {}

    // The path chosen for a file of that default name ("Order 5.pdf"), its suffix added when the
    // user left it off (asking before a file of that name is replaced); nothing on Cancel. The
    // folder chosen is remembered.
    [[nodiscard]] std::optional<QString> askPath(const QString& title, const QString& defaultName,
                                                 const QString& filter);
    // Writes the bytes as the file; false (after the box) when it could not be written.
    bool write(const QString& path, const QByteArray& bytes);

    // Where the save dialog opens when no folder is remembered (or it is gone).
    [[nodiscard]] static QString startFolder();
    static QString lastFolderKey() { return QStringLiteral("files/lastSaveFolder"); }
    static QString failureTitle() { return QStringLiteral("File not saved"); }

private:
    Dialogs& dialogs_;
};

} // namespace quillon
