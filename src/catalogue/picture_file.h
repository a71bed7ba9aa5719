#pragma once

#include <QString>
#include <optional>

namespace quillon {

class AppFolder;

// Where a picture or picture page named in the catalogue lies: a file of the images folder of
// the Application folder (or of a folder below it). A name that would lead out of that folder
// (an absolute path, a drive, ".." steps that climb above it) names no file the program opens.
class PictureFile final {
public:
    // The full path of the named file (the images folder's path, "/" and the name, cleaned), or
    // nothing when the name leaves the images folder or is empty.
    [[nodiscard]] static std::optional<QString> path(const AppFolder& folder, const QString& name);
};

} // namespace quillon
