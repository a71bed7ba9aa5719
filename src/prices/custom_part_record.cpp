#include "prices/custom_part_record.h"

#include "session/part_key.h"
#include "store/database.h"
#include "store/statement_builder.h"

#include <utility>

namespace quillon {

namespace {

QList<StatementBuilder::Column> priceColumns(const CustomPartRecord::Prices& prices) {
    return {{QStringLiteral("CustomerPrice"), SqlLiteral::amount(prices.filePrice)},
            {QStringLiteral("CustomerLRPrice"), SqlLiteral::amount(prices.sellingPrice)},
            {QStringLiteral("CustomerUnitSale"), SqlLiteral::text(prices.unit)}};
}

} // namespace

CustomPartRecord::CustomPartRecord(QString roverNum, QString dorvaneNum)
    : roverNum_(std::move(roverNum)), dorvaneNum_(std::move(dorvaneNum)) {}

Recordset CustomPartRecord::checkCustomPart(Database& user) const {
    const SqlCondition key = SqlCondition::equals(
        PartKey::column(roverNum_), SqlLiteral::text(PartKey::value(roverNum_, dorvaneNum_)));
    return user.openRecordset(StatementBuilder::selectWhere(u"CustomParts", key.parenthesised()));
}

QString CustomPartRecord::insertStatement(const Prices& prices) const {
    return StatementBuilder::insertRow(
        u"customParts",
        QList<StatementBuilder::Column>{
            {QStringLiteral("DorvaneNum"), SqlLiteral::text(dorvaneNum_)},
            {QStringLiteral("RoverNum"), SqlLiteral::text(roverNum_)}} +
            priceColumns(prices));
}

QString CustomPartRecord::updateStatement(const Prices& prices) const {
    return StatementBuilder::updateRow(
        u"customParts", priceColumns(prices),
        SqlCondition::equalsTight(PartKey::column(roverNum_),
                                  SqlLiteral::text(PartKey::value(roverNum_, dorvaneNum_))));
}

QString CustomPartRecord::deleteStatement() const {
    return StatementBuilder::deleteWhere(
        u"customParts",
        SqlCondition::equalsTight(PartKey::column(roverNum_),
                                  SqlLiteral::text(PartKey::value(roverNum_, dorvaneNum_))));
}

} // namespace quillon
