#include "errors.h"

namespace kst::db {

void raise(int number, const QString& description) {
    throw RunTimeError(number, description);
}

void raise(int number) {
    raise(number, describeError(number));
}

} // namespace kst::db
