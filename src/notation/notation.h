#pragma once

#include "platform/runtime_error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The program-wide notation routines: byte strings written in the five notations,
// hexadecimal byte lists converted into the others, and the checks of digit texts
// and comma-terminated byte lists that every input field relies on.
//
// A byte list is a text of items, each followed by ","; text after the last comma
// is never looked at. Hexadecimal digits are written in upper case and no number
// is written with a leading zero.
namespace kst {

enum NotationCode : int { ncDec = 0, ncHex = 1, ncOct = 2, ncBin = 3, ncAscii = 4 };

// The base of the notation's digits: 10, 16, 8 or 2 (10 for ASCII, which has none).
int NotationRadix(int notation);

// What a byte list told, when it fails ValidateByteList in the notation (Hex for ASCII).
QString ByteListRefusal(int notation);

// The value of the leading digits of the notation after any blanks; nullopt when the
// value no longer fits in 32 bits. A text without a leading digit is 0.
std::optional<quint64> leadingValue(const QString& text, int notation);

// The comma-terminated items of a byte list, in order; text after the last comma belongs
// to none ("41,,A" gives "41" and an empty item).
QStringList ByteListItems(const QString& list);

// The abbreviation of a control code 0..31 ("NUL" .. "US"); empty for other codes.
QString ControlCodeName(int code);

// Control characters by name ("<NUL>".."<US>", "<Space>", "<Delete>", "<(80)>".."<(FF)>").
QString ToAsciiWithNames(const QByteArray& data);

// Each byte's value in the notation, followed by "," ("65,13,10,").
QString StrToDecList(const QByteArray& data);
QString StrToHexList(const QByteArray& data);
QString StrToOctList(const QByteArray& data);
QString StrToBinList(const QByteArray& data);

// Base-2 digits without leading zeros, "0" for 0; a negative value gives all 32 digits.
QString LongToBinStr(qint32 value);
// 2^exponent for 0..30, and -2147483648 for 31. Raises run-time error 9 outside 0..31.
qint32 PowerOfTwo(qint32 exponent);
// The value of a text of base-2 digits. Raises error 5 for another character and
// error 9 for a "1" more than 32 places from the right.
qint32 BinStrToLong(const QString& bits);

// What a conversion met that the user is to be told of. The conversions show nothing
// themselves: the caller shows it (showConversionIssues), reports it its own way or
// refuses the input.
struct ConversionIssues {
    // Items whose value is more than one byte; each was read as 0.
    int outOfRangeItems = 0;
    // The error that ended the conversion.
    std::optional<RunTimeError> failure;

    bool any() const { return outOfRangeItems > 0 || failure.has_value(); }
};

// Shows the issues as the conversions' users know them: "Invalid data: operand must be
// within 1 byte!" once for each item out of range, then the failure in a box titled
// "HexStr_2_Others Error:".
void showConversionIssues(const ConversionIssues& issues);

// The byte value of the leading hexadecimal digits (blanks in front skipped). A value
// outside 0..255 gives 0 and counts in `issues`.
qint32 HexToByte(const QString& hexText, ConversionIssues* issues = nullptr);
// The octal digits of the byte value read as a decimal number ("FF" gives 377).
// Raises error 5 for a value outside 0..255.
qint32 HexToOctNum(const QString& hexText);

// A hexadecimal byte list in another notation: in Dec, Oct and Bin each item's value
// followed by ",", in Hex the items unchanged, in ASCII one character per item. An
// item of more than one byte stands as 0 (Oct: ends the conversion, which then gives
// nothing); both are recorded in `issues`.
std::optional<QString> ConvertHexList(const QString& hexList, int notation,
                                      ConversionIssues* issues = nullptr);

// True when text is not empty and every character is a digit of the notation
// (any character for a notation that has no digits of its own).
bool IsValidDigits(const QString& text, int notation);
// True when every comma-terminated item, blanks around it aside, is made only of the
// notation's digits and is one byte. ASCII lists are not checked.
bool ValidateByteList(const QString& text, int notation);

// The first 8 bits (zeros put in front of a shorter text) in reverse order, as the
// decimal number whose digits are those bits. Raises error 13 for a non-digit.
qint32 ReverseBitOrder(const QString& bits);

// The items zero-filled to 3, 2, 3 or 8 digits, each followed by one blank.
QString PadByteList(const QString& list, int notation);

} // namespace kst
