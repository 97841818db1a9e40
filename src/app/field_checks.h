#pragma once

class QLineEdit;
class QWidget;

namespace kst {

// The field with the focus is yellow; the others are white.
void highlightField(QWidget* field, bool on);

// A delay or interval field above 65535 ms: false after the message that says so.
bool waitFieldInRange(const QLineEdit* field, bool isDelay);

} // namespace kst
