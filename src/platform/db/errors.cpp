#include "errors.h"

namespace kst::db {

QString describe(int number) {
    switch (number) {
    case err::InvalidPassword:
        return "Not a valid password.";
    case err::InvalidUseOfNull:
        return "Invalid use of Null";
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
        return RunTimeError::standardDescription(number);
    }
}

void raise(int number, const QString& description) {
    throw RunTimeError(number, description);
}

void raise(int number) {
    raise(number, describe(number));
}

} // namespace kst::db
