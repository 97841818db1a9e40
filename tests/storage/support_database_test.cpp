// The support database that the build makes: the first start of the program makes its
// default profile from it and loads its preferences, so every value must be one the
// loaders take.

#include "platform/db/catalog.h"
#include "platform/db/errors.h"
#include "platform/db/recordset.h"
#include "profile_test_support.h"
#include "storage/profile_creator.h"
#include "storage/profile_schema.h"
#include "storage/profile_validation.h"
#include "support/fakes.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using kst::db::ColumnKind;
using kst::db::Recordset;
using kst::db::Value;
namespace err = kst::db::err;

namespace {

const QString kBuilt = QStringLiteral(KST_SUPPORT_DB_PATH);

QString builtConn() {
    return kst::db::ConnectionInfo{kBuilt, kst::SupportPassword}.toString();
}

struct Range {
    const char* table;
    int ordinal;
    qint64 low;
    qint64 high;
};

// The lists and limits the loaders and editors put these values into.
const Range kRanges[] = {
    // Settings: list positions of port, baud, data bits, parity, stop bits, handshaking,
    // receive timer; the second port is a COM number.
    {"Settings", 1, 0, 15},
    {"Settings", 2, 0, 15},
    {"Settings", 3, 0, 4},
    {"Settings", 4, 0, 4},
    {"Settings", 5, 0, 2},
    {"Settings", 6, 0, 3},
    {"Settings", 7, 0, 11},
    {"Settings", 11, 1, 16},
    // Buttons: delay, repeat, interval, chain, signal, notation.
    {"progButtons", 3, 0, 65535},
    {"progButtons", 4, 0, 99},
    {"progButtons", 5, 0, 65535},
    {"progButtons", 6, 0, 32},
    {"progButtons", 7, 0, 9},
    {"progButtons", 8, 0, 1},
    // Rules: delay, repeat, interval, condition kind, line state, signal, notation.
    {"progAutoResp", 3, 0, 65535},
    {"progAutoResp", 4, 0, 99},
    {"progAutoResp", 5, 0, 65535},
    {"progAutoResp", 6, 0, 6},
    {"progAutoResp", 8, 0, 12},
    {"progAutoResp", 10, 0, 8},
    {"progAutoResp", 11, 0, 1},
    // Steps: kind, repeat, sub-routine, notation, wait, delay, interval, signal.
    {"progMacrosSeq", 2, 0, 1},
    {"progMacrosSeq", 4, 0, 99},
    {"progMacrosSeq", 5, 0, 7},
    {"progMacrosSeq", 6, 0, 1},
    {"progMacrosSeq", 7, 0, 65535},
    {"progMacrosSeq", 8, 0, 65535},
    {"progMacrosSeq", 9, 0, 65535},
    {"progMacrosSeq", 10, 0, 8},
    // Sub-routines: IF, ELSE IF and ELSE kinds, line states, repeats, times and signals.
    {"progMacrosSubRoutines", 2, 0, 6},
    {"progMacrosSubRoutines", 4, 0, 12},
    {"progMacrosSubRoutines", 6, 0, 99},
    {"progMacrosSubRoutines", 7, 0, 65535},
    {"progMacrosSubRoutines", 8, 0, 65535},
    {"progMacrosSubRoutines", 9, 0, 8},
    {"progMacrosSubRoutines", 10, 0, 6},
    {"progMacrosSubRoutines", 12, 0, 12},
    {"progMacrosSubRoutines", 14, 0, 99},
    {"progMacrosSubRoutines", 15, 0, 65535},
    {"progMacrosSubRoutines", 16, 0, 65535},
    {"progMacrosSubRoutines", 17, 0, 8},
    {"progMacrosSubRoutines", 19, 0, 99},
    {"progMacrosSubRoutines", 20, 0, 65535},
    {"progMacrosSubRoutines", 21, 0, 65535},
    {"progMacrosSubRoutines", 22, 0, 8},
    // Preferences: five colours and the font-size list position.
    {"userPreferences", 15, 0, 0xFFFFFF},
    {"userPreferences", 16, 0, 0xFFFFFF},
    {"userPreferences", 17, 0, 0xFFFFFF},
    {"userPreferences", 18, 0, 0xFFFFFF},
    {"userPreferences", 19, 0, 0xFFFFFF},
    {"userPreferences", 32, 0, 3},
};

TEST(SupportDatabase, OpensWithItsOwnPasswordOnly) {
    EXPECT_EQ(kst::test::errorNumberOf([] { kst::db::Catalog::open(builtConn()); }), 0);
    EXPECT_EQ(kst::test::errorNumberOf([] {
                  kst::db::Catalog::open(kst::db::ConnectionInfo{kBuilt, kst::ProfilePassword});
              }),
              err::InvalidPassword);
}

TEST(SupportDatabase, HoldsTheTemplatesAndPreferencesInTheProgramsFormat) {
    kst::db::Catalog catalog = kst::db::Catalog::open(builtConn());
    for (const kst::db::TableDef& def : kst::profileTables())
        EXPECT_EQ(catalog.table(def.name), def);
    EXPECT_EQ(catalog.table("userPreferences"), kst::userPreferencesTable());
    catalog.close();

    const std::pair<const char*, int> counts[] = {
        {"Settings", 1},       {"progButtons", 32},           {"progAutoResp", 16},
        {"progMacrosSeq", 64}, {"progMacrosSubRoutines", 64}, {"userPreferences", 1}};
    for (const auto& [table, count] : counts) {
        Recordset rs;
        rs.open(QString("SELECT * FROM ") + table, builtConn());
        EXPECT_EQ(rs.recordCount(), count) << table;
    }
}

TEST(SupportDatabase, EveryValueIsOneTheLoadersTake) {
    std::vector<kst::db::TableDef> tables = kst::profileTables();
    tables.push_back(kst::userPreferencesTable());
    for (const kst::db::TableDef& table : tables) {
        Recordset rs;
        rs.open("SELECT * FROM " + table.name, builtConn());
        for (int row = 1; !rs.eof(); ++row, rs.moveNext()) {
            for (int k = 1; k < rs.fieldCount(); ++k) {
                // A Null Yes/No field would stop the load.
                if (rs.field(k).kind == ColumnKind::YesNo) {
                    EXPECT_FALSE(rs.value(k).isNull()) << table.name.toStdString() << " " << k;
                }
            }
            for (const Range& r : kRanges) {
                if (table.name != r.table)
                    continue;
                const Value v = rs.value(r.ordinal);
                ASSERT_FALSE(v.isNull()) << r.table << " row " << row << " ordinal " << r.ordinal;
                EXPECT_GE(v.toInteger(), r.low) << r.table << " row " << row << " #" << r.ordinal;
                EXPECT_LE(v.toInteger(), r.high) << r.table << " row " << row << " #" << r.ordinal;
            }
        }
    }
}

TEST(SupportDatabase, ButtonsRulesAndMacrosAreWhatTheEditorsWouldStore) {
    const QRegularExpression hexList(QStringLiteral("^([0-9A-F]{1,2},)*$"));
    Recordset rs;
    rs.open("SELECT * FROM progButtons", builtConn());
    for (; !rs.eof(); rs.moveNext()) {
        const QString caption = rs.value(1).toText();
        EXPECT_TRUE(caption.size() >= 1 && caption.size() <= 3) << caption.toStdString();
        EXPECT_TRUE(hexList.match(rs.value(2).toText()).hasMatch());
        EXPECT_TRUE(hexList.match(rs.value(9).toText()).hasMatch());
    }
    rs.close();
    // A line-event rule (kind 6) takes an event code 0..6; the others a line state 0..12.
    rs.open("SELECT * FROM progAutoResp", builtConn());
    for (; !rs.eof(); rs.moveNext())
        EXPECT_LE(rs.value(8).toInteger(), rs.value(6).toInteger() == 6 ? 6 : 12);
    rs.close();
    rs.open("SELECT * FROM progMacrosSeq", builtConn());
    for (; !rs.eof(); rs.moveNext())
        EXPECT_FALSE(rs.value(1).toText().isEmpty());
}

TEST(SupportDatabase, TheFirstStartCanMakeItsDefaultProfileFromIt) {
    QTemporaryDir programFolder;
    ASSERT_TRUE(QFile::copy(kBuilt, kst::supportDbPath(programFolder.path())));
    ASSERT_TRUE(QDir(programFolder.path()).mkpath("Devices"));
    const QString profile = programFolder.filePath("Devices/Device1.kst");
    kst::test::RecordingMessageBoxes boxes;
    kst::NoProgress progress;
    int opened = 0;
    kst::ProfileCreator creator(kst::supportConnStr(programFolder.path()), progress,
                                [&](const QString&, const QString&) { return ++opened > 0; });
    EXPECT_TRUE(creator.CreateDB(profile, "Device1.kst"));
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join('\n').toStdString();
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(kst::ValidateSettingsDB(profile));
}

} // namespace
