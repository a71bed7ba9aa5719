#pragma once

#include "store/money.h"
#include "store/recordset.h"

#include <QString>

namespace quillon {

class Database;

// The customer's own price record of one part: a row of the User database's customParts table,
// found by the part key (RoverNum, or DorvaneNum for a "Dorvane Only" part). Every statement on
// the record is built here, with every text value quoted.
class CustomPartRecord final {
public:
    // What the record holds besides the part key.
    struct Prices {
        Money filePrice;    // CustomerPrice
        Money sellingPrice; // CustomerLRPrice
        QString unit;       // CustomerUnitSale
    };

    CustomPartRecord(QString roverNum, QString dorvaneNum);

    // Looks the record up: a recordset holding it, or an empty one when the customer keeps no
    // price for the part.
    [[nodiscard]] Recordset checkCustomPart(Database& user) const;
    [[nodiscard]] QString insertStatement(const Prices& prices) const;
    [[nodiscard]] QString updateStatement(const Prices& prices) const;
    [[nodiscard]] QString deleteStatement() const;

private:
    QString roverNum_;
    QString dorvaneNum_;
};

} // namespace quillon
