#pragma once

#include <QString>
#include <QStringList>

namespace quillon {

// What a SELECT may list besides the rows its condition finds: the rows of its table in which
// one of the columns holds the text once blanks, dashes, dots and slashes are left out of both
// (letter case ignored, as LIKE ignores it). Part numbers are written with and without them:
// "ESR 3672", "ESR-3672" and "ESR3672" are one number. An empty text asks for nothing more, and
// so does a text that is nothing but those marks.
struct LooseMatch {
    QString text;
    QStringList columns;

    bool operator==(const LooseMatch&) const = default;
};

} // namespace quillon
