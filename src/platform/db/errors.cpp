#include "errors.h"

namespace kst::db {

void raise(int number, const QString& description) {
    throw RunTimeError(number, description);
}

void raise(int number) {
    raise(number, describeError(number));
}

void raiseUnrecognized(const QString& path) {
    raise(err::CannotOpen, QString("Unrecognized database format '%1'.").arg(path));
}

} // namespace kst::db
