#include "store/shown_path.h"

#include <QDir>

namespace quillon {

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace quillon
