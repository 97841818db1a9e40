#pragma once

#include <QString>
#include <QtGlobal>

namespace kst {

// What a received block or line event must be to answer it: the condition of an
// auto-response rule and of the IF and ELSE IF of a macro sub-routine.
struct MatchCondition {
    // 0 data equal, 1 data not equal, 2 data contains, 3 length equal, 4 length
    // greater, 5 length less, 6 line event only.
    qint32 kind = 0;
    // The condition text (a hexadecimal byte list, ASCII text or a decimal length),
    // followed by its control codes as characters.
    QString data;
    // Kinds 0-5: the data condition also requires the line state `line`.
    bool requireLineState = false;
    // Kinds 0-5: a line state 0 "CTS ON" .. 12 "DCD OFF, RI Detected"; kind 6: the
    // line event, 0 "CTS ON" .. 6 "RI Detected".
    qint32 line = 0;
    // False when the stored control codes are no byte list: such a condition never
    // matches, rather than matching a 0 byte nobody stored.
    bool usable = true;

    bool operator==(const MatchCondition&) const = default;
};

} // namespace kst
