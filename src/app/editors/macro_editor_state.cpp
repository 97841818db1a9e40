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

void chooseRecord(ShownRecord& record, int shown, bool autoSave, const std::function<int()>& chosen,
                  const std::function<void(int)>& select, const std::function<void(int)>& load) {
    if (chosen() < 0 || chosen() == shown)
        return;
    if (!settleChanges(record, autoSave)) {
        select(shown);
        return;
    }
    if (chosen() != shown)
        load(chosen());
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
