#include "fakes.h"

#include "platform/runtime_error.h"

#include <QFile>

namespace kst::test {

int errorNumberOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

int RecordingMessageBoxes::show(const QString& text, MsgIcon icon, MsgButtons buttons,
                                const QString& title) {
    boxes_.append({text, icon, buttons, title});
    if (!answers_.empty()) {
        int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    const bool question = buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ||
                          buttons == MsgButtons::YesNoDefaultNo ||
                          buttons == MsgButtons::YesNoCancelDefaultNo;
    return question ? AnswerYes : AnswerOk;
}

QStringList RecordingMessageBoxes::texts() const {
    QStringList result;
    for (const auto& box : boxes_)
        result << box.text;
    return result;
}

} // namespace kst::test
