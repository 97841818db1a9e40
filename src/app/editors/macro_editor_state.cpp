#include "app/editors/macro_editor_state.h"

#include "platform/services.h"

#include <QWidget>

namespace kst {

bool settleChanges(ShownRecord& record, bool autoSave) {
    if (!record.changed())
        return true;
    if (autoSave ||
        msgBox(record.saveQuestion(), MsgIcon::Question, MsgButtons::YesNo) == AnswerYes)
        return record.save();
    record.dropChanges();
    return true;
}

bool passesCheck(const std::optional<Refusal>& refusal,
                 const std::function<QWidget*(int field)>& fieldOf) {
    if (!refusal)
        return true;
    showRefusal(*refusal);
    if (QWidget* field = fieldOf(refusal->field))
        field->setFocus();
    return false;
}

void showRecordFailure(int number, const QString& description, const QString& what) {
    msgBox(QString::number(number) + u'\n' + description + u'\n' + what, MsgIcon::Critical);
}

} // namespace kst
