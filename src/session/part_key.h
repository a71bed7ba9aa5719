#pragma once

#include <QString>

namespace quillon {

// A part is found in the User database by its RoverNum, or by its DorvaneNum when its RoverNum
// is exactly "Dorvane Only" (case-sensitive). Both numbers are always stored.
class PartKey {
public:
    static QString dorvaneOnly() { return QStringLiteral("Dorvane Only"); }

    static bool isDorvaneOnly(const QString& roverNum) { return roverNum == dorvaneOnly(); }

    // The key column and value of a part, for "... WHERE <column> = '<value>'" conditions.
    static QString column(const QString& roverNum) {
        return isDorvaneOnly(roverNum) ? QStringLiteral("DorvaneNum") : QStringLiteral("RoverNum");
    }
    static const QString& value(const QString& roverNum, const QString& dorvaneNum) {
        return isDorvaneOnly(roverNum) ? dorvaneNum : roverNum;
    }
};

} // namespace quillon
