#include "platform/runtime_error.h"
#include "platform/services.h"
#include "storage/columns/prog_auto_resp_columns.h"
#include "storage/profile_schema.h"
#include "storage/rule_table.h"
#include "support/profile_rows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using namespace kst;
using db::Value;

namespace {

const QString HexMessage =
    "Invalid data: Hex codes exceed 2 digits, or no command codes in between two (,) sign!";
const QString LengthMessage = "Invalid data: Length data contains non-digit characters!";

Refusal listRefusal(int row, RuleField field) {
    return Refusal{row, int(field), HexMessage, MsgIcon::Exclamation, "Error:"};
}
Refusal plainRefusal(int row, RuleField field, const QString& message) {
    return Refusal{row, int(field), message};
}

// One change to the reset table per case, and the first refusal a save meets (or none).
TEST(RuleTableValidate, TheFirstValueThatCannotBeStoredIsNamedWithItsBox) {
    using T = RuleTable;
    const struct {
        const char* what;
        std::function<void(T&)> change;
        std::optional<Refusal> refusal;
    } cases[] = {
        {"the reset table", [](T&) {}, std::nullopt},
        {"Hex data with an empty item", [](T& t) { t.rows[2].condition.data = "1A,,"; },
         listRefusal(2, RuleField::Condition)},
        {"Hex data beyond a byte", [](T& t) { t.rows[0].condition.data = "100,"; },
         listRefusal(0, RuleField::Condition)},
        {"three digits of one byte", [](T& t) { t.rows[0].condition.data = "0FF,"; }, std::nullopt},
        {"text after the last comma is no item", [](T& t) { t.rows[0].condition.data = "4F,4"; },
         std::nullopt},
        {"a Hex command beyond a byte", [](T& t) { t.rows[15].response.command = "1A,1FF,"; },
         listRefusal(15, RuleField::Command)},
        {"a length holding a comma",
         [](T& t) {
             t.rows[6].condition.kind = 3;
             t.rows[6].condition.data = "12,";
         },
         plainRefusal(6, RuleField::Condition, LengthMessage)},
        {"a length of digits",
         [](T& t) {
             t.rows[6].condition.kind = 5;
             t.rows[6].condition.data = "12";
         },
         std::nullopt},
        {"a length in ASCII holding a comma",
         [](T& t) {
             t.notation = 1;
             t.rows[7].condition.kind = 4;
             t.rows[7].condition.data = "6,";
         },
         plainRefusal(7, RuleField::Condition, LengthMessage)},
        {"a Signaling rule's data is not used",
         [](T& t) {
             t.rows[1].condition.kind = 6;
             t.rows[1].condition.data = "1A,,";
         },
         std::nullopt},
        {"ASCII data and commands are text",
         [](T& t) {
             t.notation = 1;
             t.rows[3].condition.data = "1A,,";
             t.rows[3].response.command = "ATI,,";
         },
         std::nullopt},
        {"ASCII control codes of a condition",
         [](T& t) {
             t.notation = 1;
             t.rows[4].condition.controlCodes = "D,,A,";
         },
         listRefusal(4, RuleField::ConditionCodes)},
        {"ASCII control codes of a response",
         [](T& t) {
             t.notation = 1;
             t.rows[11].response.controlCodes = "D,100,";
         },
         listRefusal(11, RuleField::CommandCodes)},
        {"codes a length rule does not show",
         [](T& t) {
             t.notation = 1;
             t.rows[4].condition.kind = 3;
             t.rows[4].condition.controlCodes = "D,,A,";
         },
         std::nullopt},
        {"codes Hex does not show",
         [](T& t) {
             t.rows[4].condition.controlCodes = "D,,";
             t.rows[4].response.controlCodes = "D,,";
         },
         std::nullopt},
        {"a delay of 65535", [](T& t) { t.rows[2].response.delay = "65535"; }, std::nullopt},
        {"a delay of 65536", [](T& t) { t.rows[2].response.delay = "65536"; },
         plainRefusal(2, RuleField::Delay, "Maximum delay time is 65,535 ms, please try again!")},
        {"an interval of 70000", [](T& t) { t.rows[13].response.interval = "70000"; },
         plainRefusal(13, RuleField::Interval,
                      "Maximum interval time is 65,535 ms, please try again!")},
        {"rules in order",
         [](T& t) {
             t.rows[9].condition.data = "G,";
             t.rows[1].response.interval = "99999";
         },
         plainRefusal(1, RuleField::Interval,
                      "Maximum interval time is 65,535 ms, please try again!")},
        {"a rule's fields in order",
         [](T& t) {
             t.rows[5].response.delay = "99999";
             t.rows[5].response.command = "1A,,";
             t.rows[5].condition.data = "1,,";
         },
         listRefusal(5, RuleField::Condition)},
    };
    for (const auto& c : cases) {
        RuleTable table = DefaultRuleTable();
        c.change(table);
        EXPECT_EQ(table.validate(), c.refusal) << c.what;
    }
}

TEST(RuleTableValidate, ClosingChecksOnlyTheCommandsOfHexNotation) {
    RuleTable table = DefaultRuleTable();
    table.rows[0].condition.data = "1A,,";
    table.rows[3].response.delay = "99999";
    EXPECT_EQ(table.firstBadList(), std::nullopt);
    table.rows[0].response.command = "1A,,";
    EXPECT_EQ(table.firstBadList(), listRefusal(0, RuleField::Command));
    table.notation = 1;
    EXPECT_EQ(table.firstBadList(), std::nullopt);
}

// How each field of the two groups takes keys and is tidied when left, by notation and
// kind: Hex data lists as the receive path writes them, lengths as digits.
TEST(RuleFields, KeysAndTidyingFollowTheNotationAndTheKind) {
    auto typed = [](auto keyOf, const QString& keys) {
        QString kept;
        for (QChar key : keys) {
            if (const std::optional<QChar> taken = keyOf(key))
                kept += *taken;
        }
        return kept;
    };
    const QString keys = "0a,Fg1 z";
    const struct {
        const char* what;
        std::function<std::optional<QChar>(QChar)> key;
        QString kept;
    } filters[] = {
        {"Hex data", [](QChar k) { return conditionFieldKey(ConditionField::Data, k, 0, 0); },
         "0A,F1"},
        {"Hex length", [](QChar k) { return conditionFieldKey(ConditionField::Data, k, 0, 3); },
         "01"},
        {"ASCII data", [](QChar k) { return conditionFieldKey(ConditionField::Data, k, 1, 2); },
         keys},
        {"ASCII length", [](QChar k) { return conditionFieldKey(ConditionField::Data, k, 1, 5); },
         "01"},
        {"condition codes",
         [](QChar k) { return conditionFieldKey(ConditionField::ControlCodes, k, 1, 0); }, "0A,F1"},
        {"Hex command", [](QChar k) { return sendFieldKey(SendField::Command, k, 0); }, "0A,F1"},
        {"ASCII command", [](QChar k) { return sendFieldKey(SendField::Command, k, 1); }, keys},
        {"response codes", [](QChar k) { return sendFieldKey(SendField::ControlCodes, k, 1); },
         "0A,F1"},
        {"delay", [](QChar k) { return sendFieldKey(SendField::Delay, k, 0); }, "01"},
    };
    for (const auto& f : filters)
        EXPECT_EQ(typed(f.key, keys), f.kept) << f.what;

    const struct {
        const char* what;
        QString tidied;
        QString expected;
    } tidying[] = {
        {"Hex data", tidyConditionField(ConditionField::Data, "0a,01,ff", 0, 0), "A,1,"},
        {"Hex data, three digits", tidyConditionField(ConditionField::Data, "0FF,00,", 0, 1),
         "FF,0,"},
        {"ASCII data", tidyConditionField(ConditionField::Data, "0a,", 1, 0), "0a,"},
        {"a length", tidyConditionField(ConditionField::Data, "012", 0, 3), "012"},
        {"condition codes", tidyConditionField(ConditionField::ControlCodes, "0d,0A", 1, 0), "D,"},
        {"Hex command", tidySendField(SendField::Command, "0a,01,ff", 0, true), "0a,01,"},
        {"Hex command, no comma", tidySendField(SendField::Command, "1A", 0, true), ""},
        {"ASCII command", tidySendField(SendField::Command, "AT,x", 1, true), "AT,x"},
        {"response codes", tidySendField(SendField::ControlCodes, "0d,0a,", 1, true), "D,A,"},
        {"response codes cut", tidySendField(SendField::ControlCodes, "0d,0a", 1, false), "0d,"},
    };
    for (const auto& t : tidying)
        EXPECT_EQ(t.tidied, t.expected) << t.what;
}

// A profile made from the support database the build ships.
class RuleTableStorage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("Devices"));
        ASSERT_TRUE(QFile::copy(KST_SUPPORT_DB_PATH, supportDbPath(dir.path())));
        const QString profile = dir.filePath("Devices/Device1.kst");
        test::createProfile(supportConnStr(dir.path()), profile);
        conn = profileConnStr(profile);
    }

    QTemporaryDir dir;
    QString conn;
};

TEST_F(RuleTableStorage, WrittenRulesReadBackAsTheyWereShown) {
    RuleTable table = DefaultRuleTable();
    table.notation = 1;
    RuleRow& rule = table.rows[6];
    rule.condition = ConditionRow{2, "OK", "D,A,", true, 12};
    rule.response = SendRow{"ATI1", "D,", "250", "3", "100", true, 8};
    table.rows[15].condition = ConditionRow{6, "", "", false, 6};
    WriteRuleTable(conn, table);
    EXPECT_EQ(ReadRuleTable(conn), table);
    WriteRuleTable(conn, DefaultRuleTable());
    EXPECT_EQ(ReadRuleTable(conn), DefaultRuleTable());
}

// A kind, line state or signal outside its list cannot be shown as it is stored: shown as
// the list's first entry, a save would make a rule that never answered answer. The read
// is refused, naming the rule. An empty one is the first entry, as the engine reads it;
// the notation is Hex only for a stored 0.
TEST_F(RuleTableStorage, AStoredValueOutsideItsListIsRefusedNamingTheRule) {
    namespace C = ProgAutoRespColumn;
    const struct {
        const char* what;
        std::vector<std::pair<int, Value>> fields; // of rule 3
        const char* refusal;                       // none: read as `kind`, `lineState`, `signal`
        int kind = 0;
        int lineState = 0;
        int signal = 0;
    } cases[] = {
        {"a kind beyond the options",
         {{C::CondOpt, Value(qint64(7))}},
         "rule 3 holds 7 in its column 'CondOpt', outside its list of 7 entries."},
        {"a negative kind",
         {{C::CondOpt, Value(qint64(-1))}},
         "rule 3 holds -1 in its column 'CondOpt', outside its list of 7 entries."},
        {"a line state beyond the 13",
         {{C::CondCbo, Value(qint64(13))}},
         "rule 3 holds 13 in its column 'CondCbo', outside its list of 13 entries."},
        {"a line state beyond Signaling's 7 events",
         {{C::CondOpt, Value(qint64(6))}, {C::CondCbo, Value(qint64(7))}},
         "rule 3 holds 7 in its column 'CondCbo', outside its list of 7 entries."},
        {"Signaling's last event",
         {{C::CondOpt, Value(qint64(6))}, {C::CondCbo, Value(qint64(6))}},
         nullptr,
         6,
         6,
         0},
        {"a signal beyond Play Sound",
         {{C::respCbo, Value(qint64(9))}},
         "rule 3 holds 9 in its column 'respCbo', outside its list of 9 entries."},
        {"Play Sound", {{C::respCbo, Value(qint64(8))}}, nullptr, 0, 0, 8},
        {"no signal chosen: a list takes -1", {{C::respCbo, Value(qint64(-1))}}, nullptr, 0, 0, -1},
        {"empty positions",
         {{C::CondOpt, Value()}, {C::CondCbo, Value()}, {C::respCbo, Value()}},
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteRuleTable(conn, DefaultRuleTable());
        for (const auto& [ordinal, value] : c.fields)
            test::setRow(conn, "progAutoResp", 3, {{ordinal, value}});
        try {
            const RuleRow row = ReadRuleTable(conn).rows[2];
            EXPECT_EQ(c.refusal, nullptr);
            EXPECT_EQ(row.condition.kind, c.kind);
            EXPECT_EQ(row.condition.lineState, c.lineState);
            EXPECT_EQ(row.response.signal, c.signal);
        } catch (const RunTimeError& e) {
            ASSERT_NE(c.refusal, nullptr) << e.description().toStdString();
            EXPECT_EQ(e.number(), err::InvalidPropertyValue);
            EXPECT_EQ(e.description(), QString("Invalid property value: ") + c.refusal);
        }
    }
    test::setRow(conn, "progAutoResp", 1, {{C::hexFormat, Value()}});
    EXPECT_EQ(ReadRuleTable(conn).notation, 1);
}

TEST_F(RuleTableStorage, AWriteThatFailsPartWayLeavesEveryRuleAsItWas) {
    const RuleTable before = ReadRuleTable(conn);
    RuleTable changed = DefaultRuleTable();
    changed.notation = 1;
    changed.rows[0].condition.data = "new";
    changed.rows[0].response.command = "AT";
    changed.rows[9].response.command = QString(300, u'x'); // beyond the column's 255 characters
    EXPECT_THROW(WriteRuleTable(conn, changed), RunTimeError);
    EXPECT_EQ(ReadRuleTable(conn), before);
}

} // namespace
