#include "catalogue/picture_file.h"

#include "platform/app_folder.h"

#include <QDir>

namespace quillon {

std::optional<QString> PictureFile::path(const AppFolder& folder, const QString& name) {
    const bool drive = name.size() >= 2 && name.at(1) == u':';
    if (name.isEmpty() || name.startsWith(u'/') || drive || QDir::isAbsolutePath(name))
        return std::nullopt;
    const QString images = QDir::cleanPath(folder.images());
    const QString full = QDir::cleanPath(images + u'/' + name);
    if (!full.startsWith(images + u'/'))
        return std::nullopt;
    return full;
}

} // namespace quillon
