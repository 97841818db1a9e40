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

// A test's implementation of one platform seam, in force from its construction to its
// destruction; the implementation it replaced is put back then.
template <class Interface, Interface* (*Install)(Interface*)> class Installed : public Interface {
public:
    Installed() : previous_(Install(this)) {}
    ~Installed() override { Install(previous_); }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

private:
    Interface* previous_;
};

struct RecordedBox {
    QString text;
    MsgIcon icon;
    MsgButtons buttons;
    QString title;
};

// Records every box and answers from a script; an unscripted box gets OK (or Yes for questions).
class RecordingMessageBoxes : public Installed<MessageBoxes, &Platform::setMessages> {
public:
    int show(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& title) override;

    void answerNext(int answer) { answers_.push_back(answer); }
    const QList<RecordedBox>& boxes() const { return boxes_; }
    QStringList texts() const;
    void clear() { boxes_.clear(); }

private:
    QList<RecordedBox> boxes_;
    std::deque<int> answers_;
};

class CountingBeeper : public Installed<Beeper, &Platform::setBeeper> {
public:
    void beep() override { ++count; }
    int count = 0;
};

class ManualClock : public Installed<Clock, &Platform::setClock> {
public:
    qint64 monotonicMs() override { return ms; }
    QDateTime now() override { return wallClock; }
    qint64 ms = 0;
    QDateTime wallClock = QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5));
};

class RecordingShell : public Installed<ShellOpener, &Platform::setShell> {
public:
    bool open(const QString& target) override {
        opened << target;
        return succeed;
    }
    QStringList opened;
    bool succeed = true;
};

// Answers file dialogs from a script (nothing scripted: Cancel) and records the requests.
class ScriptedFileDialogs : public Installed<FileDialogs, &Platform::setFileDialogs> {
public:
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
    std::deque<ChosenFile> answers_;
};

// Answers colour dialogs from a script (nothing scripted: Cancel) and counts them.
class ScriptedColorDialogs : public Installed<ColorDialogs, &Platform::setColorDialogs> {
public:
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
};

// Ends nothing: it counts, so a window can be closed inside a test the way the user
// closes it (the recording ender's exception must not cross Qt's event handlers).
class CountingEnder : public Installed<ProgramEnder, &Platform::setEnder> {
public:
    void endProgram() override { ++count; }
    int count = 0;
};

// Ending the program inside a test would end the test run: this records it and
// throws, so the routine that asked for the end stops where the program would.
struct ProgramEnded {};
class RecordingEnder : public Installed<ProgramEnder, &Platform::setEnder> {
public:
    void endProgram() override {
        ++count;
        throw ProgramEnded{};
    }
    int count = 0;
};

} // namespace kst::test
