#include "desktop_services.h"

#include "bgr_color.h"
#include "platform/services.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QUrl>

namespace kst {

namespace {

// A question that offers only Yes and No must be answered by one of them: Escape and the
// close box leave it open instead of answering No for the user, which would drop what the
// question was about.
class MessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (mustBeAnswered() && event->matches(QKeySequence::Cancel))
            return;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (mustBeAnswered() && !clickedButton()) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }

private:
    bool mustBeAnswered() const {
        return standardButtons() == (QMessageBox::Yes | QMessageBox::No);
    }
};

class DesktopMessageBoxes : public MessageBoxes {
public:
    int show(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& title) override {
        MessageBox box(QApplication::activeWindow());
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
        case MsgButtons::YesNoDefaultNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            break;
        case MsgButtons::YesNoCancelDefaultNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::No);
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
        const QString filters = filterFor(r);
        return chosen(QFileDialog::getOpenFileName(QApplication::activeWindow(), r.title,
                                                   startPath(r), filters, &selected_),
                      filters);
    }
    // Every command that saves asks its own question about a file that exists (or
    // refuses the name): the dialog asks none, so the user is asked once.
    std::optional<ChosenFile> showSave(const FileDialogRequest& r) override {
        const QString filters = filterFor(r);
        return chosen(QFileDialog::getSaveFileName(QApplication::activeWindow(), r.title,
                                                   startPath(r), filters, &selected_,
                                                   QFileDialog::DontConfirmOverwrite),
                      filters);
    }

private:
    static QString startPath(const FileDialogRequest& r) {
        return r.fileName.isEmpty() ? r.initDir : QDir(r.initDir).filePath(r.fileName);
    }
    QString filterFor(const FileDialogRequest& r) {
        selected_.clear();
        return qtFilter(r.filter, &selected_, r.filterIndex);
    }
    std::optional<ChosenFile> chosen(const QString& path, const QString& filters) const {
        if (path.isEmpty())
            return std::nullopt;
        const int index = static_cast<int>(filters.split(QStringLiteral(";;")).indexOf(selected_));
        return ChosenFile{path, QFileInfo(path).fileName(), index + 1};
    }
    QString selected_;
};

class DesktopColorDialogs : public ColorDialogs {
public:
    std::optional<quint32> chooseColor(quint32 current) override {
        const QColor chosen =
            QColorDialog::getColor(colorFromBgr(current), QApplication::activeWindow());
        if (!chosen.isValid())
            return std::nullopt;
        return bgrFromColor(chosen);
    }
};

} // namespace

void whenNoBoxWaits(std::function<void()> call) {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!box || !(qobject_cast<QMessageBox*>(box) || qobject_cast<QFileDialog*>(box) ||
                  qobject_cast<QColorDialog*>(box))) {
        call();
        return;
    }
    QObject::connect(
        box, &QDialog::finished, qApp, [call = std::move(call)] { whenNoBoxWaits(call); },
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
}

std::unique_ptr<FileDialogs> makeDesktopFileDialogs() {
    return std::make_unique<DesktopFileDialogs>();
}

std::unique_ptr<MessageBoxes> makeDesktopMessageBoxes() {
    return std::make_unique<DesktopMessageBoxes>();
}

void installDesktopServices() {
    static DesktopMessageBoxes messages;
    static DesktopBeeper beeper;
    static DesktopShell shell;
    static DesktopFileDialogs fileDialogs;
    static DesktopColorDialogs colorDialogs;
    Platform::setDefaults({&messages, &beeper, &shell, &fileDialogs, &colorDialogs});
}

} // namespace kst
