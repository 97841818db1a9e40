#pragma once

#include "platform/services.h"

#include <QList>
#include <QStringList>
#include <deque>
#include <functional>

namespace kst::test {

// The run-time error number a call raises, 0 when it raises none.
int errorNumberOf(const std::function<void()>& call);
// A file's bytes; empty when it cannot be read.
QByteArray fileBytes(const QString& path);
// Replaces a file's bytes, as a damaged disk or another program would.
void writeFile(const QString& path, const QByteArray& bytes);

struct RecordedBox {
    QString text;
    MsgIcon icon;
    MsgButtons buttons;
    QString title;
};

// Records every box and answers from a script; an unscripted box gets OK (or Yes for questions).
class RecordingMessageBoxes : public MessageBoxes {
public:
    RecordingMessageBoxes() { previous_ = Platform::setMessages(this); }
    ~RecordingMessageBoxes() override { Platform::setMessages(previous_); }

    int show(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& title) override;

    void answerNext(int answer) { answers_.push_back(answer); }
    const QList<RecordedBox>& boxes() const { return boxes_; }
    QStringList texts() const;
    void clear() { boxes_.clear(); }

private:
    MessageBoxes* previous_;
    QList<RecordedBox> boxes_;
    std::deque<int> answers_;
};

class CountingBeeper : public Beeper {
public:
    CountingBeeper() { previous_ = Platform::setBeeper(this); }
    ~CountingBeeper() override { Platform::setBeeper(previous_); }
    void beep() override { ++count; }
    int count = 0;

private:
    Beeper* previous_;
};

class ManualClock : public Clock {
public:
    ManualClock() { previous_ = Platform::setClock(this); }
    ~ManualClock() override { Platform::setClock(previous_); }
    qint64 monotonicMs() override { return ms; }
    QDateTime now() override { return wallClock; }
    qint64 ms = 0;
    QDateTime wallClock = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));

private:
    Clock* previous_;
};

class RecordingShell : public ShellOpener {
public:
    RecordingShell() { previous_ = Platform::setShell(this); }
    ~RecordingShell() override { Platform::setShell(previous_); }
    bool open(const QString& target) override {
        opened << target;
        return succeed;
    }
    QStringList opened;
    bool succeed = true;

private:
    ShellOpener* previous_;
};

// Answers file dialogs from a script (nothing scripted: Cancel) and records the requests.
class ScriptedFileDialogs : public FileDialogs {
public:
    ScriptedFileDialogs() { previous_ = Platform::setFileDialogs(this); }
    ~ScriptedFileDialogs() override { Platform::setFileDialogs(previous_); }
    std::optional<ChosenFile> showOpen(const FileDialogRequest& request) override {
        return answer(request);
    }
    std::optional<ChosenFile> showSave(const FileDialogRequest& request) override {
        return answer(request);
    }
    void chooseNext(const QString& fileName, const QString& fileTitle, int filterIndex = 0) {
        answers_.push_back(ChosenFile{fileName, fileTitle, filterIndex});
    }
    QList<FileDialogRequest> requests;

private:
    std::optional<ChosenFile> answer(const FileDialogRequest& request) {
        requests << request;
        if (answers_.empty())
            return std::nullopt;
        ChosenFile next = answers_.front();
        answers_.pop_front();
        return next;
    }
    FileDialogs* previous_;
    std::deque<ChosenFile> answers_;
};

// Answers colour dialogs from a script (nothing scripted: Cancel) and counts them.
class ScriptedColorDialogs : public ColorDialogs {
public:
    ScriptedColorDialogs() { previous_ = Platform::setColorDialogs(this); }
    ~ScriptedColorDialogs() override { Platform::setColorDialogs(previous_); }
    std::optional<quint32> chooseColor(quint32 current) override {
        asked << current;
        if (answers.empty())
            return std::nullopt;
        const std::optional<quint32> next = answers.front();
        answers.pop_front();
        return next;
    }
    std::deque<std::optional<quint32>> answers;
    QList<quint32> asked;

private:
    ColorDialogs* previous_;
};

// Ends nothing: it counts, so a window can be closed inside a test the way the user
// closes it (the recording ender's exception must not cross Qt's event handlers).
class CountingEnder : public ProgramEnder {
public:
    CountingEnder() { previous_ = Platform::setEnder(this); }
    ~CountingEnder() override { Platform::setEnder(previous_); }
    void endProgram() override { ++count; }
    int count = 0;

private:
    ProgramEnder* previous_;
};

// Ending the program inside a test would end the test run: this records it and
// throws, so the routine that asked for the end stops where the program would.
struct ProgramEnded {};
class RecordingEnder : public ProgramEnder {
public:
    RecordingEnder() { previous_ = Platform::setEnder(this); }
    ~RecordingEnder() override { Platform::setEnder(previous_); }
    void endProgram() override {
        ++count;
        throw ProgramEnded{};
    }
    int count = 0;

private:
    ProgramEnder* previous_;
};

} // namespace kst::test
