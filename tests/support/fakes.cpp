#include "fakes.h"

namespace kst::test {

int RecordingMessageBoxes::show(const QString& text, MsgIcon icon, MsgButtons buttons,
                                const QString& title) {
    boxes_.append({text, icon, buttons, title});
    if (!answers_.empty()) {
        int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel) ? AnswerYes
                                                                                : AnswerOk;
}

QStringList RecordingMessageBoxes::texts() const {
    QStringList result;
    for (const auto& box : boxes_)
        result << box.text;
    return result;
}

} // namespace kst::test
