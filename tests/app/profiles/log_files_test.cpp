#include "app/app_fixtures.h"
#include "app/profiles/log_files.h"
#include "app/profiles/profile_control.h"
#include "storage/profile_readers.h"
#include "storage/rtf.h"
#include "support/guarded_fifo.h"
#include "support/raw_sqlite.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPlainTextEdit>
#include <unistd.h>

using namespace kst;
using namespace kst::test;

namespace {

class LogFilesTest : public ::testing::Test {
protected:
    LogFilesTest() : main((folder.makeReady(), folder.path())) {
        main.InitMainWindow();
        main.setCommands(nullptr);
        main.log().clear();
        main.Add_Color("Data received: ", DisplayStyle{0x800000, true}, "41,42,\r\n",
                       DisplayStyle{0x0000FF, false, true, true});
        main.Add_Color("caf\u00e9 \u20ac {x}\r\n", DisplayStyle{0x008000});
        boxes.clear();
    }
    std::vector<StyledRun> runs() { return main.log().runs(); }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    RecordingMain main;
};

TEST_F(LogFilesTest, TheChosenFilterDecidesTextOrRichTextAndBothReadBack) {
    const std::vector<StyledRun> styled = runs();
    dialogs.chooseNext(folder.file("log.txt"), "log.txt", 4); // rich text under a .txt name
    main.mnuSave_Click();
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].filterIndex, 2) << "the text filter is offered first";
    EXPECT_TRUE(IsRtf(folder.read("log.txt")));

    dialogs.chooseNext(folder.file("LOG.RTF"), "LOG.RTF", 2);
    main.mnuSave_Click();
    EXPECT_EQ(QString::fromUtf8(folder.read("LOG.RTF")),
              "Data received: 41,42,\r\ncaf\u00e9 \u20ac {x}\r\n");

    main.log().clear();
    dialogs.chooseNext(folder.file("log.txt"), "log.txt");
    main.mnuOpenLog_Click();
    EXPECT_EQ(runs(), styled) << "the content decides, not the name";
    EXPECT_EQ(dialogs.requests.last().title, "Load Text File...");
    dialogs.chooseNext(folder.file("LOG.RTF"), "LOG.RTF");
    main.mnuOpenLog_Click();
    EXPECT_EQ(main.log().plainText(), "Data received: 41,42,\ncaf\u00e9 \u20ac {x}\n");
    // Text written by another editor: its byte-order mark is no character of the log.
    folder.write("marked.txt", "\xEF\xBB\xBF"
                               "caf\xC3\xA9");
    dialogs.chooseNext(folder.file("marked.txt"), "marked.txt");
    main.mnuOpenLog_Click();
    EXPECT_EQ(main.log().plainText(), "caf\u00e9");
    // Rich text of another program with binary data, NUL bytes and braces among it.
    const char binary[] = "{\\rtf1\\ansi Before {\\*\\blob \\bin4 \0}\0{} After}";
    folder.write("binary.rtf", QByteArray(binary, sizeof(binary) - 1));
    dialogs.chooseNext(folder.file("binary.rtf"), "binary.rtf");
    main.mnuOpenLog_Click();
    EXPECT_EQ(main.log().plainText(), "Before  After");
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

// Each row: a selection of the log; its copy reads back as the same runs from either
// rich-text type, beside the same plain text.
TEST_F(LogFilesTest, ACopyOfTheLogKeepsItsStylesAsRichTextBesidePlainText) {
    const std::vector<StyledRun> all = runs();
    // The runs of [from, to) of the log.
    const auto cut = [&](qint64 from, qint64 to) {
        std::vector<StyledRun> part;
        qint64 start = 0;
        for (const StyledRun& run : all) {
            const qint64 a = qMax(from, start);
            const qint64 b = qMin(to, start + run.text.size());
            if (b > a)
                part.push_back({run.text.mid(a - start, b - a), run.style});
            start += run.text.size();
        }
        return part;
    };
    const qint64 length = main.log().length();
    const std::pair<qint64, qint64> cases[] = {{0, length}, {5, 18}, {15, 17}, {20, length - 3}};
    for (const auto& [from, to] : cases) {
        SCOPED_TRACE(from);
        main.ui().responseBox->select(from, to);
        main.ui().responseBox->copy();
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(copied, nullptr);
        EXPECT_EQ(copied->text(), main.log().store().text(from, to));
        for (const char* type : {"text/rtf", "application/rtf"})
            EXPECT_EQ(ReadRtf(copied->data(type)), cut(from, to)) << type;
    }
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(LogFilesTest, AnExistingFileIsOverwrittenOnlyOnYesAndCancelAsksAgain) {
    folder.write("old.txt", "old");
    dialogs.chooseNext(folder.file("old.txt"), "old.txt", 2);
    boxes.answerNext(AnswerNo);
    main.mnuSave_Click();
    EXPECT_EQ(folder.read("old.txt"), "old");

    dialogs.chooseNext(folder.file("old.txt"), "old.txt", 2);
    dialogs.chooseNext(folder.file("old.txt"), "old.txt", 2);
    boxes.answerNext(AnswerCancel);
    boxes.answerNext(AnswerYes);
    const int asked = static_cast<int>(dialogs.requests.size());
    main.mnuSave_Click();
    EXPECT_EQ(dialogs.requests.size(), asked + 2) << "Cancel shows the dialog again";
    EXPECT_TRUE(folder.read("old.txt").startsWith("Data received:"));
    EXPECT_EQ(boxes.texts(), QStringList(3, "File already exist, do you want to overwrite it?"));
    EXPECT_EQ(boxes.boxes()[0].buttons, MsgButtons::YesNoCancelDefaultNo)
        << "Yes destroys the file: Enter answers No";
}

// The log is never saved over a file the program keeps, under whatever name it is chosen.
TEST_F(LogFilesTest, TheLogIsNotSavedOverTheProfileTheSupportDatabaseOrKstIni) {
    const QString profile = folder.file("Devices/Device1.kst");
    ASSERT_TRUE(QFile::link(profile, folder.file("Devices/Link")));
    ASSERT_EQ(::link(QFile::encodeName(profile).constData(),
                     QFile::encodeName(folder.file("Hard.kst")).constData()),
              0);
    const struct {
        const char* chosen;
        const char* kept; // the file whose bytes stay
        const char* what;
    } cases[] = {
        {"Devices/Device1.kst", "Devices/Device1.kst", "the device profile that is open"},
        {"Devices/Link", "Devices/Device1.kst", "the device profile that is open"},
        {"Hard.kst", "Devices/Device1.kst", "the device profile that is open"},
        {"Devices/../Devices/Device1.kst", "Devices/Device1.kst",
         "the device profile that is open"},
        {"mscomctl.2fl", "mscomctl.2fl", "the support database"},
        {"kst.ini", "kst.ini", "the program's kst.ini"},
    };
    for (const auto& c : cases) {
        const QByteArray before = folder.read(c.kept);
        boxes.clear();
        dialogs.requests.clear();
        dialogs.chooseNext(folder.file(c.chosen), QFileInfo(c.chosen).fileName(), 2);
        main.mnuSave_Click();
        EXPECT_EQ(folder.read(c.kept), before) << c.chosen;
        ASSERT_EQ(boxes.boxes().size(), 1) << c.chosen << ": no question of overwriting it";
        EXPECT_EQ(boxes.boxes()[0].title, "Save Log Error:");
        EXPECT_EQ(boxes.boxes()[0].text,
                  "'" + folder.file(c.chosen) + "' is " + c.what +
                      ": the log is not saved over it. Please choose another name.");
        EXPECT_EQ(dialogs.requests.size(), 2) << c.chosen << ": the dialog is shown again";
    }
    // The profile still opens, and the program still starts on it.
    main.Open_DB(profile, "Device1.kst");
    EXPECT_EQ(main.windowTitle(), "Kestrelon - Device1.kst");
    EXPECT_EQ(main.ini().settingsFile(), profile);
}

// Open Log reads only a file: a named pipe would hold the window until a program wrote to
// it, a device like /dev/zero for ever.
TEST_F(LogFilesTest, OpenLogRefusesWhatIsNotAFileAtOnce) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("folder.txt"));
    GuardedFifo fifo(folder.file("fifo.txt"));
    ASSERT_TRUE(fifo.made());
    const QString before = main.log().plainText();
    const struct {
        QString path;
        const char* what;
    } cases[] = {
        {folder.file("fifo.txt"), "a named pipe (FIFO)"},
        {folder.file("folder.txt"), "a folder"},
        {"/dev/zero", "a device"},
    };
    for (const auto& c : cases) {
        boxes.clear();
        dialogs.chooseNext(c.path, QFileInfo(c.path).fileName());
        main.mnuOpenLog_Click();
        ASSERT_EQ(boxes.boxes().size(), 1) << c.what;
        EXPECT_EQ(boxes.boxes()[0].title, "Open Log Error:");
        EXPECT_EQ(boxes.boxes()[0].text, "The log file could not be opened: '" + c.path + "' is " +
                                             c.what + ", not a file.");
        EXPECT_EQ(main.log().plainText(), before) << c.what;
    }
    EXPECT_FALSE(fifo.readerWaited());
}

TEST_F(LogFilesTest, FailuresAreToldAndLeaveTheLogAndTheFilesAsTheyWere) {
    dialogs.chooseNext(folder.file("missing/log.rtf"), "log.rtf", 4);
    main.mnuSave_Click();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "Save Log Error:");
    EXPECT_TRUE(boxes.boxes()[0].text.contains(folder.file("missing")))
        << "the box names the folder that is not there";

    const QString before = main.log().plainText();
    const QByteArray whole = WriteRtf(runs(), "Mono");
    folder.write("cut.rtf", whole.left(whole.size() / 2));
    dialogs.chooseNext(folder.file("cut.rtf"), "cut.rtf");
    main.mnuOpenLog_Click();
    EXPECT_EQ(boxes.boxes().last().title, "Open Log Error:");
    EXPECT_EQ(main.log().plainText(), before);

    // Cancel in the dialog: nothing at all.
    boxes.clear();
    main.mnuOpenLog_Click();
    main.mnuSave_Click();
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(main.log().plainText(), before);
}

TEST_F(LogFilesTest, NotesAreStoredOnlyWhenSaved) {
    QPlainTextEdit* notes = main.ui().RichTextBox1;
    // Stored as the box holds them: a no-break space and a line separator stay.
    const QString typed = QString::fromUtf8("reset with 3\u00A0pulses\u2028then wait\nlast");
    notes->setPlainText(typed);
    main.controller().profile().cmdSaveNotes_Click();
    EXPECT_EQ(boxes.texts(), QStringList({"Data has been saved successfully!"}));
    main.controller().profile().cmdClearNotes_Click();
    EXPECT_TRUE(notes->toPlainText().isEmpty());
    const QString device1 = folder.file("Devices/Device1.kst");
    EXPECT_EQ(ReadSettings(profileConnStr(device1)).userNotes, typed);
    // A load that replaces the box, or the closing, asks first: No gives the edit up, Yes
    // stores it into the profile open before; Yes that cannot store stops the command, with
    // the notes still in the box.
    const QString question = "The user notes have been changed, would you like to save?";
    folder.addProfile("Devices/B.kst");
    const auto open = [&](const QString& name) {
        dialogs.chooseNext(folder.file("Devices/" + name), name);
        main.mnuOpenSettings_Click();
    };
    boxes.clear();
    boxes.answerNext(AnswerNo);
    open("Device1.kst");
    EXPECT_EQ(ReadSettings(profileConnStr(device1)).userNotes, typed);
    notes->setPlainText("reset with 4 pulses");
    {
        ForeignLock lock(device1);
        open("B.kst");
    }
    EXPECT_EQ(main.session().ini().settingsFile(), device1);
    EXPECT_EQ(notes->toPlainText(), "reset with 4 pulses");
    open("B.kst");
    notes->setPlainText("B's own");
    CountingEnder ender;
    main.close();
    EXPECT_EQ(boxes.texts().count(question), 4);
    EXPECT_EQ(ReadSettings(profileConnStr(device1)).userNotes, "reset with 4 pulses");
    EXPECT_EQ(ReadSettings(profileConnStr(folder.file("Devices/B.kst"))).userNotes, "B's own");
}

} // namespace
