#pragma once

#include <QString>

namespace kst {

// The styles of the receive side's log texts: labels, stamps and notices in the
// system-message style, data and line events in the style of the port they came from.
enum class LogStyle { Message, Rx1, Rx2 };

// Where the receive side writes its log lines: a label run in the system-message style
// and a body run in its own style, each written only when not empty. The texts carry
// their own line breaks.
class ReceiveLog {
public:
    virtual ~ReceiveLog() = default;
    virtual void write(const QString& label, const QString& body, LogStyle bodyStyle) = 0;
};

} // namespace kst
