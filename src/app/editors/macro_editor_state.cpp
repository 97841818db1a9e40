#include "app/editors/macro_editor_state.h"

#include "platform/services.h"
#include "storage/macro_rows.h"

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

QString recordFailureText(const RunTimeError& failure, const QString& what) {
    return QString::number(failure.number()) + u'\n' + failure.description() + u'\n' + what;
}

void showRecordFailure(const RunTimeError& failure, const QString& what) {
    msgBox(recordFailureText(failure, what), MsgIcon::Critical);
}

std::optional<int> showReadFailure(const QString& text, const RunTimeError& failure) {
    const auto* row = dynamic_cast<const UnreadableMacroRow*>(&failure);
    if (!row || !IsStoredValueFault(*row)) {
        msgBox(text, MsgIcon::Critical);
        return std::nullopt;
    }
    // Only a reset of its macro reaches a row the editor cannot show.
    const QString named = QStringLiteral("%1 %2 of Macro %3 cannot be read.")
                              .arg(row->part == MacroPart::Step ? QStringLiteral("Step")
                                                                : QStringLiteral("Sub-Routine"))
                              .arg(row->index + 1)
                              .arg(row->macro);
    const QString offer =
        QStringLiteral("Would you like to reset Macro %1's settings?").arg(row->macro);
    if (msgBox(text + u'\n' + named + u'\n' + offer, MsgIcon::Critical,
               MsgButtons::YesNoDefaultNo) != AnswerYes)
        return std::nullopt;
    return row->macro;
}

} // namespace kst
