#pragma once

#include "app/editors/table_editor.h"
#include "autoresp/auto_response_rule.h"
#include "storage/rule_table.h"

#include <QDialog>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace kst {

class ConditionFields;
class SendFields;

// "Programmable Auto-Response": the 16 rules of the current profile, four to a tab, each
// a condition and the response it sends. Save checks every rule, stores all of them at
// once and hands the rules as stored to the engine; Reset stores empty rules.
class frmAutoResp : public TableEditor<RuleTable> {
    Q_OBJECT
public:
    // `settingsConnStr`: the profile whose rules are edited. `stored`: after a save or reset
    // has stored the rules, they are handed over as the profile now holds them.
    frmAutoResp(QWidget* parent, QString settingsConnStr,
                std::function<void(const AutoResponseRules&)> stored);
    ~frmAutoResp() override;

    // One rule: its condition, the arrow and its response.
    struct Rule {
        ConditionFields* condition = nullptr;
        QLabel* Picture1 = nullptr;
        SendFields* response = nullptr;
    };
    std::array<Rule, AutoResponseRuleCount> rules{};
    QTabWidget* SSTab1 = nullptr;
    std::array<QRadioButton*, 2> Option1{};
    QLabel* Label4 = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdReset = nullptr;
    QPushButton* cmdExit = nullptr;

    void Form_Load();
    void Option1_Click(int Index);
    RuleTable table() const override;
    // Something was changed since the rules were loaded or stored.
    bool changed() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showTable(const RuleTable& table) override;
    RuleTable defaultTable() const override { return DefaultRuleTable(); }
    // Stores `table` and hands the rules to the engine; false after a message.
    bool store(const RuleTable& table, const QString& failureTitle) override;
    void focusRefused(const Refusal& refusal) override;
    void markUnchanged() override { rulesChanged_ = false; }
    QPushButton* saveButton() const override { return cmdSave; }

private:
    void buildRule(QWidget* page, int rule);

    QString settingsConnStr_;
    std::function<void(const AutoResponseRules&)> stored_;
    int editNotation_ = 0;
    int loadedNotation_ = 0;
    bool rulesChanged_ = false;
};

} // namespace kst
