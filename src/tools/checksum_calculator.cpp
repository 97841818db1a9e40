#include "checksum_calculator.h"

#include "crc16.h"
#include "notation/line_codec.h"
#include "notation/notation.h"
#include "traffic/command_input.h"

#include <QStringList>
#include <limits>
#include <vector>

namespace kst {

namespace {

constexpr qint64 LongMax = std::numeric_limits<qint32>::max();
constexpr qint64 LongMin = std::numeric_limits<qint32>::min();

// A number in the notation without leading zeros; a negative one as "-" and its magnitude.
QString numberText(qint64 value, int notation) {
    const QString magnitude =
        QString::number(value < 0 ? -static_cast<quint64>(value) : static_cast<quint64>(value),
                        NotationRadix(notation))
            .toUpper();
    return value < 0 ? u'-' + magnitude : magnitude;
}

// The value of a text of the notation's digits; nothing beyond 32 bits.
std::optional<quint64> operandValue(const QString& digits, int notation) {
    bool ok = false;
    const quint64 value = digits.toULongLong(&ok, NotationRadix(notation));
    if (!ok || value > 0xFFFFFFFFull)
        return std::nullopt;
    return value;
}

// The exact product of any number of bytes, in base-10^9 limbs, least significant first.
class ExactProduct {
public:
    void multiply(quint32 factor) {
        quint64 carry = 0;
        for (quint32& limb : limbs_) {
            const quint64 value = static_cast<quint64>(limb) * factor + carry;
            limb = static_cast<quint32>(value % Base);
            carry = value / Base;
        }
        for (; carry != 0; carry /= Base)
            limbs_.push_back(static_cast<quint32>(carry % Base));
        while (limbs_.size() > 1 && limbs_.back() == 0)
            limbs_.pop_back();
    }
    // The value when it is below 10^18.
    std::optional<qint64> small() const {
        if (limbs_.size() > 2)
            return std::nullopt;
        return static_cast<qint64>(limbs_.size() == 2 ? limbs_[1] : 0) * Base + limbs_[0];
    }
    QString decimal() const {
        QString text = QString::number(limbs_.back());
        for (auto limb = limbs_.rbegin() + 1; limb != limbs_.rend(); ++limb)
            text += QString::number(*limb).rightJustified(9, u'0');
        return text;
    }

private:
    static constexpr quint64 Base = 1000000000;
    std::vector<quint32> limbs_{1};
};

CalcOutcome refused(CalcOutcome::Kind kind) {
    CalcOutcome outcome;
    outcome.kind = kind;
    return outcome;
}

CalcOutcome failed(int errorNumber) {
    CalcOutcome outcome = refused(CalcOutcome::Kind::Failure);
    outcome.failure = RunTimeError(errorNumber);
    return outcome;
}

CalcOutcome shown(QString result, QString remainder = QString()) {
    CalcOutcome outcome;
    outcome.result = std::move(result);
    outcome.remainder = std::move(remainder);
    return outcome;
}

// A number that must fit the 32-bit result of the operator.
CalcOutcome longResult(qint64 value, int notation) {
    if (value > LongMax || value < LongMin)
        return failed(err::Overflow);
    return shown(numberText(value, notation));
}

// The CRC as a two-item byte list, high-order byte first, in the notation (a hexadecimal
// list in ASCII notation).
CalcOutcome crcResult(const QByteArray& bytes, int notation) {
    const QString crc = CalcCRC(bytes);
    const QString list = crc.left(2) + u',' + crc.mid(2) + u',';
    if (notation == ncAscii)
        return shown(list);
    return shown(ConvertHexList(list, notation).value_or(QString()));
}

CalcOutcome singleOperand(const QString& text, int notation, int op) {
    if (!IsValidDigits(text, notation))
        return refused(CalcOutcome::Kind::InvalidOperand);
    const std::optional<quint64> value = operandValue(text, notation);
    if (!value || *value > 255)
        return refused(CalcOutcome::Kind::NotOneByte);
    const auto byte = static_cast<qint32>(*value);
    // The reversal's digits are the byte's bits in reverse order, read back as bits.
    const qint32 result = op == opNot
                              ? 255 - byte
                              : BinStrToLong(QString::number(ReverseBitOrder(LongToBinStr(byte))));
    return shown(PadByteList(numberText(result, notation) + u',', notation));
}

CalcOutcome operandList(const QString& text, int notation, int op) {
    const QStringList operands = ByteListItems(text); // what follows the last comma is none
    if (operands.isEmpty())
        return refused(CalcOutcome::Kind::NoOperand);

    qint64 andAll = LongMax;
    qint64 orAll = 0;
    qint64 xorAll = 0;
    qint64 sum = 0;
    qint64 difference = 0;
    ExactProduct product;
    quint64 quotient = 0;
    quint64 remainder = 0;
    QByteArray crcInput;
    for (qsizetype i = 0; i < operands.size(); ++i) {
        if (!IsValidDigits(operands[i], notation))
            return refused(CalcOutcome::Kind::InvalidOperand);
        const std::optional<quint64> value = operandValue(operands[i], notation);
        if (!value)
            return failed(err::Overflow);
        if (op == opQuotient) {
            if (i == 0) {
                quotient = *value;
            } else if (*value == 0) {
                return failed(err::DivisionByZero);
            } else {
                remainder = quotient % *value;
                quotient /= *value;
            }
            continue;
        }
        if (*value > 255)
            return refused(CalcOutcome::Kind::NotOneByte);
        const auto byte = static_cast<qint64>(*value);
        crcInput += static_cast<char>(byte);
        andAll &= byte;
        orAll |= byte;
        xorAll ^= byte;
        sum += byte;
        difference = i == 0 ? byte : difference - byte;
        product.multiply(static_cast<quint32>(byte));
    }

    switch (op) {
    case opAnd:
        return shown(numberText(andAll, notation));
    case opOr:
        return shown(numberText(orAll, notation));
    case opXor:
        return shown(numberText(xorAll, notation));
    case opSum:
        return longResult(sum, notation);
    case opDifference:
        return longResult(difference, notation);
    case opProduct:
        if (notation == ncDec)
            return shown(product.decimal());
        return longResult(product.small().value_or(LongMax + 1), notation);
    case opQuotient:
        return shown(numberText(static_cast<qint64>(quotient), notation),
                     numberText(static_cast<qint64>(remainder), notation));
    case opCrc:
        return crcResult(crcInput, notation);
    default:
        return shown(QString());
    }
}

Notice oneByteOnly() {
    return {QStringLiteral("Invalid data: data should be 1 byte only"), MsgIcon::Critical};
}

} // namespace

bool isSingleOperand(int op) {
    return op == opNot || op == opReverseBits;
}

Notice CalcOutcome::notice() const {
    switch (kind) {
    case Kind::InvalidOperand:
        return {QStringLiteral("Invalid data, please try again!"), MsgIcon::Critical};
    case Kind::NoOperand:
        return {QStringLiteral("Invalid data: no operand, please append (,) after each operand "
                               "(e.g. 10,11,)!"),
                MsgIcon::Critical};
    case Kind::NotOneByte:
        return oneByteOnly();
    case Kind::Failure:
        return {failure ? failureText(failure->number(), failure->description()) : QString(),
                MsgIcon::Exclamation, QStringLiteral("Calculator Error:")};
    case Kind::Result:
        break;
    }
    return {};
}

CalcOutcome Calculate(const QString& operands, int notation, int op) {
    if (notation == ncAscii)
        return crcResult(LineCodec::toBytes(operands), notation);
    if (isSingleOperand(op))
        return singleOperand(operands, notation, op);
    return operandList(operands, notation, op);
}

std::optional<QChar> operandKey(QChar typed, int notation, int op) {
    const std::optional<QChar> key = commandFieldKey(typed, notation);
    // A single operand takes no comma.
    if (key && isSingleOperand(op) && *key == u',')
        return std::nullopt;
    return key;
}

int operandMaxLength(int notation, int op) {
    if (!isSingleOperand(op))
        return 0;
    switch (notation) {
    case ncHex:
        return 2;
    case ncBin:
        return 8;
    default:
        return 3;
    }
}

QString operandPrompt(int notation, int op) {
    if (notation == ncAscii)
        return QStringLiteral("Input operands (e.g. Hello World)");
    return isSingleOperand(op) ? QStringLiteral("Input operand (e.g. 10)")
                               : QStringLiteral("Input operands (e.g. 10,11,)");
}

QString cutToOperands(const QString& text) {
    return text.left(text.lastIndexOf(u',') + 1);
}

bool cutsOnLeave(int notation, int op) {
    return notation != ncAscii && !isSingleOperand(op);
}

bool cutsOnEnter(int notation, int op) {
    return cutsOnLeave(notation, op) && op != opQuotient;
}

std::optional<Notice> operandRefusal(const QString& text, int notation, int op) {
    // The operands of "\, Mod" may exceed one byte.
    if (op == opQuotient)
        return std::nullopt;
    if (notation != ncAscii && !ValidateByteList(text, notation))
        return Notice{ByteListRefusal(notation), MsgIcon::Exclamation, QStringLiteral("Error:")};
    if (isSingleOperand(op) && !text.isEmpty() && !ValidateByteList(text + u',', notation))
        return Notice{QStringLiteral("Invalid data: data input must be within 1 byte")};
    return std::nullopt;
}

std::optional<Notice> enterRefusal(const QString& text, int notation, int op) {
    if (op == opQuotient || notation == ncAscii)
        return std::nullopt;
    const QString list = isSingleOperand(op) ? text + u',' : text;
    if (!ValidateByteList(list, notation))
        return oneByteOnly();
    return std::nullopt;
}

OperatorLayout operatorLayout(int op) {
    switch (op) {
    case opQuotient:
        return {true, true, QStringLiteral("Quotient (\\)"), QStringLiteral("Remainder (Mod)"),
                false};
    case opCrc:
        return {false, false, QStringLiteral("High-order byte"), QStringLiteral("Low-order byte"),
                true};
    default:
        return {};
    }
}

} // namespace kst
