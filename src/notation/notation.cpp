#include "notation.h"

#include "line_codec.h"
#include "platform/runtime_error.h"
#include "platform/services.h"

#include <array>

namespace kst {

namespace {

const char* const kControlNames[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                       "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                       "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                       "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// The value of a hexadecimal digit, or -1.
int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

int digitIn(QChar c, int notation) {
    const int d = hexDigit(c);
    switch (notation) {
    case ncDec:
        return d >= 0 && d <= 9 && c.unicode() <= u'9' ? d : -1;
    case ncHex:
        return d;
    case ncOct:
        return d >= 0 && d <= 7 && c.unicode() <= u'9' ? d : -1;
    case ncBin:
        return (c == u'0' || c == u'1') ? d : -1;
    default:
        return -1;
    }
}

} // namespace

std::optional<quint64> leadingValue(const QString& text, int notation) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    quint64 value = 0;
    for (; i < text.size(); ++i) {
        const int d = digitIn(text[i], notation);
        if (d < 0)
            break;
        value = value * NotationRadix(notation) + d;
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return value;
}

namespace {

// Calls f(item) for every comma-terminated item of text, in order, until f returns false.
template <class F> void forEachItem(const QString& text, F f) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u',') {
            if (!f(QStringView(text).mid(start, i - start)))
                return;
            start = i + 1;
        }
    }
}

template <class Format> QString listOf(const QByteArray& data, Format format) {
    QString result;
    result.reserve(data.size() * 4);
    for (char b : data) {
        result += format(static_cast<unsigned char>(b));
        result += u',';
    }
    return result;
}

QString hexOf(unsigned value) {
    return QString::number(value, 16).toUpper();
}

} // namespace

int NotationRadix(int notation) {
    switch (notation) {
    case ncHex:
        return 16;
    case ncOct:
        return 8;
    case ncBin:
        return 2;
    default:
        return 10;
    }
}

QString ByteListRefusal(int notation) {
    switch (notation) {
    case ncDec:
        return QStringLiteral("Invalid data: Decimal code greater than 255, or no command code in "
                              "between two (,) sign!");
    case ncOct:
        return QStringLiteral("Invalid data: Octal code greater than 377, or no command code in "
                              "between two (,) sign!");
    case ncBin:
        return QStringLiteral("Invalid data: Binary code exceeds 8 digits, or no command code in "
                              "between two (,) sign!");
    default:
        return QStringLiteral("Invalid data: Hexadecimal code exceeds 2 digits, or no command code "
                              "in between two (,) sign!");
    }
}

QStringList ByteListItems(const QString& list) {
    QStringList items;
    forEachItem(list, [&](QStringView item) {
        items << item.toString();
        return true;
    });
    return items;
}

QString ControlCodeName(int code) {
    return (code >= 0 && code < 32) ? QString::fromLatin1(kControlNames[code]) : QString();
}

QString ToAsciiWithNames(const QByteArray& data) {
    QString result;
    result.reserve(data.size() * 2);
    for (char ch : data) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 32)
            result += u'<' + QLatin1String(kControlNames[b]) + u'>';
        else if (b == 32)
            result += QLatin1String("<Space>");
        else if (b == 127)
            result += QLatin1String("<Delete>");
        else if (b >= 128)
            result += QLatin1String("<(") + hexOf(b) + QLatin1String(")>");
        else
            result += QChar(b);
    }
    return result;
}

QString StrToDecList(const QByteArray& data) {
    return listOf(data, [](unsigned b) { return QString::number(b); });
}
QString StrToHexList(const QByteArray& data) {
    return listOf(data, hexOf);
}
QString StrToOctList(const QByteArray& data) {
    return listOf(data, [](unsigned b) { return QString::number(b, 8); });
}
QString StrToBinList(const QByteArray& data) {
    return listOf(data, [](unsigned b) { return LongToBinStr(static_cast<qint32>(b)); });
}

QString LongToBinStr(qint32 value) {
    return QString::number(static_cast<quint32>(value), 2);
}

qint32 PowerOfTwo(qint32 exponent) {
    static const std::array<qint32, 32> table = [] {
        std::array<qint32, 32> t{};
        t[0] = 1;
        for (int k = 1; k <= 30; ++k)
            t[k] = t[k - 1] * 2;
        t[31] = static_cast<qint32>(0x80000000u);
        return t;
    }();
    if (exponent < 0 || exponent > 31)
        throw RunTimeError(err::SubscriptOutOfRange);
    return table[exponent];
}

qint32 BinStrToLong(const QString& bits) {
    quint32 value = 0;
    qint32 k = 0;
    for (qsizetype i = bits.size() - 1; i >= 0; --i, ++k) {
        if (bits[i] == u'1')
            value += static_cast<quint32>(PowerOfTwo(k));
        else if (bits[i] != u'0')
            throw RunTimeError(err::InvalidCall);
    }
    return static_cast<qint32>(value);
}

void showConversionIssues(const ConversionIssues& issues) {
    for (int i = 0; i < issues.outOfRangeItems; ++i) {
        msgBox("Invalid data: operand must be within 1 byte!", MsgIcon::Critical, MsgButtons::Ok,
               appTitle());
    }
    if (issues.failure)
        showFailure("HexStr_2_Others Error:", *issues.failure);
}

qint32 HexToByte(const QString& hexText, ConversionIssues* issues) {
    const auto value = leadingValue(hexText, ncHex);
    if (!value || *value > 255) {
        if (issues)
            ++issues->outOfRangeItems;
        return 0;
    }
    return static_cast<qint32>(*value);
}

qint32 HexToOctNum(const QString& hexText) {
    const auto value = leadingValue(hexText, ncHex);
    if (!value || *value > 255)
        throw RunTimeError(err::InvalidCall);
    return QString::number(*value, 8).toInt();
}

std::optional<QString> ConvertHexList(const QString& hexList, int notation,
                                      ConversionIssues* issues) {
    QString result;
    try {
        forEachItem(hexList, [&](QStringView item) {
            const QString text = item.toString();
            switch (notation) {
            case ncDec:
                result += QString::number(HexToByte(text, issues)) + u',';
                break;
            case ncHex:
                result += text + u',';
                break;
            case ncOct:
                result += QString::number(HexToOctNum(text)) + u',';
                break;
            case ncBin:
                result += LongToBinStr(HexToByte(text, issues)) + u',';
                break;
            case ncAscii:
                result += LineCodec::charOf(static_cast<unsigned char>(HexToByte(text, issues)));
                break;
            default:
                break;
            }
            return true;
        });
    } catch (const RunTimeError& e) {
        if (issues)
            issues->failure = e;
        return std::nullopt;
    }
    return result;
}

bool IsValidDigits(const QString& text, int notation) {
    if (text.isEmpty())
        return false;
    if (notation < ncDec || notation > ncBin)
        return true;
    for (QChar c : text)
        if (digitIn(c, notation) < 0)
            return false;
    return true;
}

bool ValidateByteList(const QString& text, int notation) {
    if (notation < ncDec || notation > ncBin)
        return true;
    bool valid = true;
    forEachItem(text, [&](QStringView item) {
        // Only the blanks that the readers skip may stand around an item: anything else
        // would pass here and then read as a 0 nobody typed.
        qsizetype first = 0;
        qsizetype last = item.size();
        while (first < last && isBlank(item[first]))
            ++first;
        while (last > first && isBlank(item[last - 1]))
            --last;
        const QString digits = item.mid(first, last - first).toString();
        if (!IsValidDigits(digits, notation))
            valid = false;
        else if (notation == ncBin)
            valid = digits.size() <= 8;
        else {
            const auto value = leadingValue(digits, notation);
            valid = value && *value <= 255;
        }
        return valid;
    });
    return valid;
}

qint32 ReverseBitOrder(const QString& bits) {
    QString padded = bits;
    while (padded.size() < 8)
        padded.prepend(u'0');
    qint32 value = 0;
    for (int i = 7; i >= 0; --i) {
        const QChar c = padded[i];
        if (c.unicode() < u'0' || c.unicode() > u'9')
            throw RunTimeError(err::TypeMismatch);
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

QString PadByteList(const QString& list, int notation) {
    int width = 0;
    switch (notation) {
    case ncDec:
    case ncOct:
        width = 3;
        break;
    case ncHex:
        width = 2;
        break;
    case ncBin:
        width = 8;
        break;
    default:
        break;
    }
    QString result;
    forEachItem(list, [&](QStringView item) {
        result += item.toString().rightJustified(width, u'0') + u' ';
        return true;
    });
    return result;
}

} // namespace kst
