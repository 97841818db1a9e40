#pragma once

#include "notice.h"
#include "platform/runtime_error.h"

#include <QChar>
#include <QString>
#include <optional>

// The checksum calculator's logic: one calculation over a list of operands typed in
// one notation, and the rules of its operand field. The windows that show it (the
// main window's pane and the calculator window) only carry these out.
namespace kst {

// The operators by the index of their option. There is no operator 8.
enum CalcOperator : int {
    opAnd = 0,
    opOr = 1,
    opXor = 2,
    opSum = 3,
    opDifference = 4,
    opProduct = 5,
    opQuotient = 6, // "\, Mod": chained integer quotient and the last remainder
    opCrc = 7,      // CRC-16 (Modbus)
    opNot = 9,
    opReverseBits = 10,
};

// Not and the bit-order reversal take one operand without a comma; every other
// operator a comma-terminated list.
bool isSingleOperand(int op);

struct CalcOutcome {
    enum class Kind {
        Result,         // `result` (and for "\, Mod" `remainder`) are the texts to show
        InvalidOperand, // a character that is not a digit of the notation, or an empty operand
        NoOperand,      // not one comma-terminated operand
        NotOneByte,     // an operand beyond one byte where only bytes are taken
        Failure,        // overflow of the result's width, or division by zero
    };
    Kind kind = Kind::Result;
    QString result;
    QString remainder;
    std::optional<RunTimeError> failure;

    // What the user is told when there is no result.
    Notice notice() const;
};

// One calculation. Operands of every operator but "\, Mod" are bytes; those of
// "\, Mod" are unsigned numbers of up to 32 bits. Results are written in the notation
// without leading zeros ("-" and the magnitude for a negative difference), the product
// exactly in decimal and within 32 bits in the other notations; the CRC as a byte list
// high-order byte first ("CD,C5,"); Not and the reversal as one zero-filled byte with a
// trailing blank ("F0 "). ASCII operands are the text's characters and give the CRC.
CalcOutcome Calculate(const QString& operands, int notation, int op);

// ---------------------------------------------------------------------------------------
// The operand field

// The character a key puts into the operand field, or nothing when the field drops it.
std::optional<QChar> operandKey(QChar typed, int notation, int op);
// The field's maximum length (0: none): one byte's digits for the single-operand operators.
int operandMaxLength(int notation, int op);
// The caption above the field.
QString operandPrompt(int notation, int op);
// The text up to and with its last comma: what a list operator reads.
QString cutToOperands(const QString& text);
// Whether leaving the field, or pressing Enter in it, cuts the text to its operands.
bool cutsOnLeave(int notation, int op);
bool cutsOnEnter(int notation, int op);

// The check when the focus leaves the field; it also runs before every calculation,
// so a refused text is never calculated.
std::optional<Notice> operandRefusal(const QString& text, int notation, int op);
// The check of Enter in the field (after any cut), before it calculates.
std::optional<Notice> enterRefusal(const QString& text, int notation, int op);

// How the instance shows the operator: the result box's width, the remainder box, the
// captions above the two boxes (none when empty) and the Modbus note.
struct OperatorLayout {
    bool narrowResult = false;
    bool remainderShown = false;
    QString quotientCaption;
    QString remainderCaption;
    bool modbusNote = false;
};
OperatorLayout operatorLayout(int op);

} // namespace kst
