#include "services.h"

#include "runtime_error.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>
#include <cstdlib>

namespace kst {

QString appTitle() {
    return QStringLiteral("Kestrelon");
}

namespace {

class DesktopMessageBoxes : public MessageBoxes {
public:
    int show(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& title) override {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(title);
        box.setText(text);
        switch (icon) {
        case MsgIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case MsgIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
        case MsgIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::None:
            break;
        }
        switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MsgButtons::RetryCancel:
            box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes:
            return AnswerYes;
        case QMessageBox::No:
            return AnswerNo;
        case QMessageBox::Cancel:
            return AnswerCancel;
        case QMessageBox::Retry:
            return AnswerRetry;
        default:
            return AnswerOk;
        }
    }
};

class DesktopBeeper : public Beeper {
public:
    void beep() override { QApplication::beep(); }
};

class SystemClock : public Clock {
public:
    SystemClock() { timer_.start(); }
    quint32 tickCount() override { return static_cast<quint32>(timer_.elapsed()); }
    QDateTime now() override { return QDateTime::currentDateTime(); }

private:
    QElapsedTimer timer_;
};

class DesktopShell : public ShellOpener {
public:
    bool open(const QString& fileOrUrl) override {
        QUrl url = QFileInfo::exists(fileOrUrl) ? QUrl::fromLocalFile(fileOrUrl)
                                                : QUrl::fromUserInput(fileOrUrl);
        return QDesktopServices::openUrl(url);
    }
};

// "Name (*.a)|*.a|Other (*.b)|*.b" as the Qt dialog writes it: "Name (*.a);;Other (*.b)".
QString qtFilter(const QString& filter, QString* selected, int filterIndex) {
    const QStringList parts = filter.split(u'|');
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        names << parts[i];
    if (filterIndex >= 1 && filterIndex <= names.size())
        *selected = names[filterIndex - 1];
    return names.join(QStringLiteral(";;"));
}

class DesktopFileDialogs : public FileDialogs {
public:
    std::optional<ChosenFile> showOpen(const FileDialogRequest& r) override {
        return chosen(QFileDialog::getOpenFileName(QApplication::activeWindow(), r.title,
                                                   startPath(r), filterFor(r), &selected_));
    }
    std::optional<ChosenFile> showSave(const FileDialogRequest& r) override {
        return chosen(QFileDialog::getSaveFileName(QApplication::activeWindow(), r.title,
                                                   startPath(r), filterFor(r), &selected_));
    }

private:
    static QString startPath(const FileDialogRequest& r) {
        return r.fileName.isEmpty() ? r.initDir : QDir(r.initDir).filePath(r.fileName);
    }
    QString filterFor(const FileDialogRequest& r) {
        selected_.clear();
        return qtFilter(r.filter, &selected_, r.filterIndex);
    }
    static std::optional<ChosenFile> chosen(const QString& path) {
        if (path.isEmpty())
            return std::nullopt;
        return ChosenFile{path, QFileInfo(path).fileName()};
    }
    QString selected_;
};

class ExitingEnder : public ProgramEnder {
public:
    // At once: no other window gets to run its close handlers or questions.
    void endProgram() override { std::exit(0); }
};

template <class Interface, class Real> struct Seam {
    Real real;
    Interface* current = &real;
    Interface& get() { return *current; }
    Interface* set(Interface* replacement) {
        Interface* previous = current;
        current = replacement ? replacement : &real;
        return previous;
    }
};

Seam<MessageBoxes, DesktopMessageBoxes>& messageSeam() {
    static Seam<MessageBoxes, DesktopMessageBoxes> s;
    return s;
}
Seam<Beeper, DesktopBeeper>& beeperSeam() {
    static Seam<Beeper, DesktopBeeper> s;
    return s;
}
Seam<Clock, SystemClock>& clockSeam() {
    static Seam<Clock, SystemClock> s;
    return s;
}
Seam<ShellOpener, DesktopShell>& shellSeam() {
    static Seam<ShellOpener, DesktopShell> s;
    return s;
}
Seam<ProgramEnder, ExitingEnder>& enderSeam() {
    static Seam<ProgramEnder, ExitingEnder> s;
    return s;
}

Seam<FileDialogs, DesktopFileDialogs>& fileDialogSeam() {
    static Seam<FileDialogs, DesktopFileDialogs> s;
    return s;
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
FileDialogs& Platform::fileDialogs() {
    return fileDialogSeam().get();
}
FileDialogs* Platform::setFileDialogs(FileDialogs* d) {
    return fileDialogSeam().set(d);
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
