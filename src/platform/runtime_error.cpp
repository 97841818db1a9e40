#include "runtime_error.h"

namespace kst {

RunTimeError::RunTimeError(int number, QString description)
    : number_(number), description_(std::move(description)),
      what_(QString("%1: %2").arg(number_).arg(description_).toStdString()) {}

RunTimeError::RunTimeError(int number) : RunTimeError(number, standardDescription(number)) {}

QString RunTimeError::standardDescription(int number) {
    switch (number) {
    case err::InvalidCall:
        return "Invalid procedure call or argument";
    case err::Overflow:
        return "Overflow";
    case err::SubscriptOutOfRange:
        return "Subscript out of range";
    case err::DivisionByZero:
        return "Division by zero";
    case err::TypeMismatch:
        return "Type mismatch";
    case err::FileNotFound:
        return "File not found";
    case err::PermissionDenied:
        return "Permission denied";
    case err::PathNotFound:
        return "Path not found";
    case err::InvalidPropertyValue:
        return "Invalid property value";
    case err::PortAlreadyOpen:
        return "Port already open";
    default:
        return "Application-defined or object-defined error";
    }
}

} // namespace kst
