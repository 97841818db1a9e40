#include "app/app_fixtures.h"
#include "storage/ini_file.h"

#include <QDir>

using namespace kst;
using namespace kst::test;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    IniFile ini{folder.path()};
};

TEST_F(IniFileTest, DefaultContentNamesTheDefaultProfile) {
    ini.Create_File();
    EXPECT_EQ(folder.read("kst.ini"),
              QFile::encodeName(folder.path()) + "/Devices/Device1.kst\r\n1\r\n");
}

TEST_F(IniFileTest, MissingFileIsCreatedAndRead) {
    ini.ReadIniFile();
    EXPECT_TRUE(FileExists(folder.file("kst.ini")));
    EXPECT_EQ(ini.SettingsPath(), folder.path() + "/Devices/Device1.kst");
    EXPECT_EQ(ini.SettingsFileName(), "Device1.kst");
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(IniFileTest, RecordedPathIsWrittenWithPrintedFlagAndReadBack) {
    const QString profile = folder.path() + "/Devices/Plant ä.kst";
    ini.WriteIniFile(profile, ini.IniFlag());
    EXPECT_EQ(folder.read("kst.ini"), QFile::encodeName(profile) + "\r\n 0 \r\n");
    ini.ReadIniFile();
    EXPECT_EQ(ini.SettingsPath(), profile);
    EXPECT_EQ(ini.SettingsFileName(), "Plant ä.kst");
    EXPECT_EQ(ini.IniLine(1), " 0 ");
}

TEST_F(IniFileTest, PrintedNumbersKeepTheirBlanks) {
    EXPECT_EQ(IniFile::printedNumber(0), " 0 ");
    EXPECT_EQ(IniFile::printedNumber(42), " 42 ");
    EXPECT_EQ(IniFile::printedNumber(-7), "-7 ");
}

TEST_F(IniFileTest, LineEndingsAndShortFilesReadAsLines) {
    struct Case {
        QByteArray content;
        QString path;
    };
    const QList<Case> cases = {
        {"/a/b/one.kst\r\n 0 \r\n", "/a/b/one.kst"},
        {"/a/b/two.kst\r\n1", "/a/b/two.kst"},     // last line without CR LF
        {"/a/b/three.kst\n1\n", "/a/b/three.kst"}, // edited on this system
        {"NoFolder.kst\r\n", "NoFolder.kst"},      // no separator: the whole path
        {"\r\n", ""},
    };
    for (const Case& c : cases) {
        folder.write("kst.ini", c.content);
        ini.ReadIniFile();
        EXPECT_EQ(ini.SettingsPath(), c.path) << c.content.constData();
        EXPECT_EQ(ini.SettingsFileName(), fileTitleOf(c.path));
    }
    EXPECT_EQ(fileTitleOf("NoFolder.kst"), "NoFolder.kst");
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(IniFileTest, EmptyFileKeepsThePathOfTheLastRead) {
    folder.write("kst.ini", "/x/Last.kst\r\n 0 \r\n");
    ini.ReadIniFile();
    folder.write("kst.ini", "");
    ini.ReadIniFile();
    EXPECT_EQ(ini.SettingsPath(), "/x/Last.kst");
    EXPECT_EQ(ini.SettingsFileName(), "Last.kst");
}

TEST_F(IniFileTest, ThirdLineIsRefusedAndKeepsThePreviousValues) {
    folder.write("kst.ini", "/x/Good.kst\r\n 0 \r\n");
    ini.ReadIniFile();
    folder.write("kst.ini", "/x/Other.kst\r\n 0 \r\nextra\r\n");
    ini.ReadIniFile();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "LoadText Error");
    EXPECT_EQ(boxes.boxes()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(boxes.boxes()[0].text, "Subscript out of range");
    EXPECT_EQ(ini.SettingsPath(), "/x/Good.kst");
}

TEST_F(IniFileTest, FailuresShowTheirBoxesAndChangeNothing) {
    IniFile nowhere(folder.path() + "/missing-folder");
    nowhere.ReadIniFile();
    nowhere.WriteIniFile("/x/A.kst", 0);
    const QString missing =
        "Path not found: the folder '" + folder.path() + "/missing-folder' does not exist.";
    ASSERT_EQ(boxes.texts(), QStringList({missing, missing}));
    EXPECT_EQ(boxes.boxes()[0].title, "LoadText Error");
    EXPECT_EQ(boxes.boxes()[1].title, "SaveText Error");
    EXPECT_TRUE(nowhere.SettingsPath().isEmpty());
    EXPECT_FALSE(QDir(folder.path() + "/missing-folder").exists());
}

// The file is replaced as a whole: a reader that opened the old file before the write
// still sees the old two lines complete, never a truncated or half-written file.
TEST_F(IniFileTest, WriteReplacesTheFileAtOnce) {
    ini.Create_File();
    const QByteArray before = folder.read("kst.ini");
    QFile oldFile(folder.file("kst.ini"));
    ASSERT_TRUE(oldFile.open(QIODevice::ReadOnly));

    ini.WriteIniFile("/somewhere/Else.kst", 0);

    EXPECT_EQ(oldFile.readAll(), before);
    EXPECT_EQ(folder.read("kst.ini"), "/somewhere/Else.kst\r\n 0 \r\n");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList({"kst.ini"}));
}

TEST(FileExists, OnlyReadableFilesExist) {
    ProgramFolder folder;
    folder.write("present.kst", "x");
    EXPECT_TRUE(FileExists(folder.file("present.kst")));
    EXPECT_FALSE(FileExists(folder.file("absent.kst")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists(folder.path()));
}

} // namespace
