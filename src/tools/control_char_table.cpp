#include "control_char_table.h"

#include "platform/runtime_error.h"
#include "platform/services.h"

#include <QTreeWidget>

namespace kst {

namespace {

constexpr int ObjectNotSet = 91;

} // namespace

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
