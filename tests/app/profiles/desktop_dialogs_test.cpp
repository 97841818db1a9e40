// The desktop's file dialog as the file commands show it.

#include "platform/desktop/desktop_services.h"
#include "platform/services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kst;

namespace {

TEST(DesktopFileDialogs, SavingOntoAFileThatExistsAsksNoQuestionOfItsOwn) {
    QTemporaryDir dir;
    const QString existing = dir.filePath("log.txt");
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    // A question of the dialog's own would be a modal box over it: it is answered Yes
    // and counted.
    QStringList questions;
    QTimer answerer;
    answerer.setInterval(0);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            questions << box->text();
            if (QAbstractButton* yes = box->button(QMessageBox::Yes))
                yes->click();
            else
                box->reject();
        }
    });
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answerer.start();
        dialog->selectFile(existing);
        static_cast<QDialog*>(dialog)->accept(); // as the Save button does
    });
    const std::unique_ptr<FileDialogs> dialogs = makeDesktopFileDialogs();
    const std::optional<ChosenFile> chosen = dialogs->showSave(FileDialogRequest{
        {}, QStringLiteral("All Files (*.*)|*.*|Text Files (*.txt)|*.txt"), 2, dir.path(), {}});
    answerer.stop();

    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->fileName, existing);
    EXPECT_EQ(chosen->fileTitle, "log.txt");
    EXPECT_EQ(chosen->filterIndex, 2);
    EXPECT_TRUE(questions.isEmpty()) << questions.join('\n').toStdString();
}

} // namespace

namespace {

// Enter answers each question with its default button: No where Yes destroys something.
// A question of Yes and No alone is answered by neither Escape nor the close box. What
// comes from outside while a box is open (the session's end) waits for the answer.
TEST(DesktopMessageBoxes, EnterAnswersTheDefaultButton) {
    int afterAnswers = 0;
    whenNoBoxWaits([&] { ++afterAnswers; });
    EXPECT_EQ(afterAnswers, 1) << "no box: at once";
    const struct {
        MsgButtons buttons;
        int enter;
        bool yesOrNo = false;
    } cases[] = {
        {MsgButtons::Ok, AnswerOk},
        {MsgButtons::OkCancel, AnswerOk},
        {MsgButtons::YesNo, AnswerYes, true},
        {MsgButtons::YesNoCancel, AnswerYes},
        {MsgButtons::YesNoDefaultNo, AnswerNo, true},
        {MsgButtons::YesNoCancelDefaultNo, AnswerNo},
        {MsgButtons::RetryCancel, AnswerRetry},
    };
    const std::unique_ptr<MessageBoxes> boxes = makeDesktopMessageBoxes();
    for (const auto& c : cases) {
        QTimer::singleShot(0, [yesOrNo = c.yesOrNo, &afterAnswers] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            const int before = afterAnswers;
            whenNoBoxWaits([&afterAnswers] { ++afterAnswers; });
            EXPECT_EQ(afterAnswers, before);
            if (yesOrNo) {
                QTest::keyClick(box, Qt::Key_Escape);
                box->close();
            }
            QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(boxes->show("File already exist, do you want to overwrite it?", MsgIcon::Question,
                              c.buttons, "Kestrelon"),
                  c.enter)
            << static_cast<int>(c.buttons);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return afterAnswers == 1 + std::size(cases); }, 2000));
}

} // namespace
