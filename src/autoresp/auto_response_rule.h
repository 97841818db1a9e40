#pragma once

#include <QString>
#include <array>

namespace kst {

// One auto-response rule as the engine uses it.
struct AutoResponseRule {
    qint16 CondOpt = 0;   // condition kind: data equal .. line event only
    QString Condition;    // condition text with its control codes already as characters
    bool CondChk = false; // the rule also requires a line state
    qint16 CondCbo = 0;   // that line state, or the line event for the line-event kind
    qint16 respRepeat = 0;
    qint32 respDelay = 0;    // ms
    qint32 respInterval = 0; // ms
    QString respCodes;       // the response command
    bool respChk = false;    // the response also sends a signal
    qint16 respCbo = 0;      // that signal
    QString strRespCtrl;     // the response's control codes, a hexadecimal byte list
};

using AutoResponseRules = std::array<AutoResponseRule, 16>;

} // namespace kst
