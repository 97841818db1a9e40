#include "value.h"

#include "errors.h"
#include "value_parse.h"

#include <cmath>

namespace kst::db {

QString Value::toText() const {
    switch (type()) {
    case Type::Null:
        return QString();
    case Type::Bool:
        return std::get<bool>(data_) ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Integer:
        return QString::number(std::get<qint64>(data_));
    case Type::Double:
        return QString::number(std::get<double>(data_), 'g', 15);
    case Type::Text:
        return std::get<QString>(data_);
    }
    return QString();
}

bool Value::toBool() const {
    switch (type()) {
    case Type::Null:
        raise(err::InvalidUseOfNull);
    case Type::Bool:
        return std::get<bool>(data_);
    case Type::Integer:
        return std::get<qint64>(data_) != 0;
    case Type::Double:
        return std::get<double>(data_) != 0.0;
    case Type::Text:
        if (auto b = parseBoolean(std::get<QString>(data_)))
            return *b;
        raise(err::TypeMismatch);
    }
    return false;
}

qint64 Value::toInteger() const {
    switch (type()) {
    case Type::Null:
        raise(err::InvalidUseOfNull);
    case Type::Bool:
        return std::get<bool>(data_) ? -1 : 0;
    case Type::Integer:
        return std::get<qint64>(data_);
    case Type::Double:
        if (auto i = roundToInteger(std::get<double>(data_)))
            return *i;
        raise(err::Overflow);
    case Type::Text:
        if (auto n = parseNumber(std::get<QString>(data_))) {
            if (auto i = roundToInteger(*n))
                return *i;
            raise(err::Overflow);
        }
        raise(err::TypeMismatch);
    }
    return 0;
}

double Value::toDouble() const {
    switch (type()) {
    case Type::Double:
        return std::get<double>(data_);
    case Type::Text:
        if (auto n = parseNumber(std::get<QString>(data_)))
            return *n;
        raise(err::TypeMismatch);
    default:
        return static_cast<double>(toInteger());
    }
}

} // namespace kst::db
