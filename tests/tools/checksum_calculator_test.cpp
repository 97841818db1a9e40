#include "notation/notation.h"
#include "tools/checksum_calculator.h"

#include <gtest/gtest.h>

using namespace kst;

namespace {

using Kind = CalcOutcome::Kind;

struct Case {
    const char* operands;
    int notation;
    int op;
    const char* result;
    const char* remainder = "";
};

void expectResults(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const CalcOutcome outcome = Calculate(QString::fromUtf8(c.operands), c.notation, c.op);
        const std::string what = std::string(c.operands) + " notation " +
                                 std::to_string(c.notation) + " op " + std::to_string(c.op);
        ASSERT_EQ(outcome.kind, Kind::Result) << what;
        EXPECT_EQ(outcome.result, QString::fromUtf8(c.result)) << what;
        EXPECT_EQ(outcome.remainder, QString::fromUtf8(c.remainder)) << what;
    }
}

TEST(Calculator, BitwiseOperatorsInEveryNotation) {
    expectResults({
        {"1A,2B,", ncHex, opAnd, "A"},
        {"1A,2B,", ncHex, opOr, "3B"},
        {"1A,2B,", ncHex, opXor, "31"},
        {"26,43,", ncDec, opAnd, "10"},
        {"32,53,", ncOct, opOr, "73"},
        {"11010,101011,", ncBin, opXor, "110001"},
        {"FF,FF,FF,", ncHex, opAnd, "FF"},
        {"FF,FF,", ncHex, opXor, "0"},
        {"0,", ncDec, opOr, "0"},
        {"FF,1", ncHex, opAnd, "FF"}, // text after the last comma is no operand
    });
}

TEST(Calculator, SumDifferenceAndProductInEveryNotation) {
    expectResults({
        {"1A,2B,", ncHex, opSum, "45"},
        {"1A,2B,", ncHex, opProduct, "45E"},
        {"10,20,", ncDec, opDifference, "-10"},
        {"0A,14,", ncHex, opDifference, "-A"},
        {"12,24,", ncOct, opDifference, "-12"},
        {"1010,10100,", ncBin, opDifference, "-1010"},
        {"255,1,", ncDec, opDifference, "254"},
        {"255,255,255,", ncDec, opSum, "765"},
        {"377,1,", ncOct, opSum, "400"},
        {"11111111,1,", ncBin, opSum, "100000000"},
        {"FF,FF,FF,", ncHex, opProduct, "FD02FF"},
        {"10000000,10000000,10000000,", ncBin, opProduct, "1000000000000000000000"},
        // 2^30: above 10^9, still a 32-bit number.
        {"80,80,80,80,4,", ncHex, opProduct, "40000000"},
        {"200,200,200,200,4,", ncOct, opProduct, "10000000000"},
        {"10000000,10000000,10000000,10000000,100,", ncBin, opProduct,
         "1000000000000000000000000000000"},
        {"0,255,", ncDec, opProduct, "0"},
        {"1,2,3", ncDec, opSum, "3"}, // the 3 is no operand
        // The decimal product is exact at any size: 255^7 lies above 2^53, where a product
        // kept in floating point ends in ...376.
        {"255,255,255,255,255,255,255,", ncDec, opProduct, "70110209207109375"},
        {"255,255,255,255,255,255,255,255,255,", ncDec, opProduct, "4558916353692287109375"},
        {"2,5,2,5,2,5,2,5,2,5,2,5,2,5,2,5,2,5,2,5,", ncDec, opProduct, "10000000000"},
    });
}

TEST(Calculator, OverflowAndDivisionByZeroFailWithTheErrorsBox) {
    // In hexadecimal, octal and binary the product is a 32-bit number (6: overflow); a
    // division operand may not go beyond 32 bits, nor a divisor be 0 (11).
    for (const auto& [operands, notation, op, error] :
         std::vector<std::tuple<const char*, int, int, int>>{
             {"FF,FF,FF,FF,", ncHex, opProduct, 6},
             {"80,80,80,80,8,", ncHex, opProduct, 6}, // 2^31
             {"377,377,377,377,", ncOct, opProduct, 6},
             {"11111111,11111111,11111111,11111111,", ncBin, opProduct, 6},
             {"4294967296,1,", ncDec, opQuotient, 6},
             {"10,0,", ncDec, opQuotient, 11}}) {
        const CalcOutcome outcome = Calculate(operands, notation, op);
        ASSERT_EQ(outcome.kind, Kind::Failure) << operands;
        EXPECT_EQ(outcome.failure->number(), error) << operands;
        EXPECT_TRUE(outcome.result.isEmpty());
        const Notice box = outcome.notice();
        EXPECT_EQ(box.title, "Calculator Error:");
        EXPECT_EQ(box.icon, MsgIcon::Exclamation);
        EXPECT_TRUE(box.text.startsWith(QString("Error Number: %1\nDescription: ").arg(error)))
            << box.text.toStdString();
    }
    // Only the value at the end counts: a zero factor brings it back.
    expectResults({{"FF,FF,FF,FF,0,", ncHex, opProduct, "0"}});
}

TEST(Calculator, QuotientAndRemainderChainOverWideUnsignedOperands) {
    expectResults({
        {"100,7,3,", ncDec, opQuotient, "4", "2"},
        {"100,", ncDec, opQuotient, "100", "0"},
        // Operands of "\, Mod" are not bytes, and a four-digit hex operand is unsigned.
        {"FFFF,2,", ncHex, opQuotient, "7FFF", "1"},
        {"8000,10,", ncHex, opQuotient, "800", "0"},
        {"177777,10,", ncOct, opQuotient, "17777", "7"},
        {"4294967295,65536,", ncDec, opQuotient, "65535", "65535"},
        {"1111111111111111,11,", ncBin, opQuotient, "101010101010101", "0"},
    });
}

TEST(Calculator, CrcIsAByteListHighOrderFirstInTheNotation) {
    expectResults({
        {"01,03,00,00,00,0A,", ncHex, opCrc, "CD,C5,"},
        {"1,3,0,0,0,10,", ncDec, opCrc, "205,197,"},
        {"1,3,0,0,0,12,", ncOct, opCrc, "315,305,"},
        {"FF,", ncHex, opCrc, "00,FF,"},
        {"11111111,", ncBin, opCrc, "0,11111111,"},
        {"123456789", ncAscii, opCrc, "4B,37,"},
        // ASCII text is taken as typed, commas and all.
        {"1,2", ncAscii, opCrc, "1A,BD,"},
        {"", ncAscii, opCrc, "FF,FF,"},
    });
}

TEST(Calculator, NotAndBitReversalGiveOnePaddedByte) {
    expectResults({
        {"10", ncDec, opNot, "245 "},
        {"250", ncDec, opNot, "005 "},
        {"0F", ncHex, opNot, "F0 "},
        {"377", ncOct, opNot, "000 "},
        {"0", ncBin, opNot, "11111111 "},
        {"01", ncHex, opReverseBits, "80 "},
        {"1", ncBin, opReverseBits, "10000000 "},
        {"1", ncDec, opReverseBits, "128 "},
        {"11000000", ncBin, opReverseBits, "00000011 "},
        {"377", ncOct, opReverseBits, "377 "},
    });
}

TEST(Calculator, RefusedOperandsGiveTheirMessageAndNoResult) {
    struct Refusal {
        const char* operands;
        int notation;
        int op;
        Kind kind;
        const char* message;
    };
    const Refusal refusals[] = {
        {"1,,2,", ncDec, opSum, Kind::InvalidOperand, "Invalid data, please try again!"},
        {"1G,", ncHex, opAnd, Kind::InvalidOperand, "Invalid data, please try again!"},
        {"", ncDec, opNot, Kind::InvalidOperand, "Invalid data, please try again!"},
        {"5", ncDec, opSum, Kind::NoOperand,
         "Invalid data: no operand, please append (,) after each operand (e.g. 10,11,)!"},
        {"", ncHex, opCrc, Kind::NoOperand,
         "Invalid data: no operand, please append (,) after each operand (e.g. 10,11,)!"},
        // Only bytes are taken, whichever way the operands arrive.
        {"256,1,", ncDec, opSum, Kind::NotOneByte, "Invalid data: data should be 1 byte only"},
        {"1FF,", ncHex, opProduct, Kind::NotOneByte, "Invalid data: data should be 1 byte only"},
        {"999", ncDec, opNot, Kind::NotOneByte, "Invalid data: data should be 1 byte only"},
        {"400", ncOct, opReverseBits, Kind::NotOneByte, "Invalid data: data should be 1 byte only"},
    };
    for (const Refusal& r : refusals) {
        const CalcOutcome outcome = Calculate(r.operands, r.notation, r.op);
        EXPECT_EQ(outcome.kind, r.kind) << r.operands;
        EXPECT_TRUE(outcome.result.isEmpty()) << r.operands;
        EXPECT_EQ(outcome.notice().text, r.message) << r.operands;
        EXPECT_EQ(outcome.notice().icon, MsgIcon::Critical) << r.operands;
    }
}

// ---------------------------------------------------------------------------------------
// The operand field

TEST(CalculatorField, KeysFollowTheNotationAndTheSingleOperand) {
    const auto key = [](char typed, int notation, int op) {
        const std::optional<QChar> c = operandKey(QChar(typed), notation, op);
        return c ? c->toLatin1() : '\0';
    };
    EXPECT_EQ(key('a', ncHex, opAnd), 'A');
    EXPECT_EQ(key(',', ncHex, opAnd), ',');
    EXPECT_EQ(key('G', ncHex, opAnd), '\0');
    EXPECT_EQ(key('A', ncDec, opAnd), '\0');
    EXPECT_EQ(key('8', ncOct, opSum), '\0');
    EXPECT_EQ(key('2', ncBin, opSum), '\0');
    EXPECT_EQ(key(' ', ncAscii, opCrc), ' ');
    EXPECT_EQ(key('\b', ncDec, opAnd), '\b');
    // A single operand takes no comma.
    EXPECT_EQ(key(',', ncHex, opNot), '\0');
    EXPECT_EQ(key(',', ncDec, opReverseBits), '\0');
    EXPECT_EQ(key('f', ncHex, opNot), 'F');
}

TEST(CalculatorField, SingleOperandsAreOneBytesDigitsLong) {
    EXPECT_EQ(operandMaxLength(ncDec, opNot), 3);
    EXPECT_EQ(operandMaxLength(ncHex, opNot), 2);
    EXPECT_EQ(operandMaxLength(ncOct, opReverseBits), 3);
    EXPECT_EQ(operandMaxLength(ncBin, opReverseBits), 8);
    EXPECT_EQ(operandMaxLength(ncHex, opSum), 0);
    EXPECT_EQ(operandPrompt(ncHex, opNot), "Input operand (e.g. 10)");
    EXPECT_EQ(operandPrompt(ncDec, opQuotient), "Input operands (e.g. 10,11,)");
    EXPECT_EQ(operandPrompt(ncAscii, opCrc), "Input operands (e.g. Hello World)");
}

TEST(CalculatorField, LeavingChecksEachNotationsBytes) {
    const std::pair<int, const char*> lists[] = {
        {ncDec, "Invalid data: Decimal code greater than 255, or no command code in between two "
                "(,) sign!"},
        {ncHex, "Invalid data: Hexadecimal code exceeds 2 digits, or no command code in between "
                "two (,) sign!"},
        {ncOct, "Invalid data: Octal code greater than 377, or no command code in between two (,) "
                "sign!"},
        {ncBin, "Invalid data: Binary code exceeds 8 digits, or no command code in between two "
                "(,) sign!"},
    };
    for (const auto& [notation, message] : lists) {
        const auto refusal = operandRefusal("1,,", notation, opSum);
        ASSERT_TRUE(refusal) << notation;
        EXPECT_EQ(refusal->text, message);
        EXPECT_EQ(refusal->icon, MsgIcon::Exclamation);
        EXPECT_EQ(refusal->title, "Error:");
    }
    EXPECT_TRUE(operandRefusal("256,", ncDec, opAnd));
    EXPECT_FALSE(operandRefusal("255,0,", ncDec, opAnd));
    // "\, Mod" takes wide operands; ASCII is not a byte list.
    EXPECT_FALSE(operandRefusal("65535,256,", ncDec, opQuotient));
    EXPECT_FALSE(operandRefusal("1,,", ncAscii, opCrc));
    // A single operand: one byte, and an empty field passes until calculated.
    const auto single = operandRefusal("999", ncDec, opNot);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->text, "Invalid data: data input must be within 1 byte");
    EXPECT_EQ(single->icon, MsgIcon::None);
    EXPECT_FALSE(operandRefusal("", ncDec, opNot));
    EXPECT_FALSE(operandRefusal("FF", ncHex, opNot));
}

TEST(CalculatorField, EnterChecksWhatIsCalculated) {
    EXPECT_EQ(cutToOperands("1,2,3"), "1,2,");
    EXPECT_EQ(cutToOperands("12"), "");
    EXPECT_EQ(enterRefusal("", ncHex, opNot)->text, "Invalid data: data should be 1 byte only");
    EXPECT_EQ(enterRefusal("1FF,", ncHex, opAnd)->icon, MsgIcon::Critical);
    EXPECT_FALSE(enterRefusal("1FF,", ncHex, opQuotient));
    EXPECT_FALSE(enterRefusal("1,,", ncAscii, opCrc));
    EXPECT_FALSE(enterRefusal("FF", ncHex, opReverseBits));
    EXPECT_TRUE(cutsOnLeave(ncDec, opQuotient));
    EXPECT_FALSE(cutsOnEnter(ncDec, opQuotient));
    EXPECT_FALSE(cutsOnLeave(ncAscii, opCrc));
    EXPECT_FALSE(cutsOnLeave(ncHex, opNot));
}

TEST(CalculatorField, EachOperatorLaysTheInstanceOut) {
    const OperatorLayout division = operatorLayout(opQuotient);
    EXPECT_TRUE(division.narrowResult && division.remainderShown && !division.modbusNote);
    EXPECT_EQ(division.quotientCaption, "Quotient (\\)");
    EXPECT_EQ(division.remainderCaption, "Remainder (Mod)");
    const OperatorLayout crc = operatorLayout(opCrc);
    EXPECT_TRUE(!crc.narrowResult && !crc.remainderShown && crc.modbusNote);
    EXPECT_EQ(crc.quotientCaption, "High-order byte");
    EXPECT_EQ(crc.remainderCaption, "Low-order byte");
    for (int op : {opAnd, opOr, opXor, opSum, opDifference, opProduct, opNot, opReverseBits}) {
        const OperatorLayout plain = operatorLayout(op);
        EXPECT_TRUE(!plain.narrowResult && !plain.remainderShown && !plain.modbusNote &&
                    plain.quotientCaption.isEmpty())
            << op;
    }
}

} // namespace
