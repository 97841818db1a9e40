#include "char_chart_rows.h"

#include "notation/line_codec.h"
#include "notation/notation.h"

namespace kst {

QString caretForm(int code) {
    return QStringLiteral("^") + QChar(code + 64);
}

QStringList controlCharRow(int code) {
    const QStringList numbers = {QString::number(code, 16).toUpper(), QString::number(code),
                                 QString::number(code, 8)};
    if (code < 32)
        return QStringList{caretForm(code)} + numbers + QStringList{ControlCodeName(code)};
    if (code == 32)
        return QStringList{caretForm(code)} + numbers + QStringList{QStringLiteral("(Space)")};
    if (code < 127)
        return QStringList{QStringLiteral(" ")} + numbers + QStringList{QString(QChar(code))};
    if (code == 127)
        return QStringList{QString()} + numbers + QStringList{QStringLiteral("(Delete)")};
    return QStringList{QStringLiteral(" ")} + numbers;
}

QStringList asciiChartRow(int code) {
    const QStringList numbers = {QString::number(code), QString::number(code, 16).toUpper()};
    if (code < 32) {
        return QStringList{caretForm(code)} + numbers +
               QStringList{QStringLiteral(" "), ControlCodeName(code)};
    }
    return QStringList{QStringLiteral(" ")} + numbers +
           QStringList{QString(LineCodec::charOf(static_cast<unsigned char>(code)))};
}

} // namespace kst
