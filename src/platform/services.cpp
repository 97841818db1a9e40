#include "services.h"

#include "runtime_error.h"
#include "scheduler.h"

#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

namespace kst {

QString appTitle() {
    return QStringLiteral("Kestrelon");
}

namespace {

// Without a desktop a box cannot be shown: its text goes to the error output and the
// box answers with its default button, the one that changes nothing.
class HeadlessMessageBoxes : public MessageBoxes {
public:
    int show(const QString& text, MsgIcon, MsgButtons buttons, const QString& title) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        switch (buttons) {
        case MsgButtons::Ok:
            return AnswerOk;
        case MsgButtons::YesNo:
        case MsgButtons::YesNoDefaultNo:
        case MsgButtons::YesNoCancelDefaultNo:
            return AnswerNo;
        default:
            return AnswerCancel;
        }
    }
};

class SilentBeeper : public Beeper {
public:
    void beep() override {}
};

class SystemClock : public Clock {
public:
    SystemClock() { timer_.start(); }
    qint64 monotonicMs() override { return timer_.elapsed(); }
    QDateTime now() override { return QDateTime::currentDateTime(); }

private:
    QElapsedTimer timer_;
};

class NoShell : public ShellOpener {
public:
    bool open(const QString&) override { return false; }
};

class CancelledFileDialogs : public FileDialogs {
public:
    std::optional<ChosenFile> showOpen(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<ChosenFile> showSave(const FileDialogRequest&) override { return std::nullopt; }
};

class CancelledColorDialogs : public ColorDialogs {
public:
    std::optional<quint32> chooseColor(quint32) override { return std::nullopt; }
};

class ExitingEnder : public ProgramEnder {
public:
    // At once: no other window gets to run its close handlers or questions.
    void endProgram() override { std::exit(0); }
};

template <class Interface, class Headless> struct Seam {
    Headless headless;
    Interface* fallback = &headless;
    Interface* current = &headless;
    Interface& get() { return *current; }
    Interface* set(Interface* replacement) {
        Interface* previous = current;
        current = replacement ? replacement : fallback;
        return previous;
    }
    void setDefault(Interface* implementation) {
        if (!implementation)
            return;
        if (current == fallback)
            current = implementation;
        fallback = implementation;
    }
};

template <class Interface, class Headless> Seam<Interface, Headless>& seam() {
    static Seam<Interface, Headless> s;
    return s;
}

auto& messageSeam() {
    return seam<MessageBoxes, HeadlessMessageBoxes>();
}
auto& beeperSeam() {
    return seam<Beeper, SilentBeeper>();
}
auto& clockSeam() {
    return seam<Clock, SystemClock>();
}
auto& shellSeam() {
    return seam<ShellOpener, NoShell>();
}
auto& enderSeam() {
    return seam<ProgramEnder, ExitingEnder>();
}
auto& fileDialogSeam() {
    return seam<FileDialogs, CancelledFileDialogs>();
}
auto& colorDialogSeam() {
    return seam<ColorDialogs, CancelledColorDialogs>();
}
auto& schedulerSeam() {
    return seam<Scheduler, EventLoopScheduler>();
}

} // namespace

MessageBoxes& Platform::messages() {
    return messageSeam().get();
}
Beeper& Platform::beeper() {
    return beeperSeam().get();
}
Clock& Platform::clock() {
    return clockSeam().get();
}
ShellOpener& Platform::shell() {
    return shellSeam().get();
}
ProgramEnder& Platform::ender() {
    return enderSeam().get();
}
FileDialogs& Platform::fileDialogs() {
    return fileDialogSeam().get();
}
ColorDialogs& Platform::colorDialogs() {
    return colorDialogSeam().get();
}
ColorDialogs* Platform::setColorDialogs(ColorDialogs* d) {
    return colorDialogSeam().set(d);
}
Scheduler& Platform::scheduler() {
    return schedulerSeam().get();
}
MessageBoxes* Platform::setMessages(MessageBoxes* m) {
    return messageSeam().set(m);
}
Beeper* Platform::setBeeper(Beeper* b) {
    return beeperSeam().set(b);
}
Clock* Platform::setClock(Clock* c) {
    return clockSeam().set(c);
}
ShellOpener* Platform::setShell(ShellOpener* s) {
    return shellSeam().set(s);
}
ProgramEnder* Platform::setEnder(ProgramEnder* e) {
    return enderSeam().set(e);
}
FileDialogs* Platform::setFileDialogs(FileDialogs* d) {
    return fileDialogSeam().set(d);
}
Scheduler* Platform::setScheduler(Scheduler* s) {
    return schedulerSeam().set(s);
}

void Platform::setDefaults(const Defaults& defaults) {
    messageSeam().setDefault(defaults.messages);
    beeperSeam().setDefault(defaults.beeper);
    shellSeam().setDefault(defaults.shell);
    fileDialogSeam().setDefault(defaults.fileDialogs);
    colorDialogSeam().setDefault(defaults.colorDialogs);
}

int msgBox(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& title) {
    return Platform::messages().show(text, icon, buttons, title);
}

QString failureText(int number, const QString& description, const QString& numberLabel) {
    return numberLabel + QString::number(number) + "\n" + "Description: " + description;
}

void showFailure(const QString& title, int number, const QString& description,
                 const QString& numberLabel) {
    msgBox(failureText(number, description, numberLabel), MsgIcon::Exclamation, MsgButtons::Ok,
           title);
}

void showFailure(const QString& title, const RunTimeError& error, const QString& numberLabel) {
    showFailure(title, error.number(), error.description(), numberLabel);
}

} // namespace kst
