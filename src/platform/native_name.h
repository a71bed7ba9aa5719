#pragma once

#include <QByteArray>
#include <QString>

namespace quillon {

// Names of files and folders as the system holds them: bytes, which the program reads as text in
// the system's encoding (UTF-8). A name with a byte that encoding can't read has no text that
// leads back to it: the program can neither open nor name what is in such a folder, and says so
// rather than looking for a folder of another name.
class NativeName final {
public:
    // Whether the name reads as text that leads back to the same bytes.
    [[nodiscard]] static bool readsBack(const QByteArray& name);
    // The name for a message: what reads as text as text, each other byte as \xFF.
    [[nodiscard]] static QString shown(const QByteArray& name);
    // Why the folder can't be used, and what to do, for the user. role says where the name comes
    // from ("given with --app-folder"), or is empty.
    [[nodiscard]] static QString unhandledFolder(const QByteArray& name, const QString& role = {});
};

} // namespace quillon
