#pragma once

#include <QString>

namespace quillon {

// A file or folder's path as the user reads it in a message: with the system's separators.
[[nodiscard]] QString shownPath(const QString& path);

} // namespace quillon
