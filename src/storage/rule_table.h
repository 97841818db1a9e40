#pragma once

#include "autoresp/auto_response_rule.h"
#include "storage/condition_send_rows.h"

#include <QString>
#include <array>
#include <optional>

namespace kst {

// One auto-response rule as its editor shows it: the condition and the response.
struct RuleRow {
    ConditionRow condition;
    SendRow response;

    bool operator==(const RuleRow&) const = default;
};

// The fields of a rule, as a refusal names them.
enum class RuleField { Condition, ConditionCodes, Command, CommandCodes, Delay, Repeat, Interval };
RuleField ruleField(ConditionField field);
RuleField ruleField(SendField field);

// The 16 auto-response rules of the profile as their editor shows them, and the notation
// their texts are typed in.
struct RuleTable {
    // 0 Hex, 1 ASCII (any stored value but 0 reads as ASCII).
    int notation = 0;
    std::array<RuleRow, AutoResponseRuleCount> rows;

    bool operator==(const RuleTable&) const = default;

    // The check of one field as it is left: a list that is no list of bytes, a length
    // holding a comma, a delay or interval over 65,535 ms. `kind` is the rule's kind.
    static std::optional<Refusal> checkField(int row, ConditionField field, const QString& text,
                                             int notation, int kind);
    static std::optional<Refusal> checkField(int row, SendField field, const QString& text,
                                             int notation);
    // The first command that is no list in Hex notation (the check on closing).
    std::optional<Refusal> firstBadList() const;
    // Everything a save needs: every field a rule shows, rule by rule in the order of its
    // fields. A field that is not shown (the data of a Signaling rule, control codes in
    // Hex) is not checked: nobody could put it right.
    std::optional<Refusal> validate() const;
};

// Reads `progAutoResp` of the profile. A kind, line state or signal outside its list
// raises "Invalid property value" naming the rule (see listPosition): the rule cannot be
// shown as it is stored.
RuleTable ReadRuleTable(const QString& settingsConnStr);
// Writes the 16 rules and the notation in one transaction: a failure raises and leaves
// the table as it was.
void WriteRuleTable(const QString& settingsConnStr, const RuleTable& table);
// What a reset stores: Hex notation, every rule "Data=*" with nothing to compare or send.
RuleTable DefaultRuleTable();

} // namespace kst
