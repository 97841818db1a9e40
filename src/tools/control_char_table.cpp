#include "control_char_table.h"

#include "notation/notation.h"
#include "platform/runtime_error.h"
#include "platform/services.h"

#include <QTreeWidget>
#include <array>

namespace kst {

namespace {

constexpr int ObjectNotSet = 91;

} // namespace

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
