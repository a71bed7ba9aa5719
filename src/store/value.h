#pragma once

#include "store/money.h"

#include <QString>
#include <variant>

namespace quillon {

// One field value of a result: Null, text, whole number, amount or Boolean. Dates are kept as
// their short date text. Null is kept apart from the empty text.
class Value {
public:
    enum class Kind { Null, Text, Integer, Amount, Boolean };

    Value() = default; // Null
    static Value text(QString text) { return Value(Data(std::move(text))); }
    static Value integer(qint64 number) { return Value(Data(number)); }
    static Value amount(Money amount) { return Value(Data(amount)); }
    static Value boolean(bool flag) { return Value(Data(flag)); }

    Kind kind() const { return static_cast<Kind>(data_.index()); }
    bool isNull() const { return kind() == Kind::Null; }
    // Null or an empty text: what the program treats as "no value".
    bool isAbsent() const;

    // Null gives the empty text, a whole number its digits, an amount its plain decimal text,
    // a Boolean "True" or "False".
    QString toText() const;
    // A whole number, or a text or amount holding one. Throws StoreError otherwise (Null too).
    qint64 toInteger() const;
    // toInteger() range-checked to 32 bits.
    qint32 toInt32() const;
    // An amount, a whole number, or a text holding a plain decimal. Throws StoreError otherwise.
    Money toMoney() const;
    // A Boolean, or a whole number (non-zero is true). Throws StoreError otherwise.
    bool toBool() const;

    bool operator==(const Value&) const = default;

private:
    using Data = std::variant<std::monostate, QString, qint64, Money, bool>;
    explicit Value(Data data) : data_(std::move(data)) {}
    Data data_;
};

} // namespace quillon
