#pragma once

class QLineEdit;

namespace kst {

// A delay or interval field above 65535 ms: false after the message that says so.
bool waitFieldInRange(const QLineEdit* field, bool isDelay);

} // namespace kst
