#pragma once

#include "platform/runtime_error.h"

#include <QString>

namespace kst::db {

// The data layer's errors are numbered in the program's one table (kst::err).
namespace err = kst::err;

[[noreturn]] void raise(int number, const QString& description);
// The error with the standard description of its number.
[[noreturn]] void raise(int number);
// The file is not one of our databases (err::CannotOpen, naming it).
[[noreturn]] void raiseUnrecognized(const QString& path);

} // namespace kst::db
