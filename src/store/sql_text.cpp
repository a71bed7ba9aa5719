#include "store/sql_text.h"

namespace quillon {

QString sqlEscape(QStringView value) {
    QString escaped;
    escaped.reserve(value.size() + 2);
    for (QChar c : value) {
        escaped.append(c);
        if (c == u'\'')
            escaped.append(c);
    }
    return escaped;
}

} // namespace quillon
