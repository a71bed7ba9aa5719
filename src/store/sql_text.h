#pragma once

#include <QString>
#include <QStringView>

namespace quillon {

// A text value made ready to stand between single quotes in a statement: every single quote is
// doubled, nothing else changes. Every text value of every statement goes through here.
QString sqlEscape(QStringView value);

} // namespace quillon
