#include "store/value.h"

#include "store/store_error.h"

#include <limits>

namespace quillon {

namespace {

// A whole number written as text: blanks around it, an optional sign, digits.
std::optional<qint64> wholeNumberFromText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    qsizetype i = (trimmed[0] == u'-' || trimmed[0] == u'+') ? 1 : 0;
    if (i == trimmed.size())
        return std::nullopt;
    for (qsizetype j = i; j < trimmed.size(); ++j) {
        if (trimmed[j] < u'0' || trimmed[j] > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qint64 number = trimmed.toLongLong(&ok);
    return ok ? std::optional<qint64>(number) : std::nullopt;
}

[[noreturn]] void refuse(const Value& value, const char* wanted) {
    throw StoreError(
        QStringLiteral("The value \"%1\" is not %2.")
            .arg(value.isNull() ? QStringLiteral("Null") : value.toText(), QLatin1String(wanted)));
}

} // namespace

bool Value::isAbsent() const {
    if (isNull())
        return true;
    const QString* text = std::get_if<QString>(&data_);
    return text != nullptr && text->isEmpty();
}

QString Value::toText() const {
    switch (kind()) {
    case Kind::Null:
        return {};
    case Kind::Text:
        return std::get<QString>(data_);
    case Kind::Integer:
        return QString::number(std::get<qint64>(data_));
    case Kind::Amount:
        return std::get<Money>(data_).toPlainText();
    case Kind::Boolean:
        return std::get<bool>(data_) ? QStringLiteral("True") : QStringLiteral("False");
    }
    return {};
}

qint64 Value::toInteger() const {
    switch (kind()) {
    case Kind::Integer:
        return std::get<qint64>(data_);
    case Kind::Text:
        if (const auto number = wholeNumberFromText(std::get<QString>(data_)))
            return *number;
        break;
    case Kind::Amount: {
        const Money amount = std::get<Money>(data_);
        if (amount.units() % Money::unitsPerWhole == 0)
            return amount.units() / Money::unitsPerWhole;
        break;
    }
    case Kind::Null:
    case Kind::Boolean:
        break;
    }
    refuse(*this, "a whole number");
}

qint32 Value::toInt32() const {
    const qint64 number = toInteger();
    if (number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
        refuse(*this, "a 32-bit whole number");
    return static_cast<qint32>(number);
}

Money Value::toMoney() const {
    switch (kind()) {
    case Kind::Amount:
        return std::get<Money>(data_);
    case Kind::Integer: {
        const qint64 whole = std::get<qint64>(data_);
        if (whole >= std::numeric_limits<qint64>::min() / Money::unitsPerWhole &&
            whole <= std::numeric_limits<qint64>::max() / Money::unitsPerWhole)
            return Money::fromWhole(whole);
        break;
    }
    case Kind::Text:
        if (const auto amount = Money::fromPlainText(std::get<QString>(data_)))
            return *amount;
        break;
    case Kind::Null:
    case Kind::Boolean:
        break;
    }
    refuse(*this, "an amount");
}

bool Value::toBool() const {
    switch (kind()) {
    case Kind::Boolean:
        return std::get<bool>(data_);
    case Kind::Integer:
        return std::get<qint64>(data_) != 0;
    case Kind::Null:
    case Kind::Text:
    case Kind::Amount:
        break;
    }
    refuse(*this, "a Boolean");
}

} // namespace quillon
