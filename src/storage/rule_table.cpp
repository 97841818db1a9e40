#include "rule_table.h"

#include "columns/prog_auto_resp_columns.h"
#include "platform/db/recordset.h"
#include "storage/condition_send_checks.h"
#include "storage/field_values.h"

namespace kst {

namespace {

namespace C = ProgAutoRespColumn;

const QString Query = QStringLiteral("SELECT * FROM ProgAutoResp");
const ConditionColumns RuleConditionColumns{C::CondOpt, C::Condition, C::strConditionCtrl,
                                            C::CondChk, C::CondCbo};
const SendColumns ResponseColumns{C::respCodes,    C::strRespCtrl, C::respRepeat, C::respDelay,
                                  C::respInterval, C::respChk,     C::respCbo};

} // namespace

RuleField ruleField(ConditionField field) {
    return field == ConditionField::Data ? RuleField::Condition : RuleField::ConditionCodes;
}

RuleField ruleField(SendField field) {
    return RuleField(static_cast<int>(RuleField::Command) + static_cast<int>(field));
}

RuleTable ReadRuleTable(const QString& settingsConnStr) {
    RuleTable table;
    db::Recordset rs;
    rs.open(Query, settingsConnStr);
    rs.moveFirst();
    table.notation = rs.value(C::hexFormat).isNull() || rs.value(C::hexFormat).toText() != "0";
    for (int i = 0; i < AutoResponseRuleCount; ++i) {
        ConditionRow& c = table.rows[static_cast<size_t>(i)].condition;
        SendRow& s = table.rows[static_cast<size_t>(i)].response;
        const QString rule = QStringLiteral("rule %1").arg(i + 1);
        c.kind = optionPosition(rs, C::CondOpt, ConditionKindOptions, rule);
        c.data = rs.value(C::Condition).toText();
        c.controlCodes = rs.value(C::strConditionCtrl).toText();
        c.lineStateCheck = rs.value(C::CondChk).toBool();
        c.lineState = listPosition(rs, C::CondCbo, lineStateListSize(c.kind), rule);
        s.command = rs.value(C::respCodes).toText();
        s.controlCodes = rs.value(C::strRespCtrl).toText();
        s.delay = rs.value(C::respDelay).toText();
        s.repeat = rs.value(C::respRepeat).toText();
        s.interval = rs.value(C::respInterval).toText();
        s.signalCheck = rs.value(C::respChk).toBool();
        s.signal = listPosition(rs, C::respCbo, SignalListSize, rule);
        rs.moveNext();
    }
    rs.close();
    return table;
}

void WriteRuleTable(const QString& settingsConnStr, const RuleTable& table) {
    db::Recordset rs;
    rs.open(Query, settingsConnStr);
    rs.beginTrans();
    rs.moveFirst();
    rs.setValue(C::hexFormat, db::Value(static_cast<qint64>(table.notation)));
    for (const RuleRow& row : table.rows) {
        WriteConditionRow(rs, RuleConditionColumns, row.condition);
        WriteSendRow(rs, ResponseColumns, row.response);
        rs.moveNext();
    }
    rs.commitTrans();
    rs.close();
}

std::optional<Refusal> RuleTable::checkField(int row, ConditionField field, const QString& text,
                                             int notation, int kind) {
    return checkConditionField(row, static_cast<int>(ruleField(field)), field, text, notation, kind,
                               true);
}

std::optional<Refusal> RuleTable::checkField(int row, SendField field, const QString& text,
                                             int notation) {
    return checkSendField(row, static_cast<int>(ruleField(field)), field, text, notation);
}

std::optional<Refusal> RuleTable::firstBadList() const {
    for (int i = 0; i < AutoResponseRuleCount; ++i) {
        if (auto refusal = checkField(i, SendField::Command,
                                      rows[static_cast<size_t>(i)].response.command, notation))
            return refusal;
    }
    return std::nullopt;
}

std::optional<Refusal> RuleTable::validate() const {
    for (int i = 0; i < AutoResponseRuleCount; ++i) {
        const ConditionRow& c = rows[static_cast<size_t>(i)].condition;
        const SendRow& s = rows[static_cast<size_t>(i)].response;
        const auto fieldOf = [](ConditionField field) {
            return static_cast<int>(ruleField(field));
        };
        if (auto refusal = checkCondition(i, fieldOf, c, notation, true))
            return refusal;
        for (const auto& [field, text] :
             {std::pair{SendField::Command, s.command},
              std::pair{SendField::ControlCodes, s.controlCodes},
              std::pair{SendField::Delay, s.delay}, std::pair{SendField::Interval, s.interval}}) {
            if (!sendFieldInUse(field, notation))
                continue;
            if (auto refusal = checkField(i, field, text, notation))
                return refusal;
        }
    }
    return std::nullopt;
}

RuleTable DefaultRuleTable() {
    RuleTable table;
    for (RuleRow& row : table.rows)
        row.response.delay = row.response.repeat = row.response.interval = QStringLiteral("0");
    return table;
}

} // namespace kst
