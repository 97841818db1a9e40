#include "runtime_error.h"

namespace kst {

QString describeError(int number) {
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
    case err::PathFileAccessError:
        return "Path/File access error";
    case err::PathNotFound:
        return "Path not found";
    case err::InvalidUseOfNull:
        return "Invalid use of Null";
    case err::InvalidPropertyValue:
        return "Invalid property value";
    case err::InvalidPortNumber:
        return "Invalid port number";
    case err::PortAlreadyOpen:
        return "Port already open";
    case err::HardwareNotAvailable:
        return "The hardware is not available";
    case err::CommStateInvalid:
        return "Could not set comm state, there may be one or more invalid communication "
               "parameters";
    case err::PortNotOpen:
        return "Operation valid only when the port is open";
    case err::InvalidPassword:
        return "Not a valid password.";
    case err::NotAllowed:
        return "Operation is not allowed in this context: the current record has changes that "
               "were neither written with Update nor cancelled.";
    case err::NoCurrentRecord:
        return "No current record: the position is before the first or after the last "
               "record, or the recordset is empty.";
    case err::ItemNotFound:
        return "Item cannot be found in the collection corresponding to the requested name or "
               "ordinal.";
    case err::ObjectClosed:
        return "Operation is not allowed when the object is closed.";
    case err::ObjectOpen:
        return "Operation is not allowed when the object is open.";
    default:
        return "Application-defined or object-defined error";
    }
}

bool isFileOutOfReach(const RunTimeError& error) {
    return error.number() == err::PermissionDenied || error.number() == err::PathFileAccessError;
}

RunTimeError::RunTimeError(int number, QString description)
    : number_(number), description_(std::move(description)),
      what_(QString("%1: %2").arg(number_).arg(description_).toStdString()) {}

RunTimeError::RunTimeError(int number) : RunTimeError(number, describeError(number)) {}

} // namespace kst
