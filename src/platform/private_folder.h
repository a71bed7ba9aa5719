#pragma once

#include <QString>
#include <optional>

namespace quillon {

// A folder of the user's own that nobody else can change: the per-user Application folder, and
// the folder of the program's local sockets. What this program makes is made with mode 0700,
// whatever the umask; a folder it finds is used only when it is the user's, no other user can
// write to it, and nobody but the user (or the system) can rename it away or put another in its
// place, that is, none of the folders above it is writable by others unless its sticky bit is
// set, and each belongs to the user or to the system.
class PrivateFolder final {
public:
    // Why the folder (which need not exist yet) is not private, as a message for the user that
    // names the folder at fault and says how to mend it; nothing when it is private. role names
    // what the folder holds ("your own files").
    [[nodiscard]] static std::optional<QString> problem(const QString& folder, const QString& role);

    // Makes the folder and every missing folder above it, each with mode 0700. False, with the
    // system's reason, when one can't be made.
    [[nodiscard]] static bool make(const QString& folder, QString* reason = nullptr);

    // A path as a command line takes it: single-quoted when it holds anything but letters,
    // digits and /._-+,:@%.
    [[nodiscard]] static QString shellQuoted(const QString& path);
};

} // namespace quillon
