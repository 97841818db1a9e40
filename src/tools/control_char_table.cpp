#include "control_char_table.h"

#include "platform/runtime_error.h"
#include "platform/services.h"

#include <QTreeWidget>
#include <array>

namespace kst {

namespace {

constexpr std::array<const char*, 32> Mnemonics = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
    "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
    "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

constexpr int ObjectNotSet = 91;

} // namespace

QString controlCodeMnemonic(int code) {
    if (code < 0 || code >= static_cast<int>(Mnemonics.size()))
        return {};
    return QString::fromLatin1(Mnemonics[static_cast<size_t>(code)]);
}

QString caretForm(int code) {
    return QStringLiteral("^") + QChar(code + 64);
}

QStringList controlCharRow(int code) {
    const QStringList numbers = {QString::number(code, 16).toUpper(), QString::number(code),
                                 QString::number(code, 8)};
    if (code < 32)
        return QStringList{caretForm(code)} + numbers + QStringList{controlCodeMnemonic(code)};
    if (code == 32)
        return QStringList{caretForm(code)} + numbers + QStringList{QStringLiteral("(Space)")};
    if (code < 127)
        return QStringList{QStringLiteral(" ")} + numbers + QStringList{QString(QChar(code))};
    if (code == 127)
        return QStringList{QString()} + numbers + QStringList{QStringLiteral("(Delete)")};
    return QStringList{QStringLiteral(" ")} + numbers;
}

void FillControlCharTable(QTreeWidget* listView) {
    try {
        if (!listView)
            throw RunTimeError(ObjectNotSet, QStringLiteral("Object variable not set"));
        for (int code = 0; code < 256; ++code)
            listView->addTopLevelItem(new QTreeWidgetItem(controlCharRow(code)));
    } catch (const RunTimeError& e) {
        showFailure(QStringLiteral("Error on loading ASCII chart:"), e);
    }
}

} // namespace kst
