#pragma once

#include <QString>
#include <QtGlobal>
#include <variant>

namespace kst::db {

// One field value as the recordsets hand it out and take it in: Null, a Boolean
// (Yes/No), a whole number (Long, Integer, AutoIncrement), a floating-point number
// (only ever written, e.g. the result of a numeric parse) or text.
class Value {
public:
    enum class Type { Null, Bool, Integer, Double, Text };

    Value() = default;
    Value(bool b) : data_(b) {}
    Value(int i) : data_(static_cast<qint64>(i)) {}
    Value(qint64 i) : data_(i) {}
    Value(double d) : data_(d) {}
    Value(const QString& s) : data_(s) {}
    Value(const char* s) : data_(QString::fromUtf8(s)) {}

    Type type() const { return static_cast<Type>(data_.index()); }
    bool isNull() const { return type() == Type::Null; }

    // The value as text; Null gives empty text, Booleans "True" / "False".
    QString toText() const;
    // Null raises "Invalid use of Null" (94); a text that is neither a number nor
    // "True"/"False" raises "Type mismatch" (13). Any non-zero number is True.
    bool toBool() const;
    // Whole numbers as they are, others converted; Null raises 94, text that is no
    // number raises 13.
    qint64 toInteger() const;
    // The same rules, without rounding.
    double toDouble() const;

    bool operator==(const Value& other) const = default;

private:
    std::variant<std::monostate, bool, qint64, double, QString> data_;
};

} // namespace kst::db
