#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

namespace kst {

class RunTimeError;
class Scheduler;

// The program's title, shown on boxes that name no operation of their own.
QString appTitle();

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
// YesNoDefaultNo and YesNoCancelDefaultNo ask a question whose Yes destroys something:
// Enter answers No.
enum class MsgButtons {
    Ok,
    OkCancel,
    YesNoCancel,
    YesNo,
    YesNoDefaultNo,
    YesNoCancelDefaultNo,
    RetryCancel
};

// Answers as the boxes have always numbered them; stored files and callers compare with these.
enum MsgAnswer { AnswerOk = 1, AnswerCancel = 2, AnswerRetry = 4, AnswerYes = 6, AnswerNo = 7 };

// Every message box and question of the program passes through here, so a
// headless run can record them and answer on the user's behalf.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual int show(const QString& text, MsgIcon icon, MsgButtons buttons,
                     const QString& title) = 0;
};

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

// Milliseconds of a monotonic clock since an arbitrary start, and the wall clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 monotonicMs() = 0;
    virtual QDateTime now() = 0;
};

// Opens a document or a web address with the desktop's handler.
class ShellOpener {
public:
    virtual ~ShellOpener() = default;
    virtual bool open(const QString& fileOrUrl) = 0;
};

// The file dialog of the file commands. A request carries what the command sets; the
// answer is the chosen file's full path and its name part, or nothing after Cancel.
struct FileDialogRequest {
    QString title;
    QString filter; // "All Files (*.*)|*.*|Kestrelon Files (*.kst)|*.kst"
    int filterIndex = 1;
    QString initDir;
    QString fileName;
};
struct ChosenFile {
    QString fileName;
    QString fileTitle;
    // The filter the user left chosen (1 the first); 0 when the dialog does not say.
    int filterIndex = 0;
};
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<ChosenFile> showOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<ChosenFile> showSave(const FileDialogRequest& request) = 0;
};

// The colour dialog. Colours are 0x00BBGGRR, as the program stores them; nothing after
// Cancel.
class ColorDialogs {
public:
    virtual ~ColorDialogs() = default;
    virtual std::optional<quint32> chooseColor(quint32 current) = 0;
};

// Ends the whole program at once, wherever it is called from (also inside a modal dialog).
class ProgramEnder {
public:
    virtual ~ProgramEnder() = default;
    virtual void endProgram() = 0;
};

// The seams in force. Each starts as its default: the desktop's implementation once
// the program has installed it (installDesktopServices), otherwise a headless one
// that shows nothing, answers every box with its default button and cancels every
// dialog. Tests install their own and put the previous one back when they are done.
class Platform {
public:
    static MessageBoxes& messages();
    static Beeper& beeper();
    static Clock& clock();
    static ShellOpener& shell();
    static ProgramEnder& ender();
    static FileDialogs& fileDialogs();
    static ColorDialogs& colorDialogs();
    static Scheduler& scheduler();

    // Each setter returns the previous implementation; nullptr restores the default.
    static MessageBoxes* setMessages(MessageBoxes* m);
    static Beeper* setBeeper(Beeper* b);
    static Clock* setClock(Clock* c);
    static ShellOpener* setShell(ShellOpener* s);
    static ProgramEnder* setEnder(ProgramEnder* e);
    static FileDialogs* setFileDialogs(FileDialogs* d);
    static ColorDialogs* setColorDialogs(ColorDialogs* d);
    static Scheduler* setScheduler(Scheduler* s);

    // The defaults that the desktop layer puts in place of the headless ones; a
    // null member keeps that seam's default.
    struct Defaults {
        MessageBoxes* messages = nullptr;
        Beeper* beeper = nullptr;
        ShellOpener* shell = nullptr;
        FileDialogs* fileDialogs = nullptr;
        ColorDialogs* colorDialogs = nullptr;
    };
    static void setDefaults(const Defaults& defaults);
};

// MsgBox as the routines call it: the title defaults to the program's title.
int msgBox(const QString& text, MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok,
           const QString& title = appTitle());

// The failure box of a routine's error handler: "Error Number: n", a line break,
// "Description: text", the exclamation icon and the operation's title.
// A few handlers word the first label differently ("Error number: ").
void showFailure(const QString& title, int number, const QString& description,
                 const QString& numberLabel = QStringLiteral("Error Number: "));
void showFailure(const QString& title, const RunTimeError& error,
                 const QString& numberLabel = QStringLiteral("Error Number: "));
QString failureText(int number, const QString& description,
                    const QString& numberLabel = QStringLiteral("Error Number: "));

} // namespace kst
