#include "converter_control.h"

#include "notation_converter.h"
#include "platform/desktop/checked_field.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kst {

ConverterControl::ConverterControl(const ConverterControls& controls) : ui_(controls) {
    input_ =
        new CheckedField(ui_.Text2,
                         {.key = [this](QChar typed) { return converterKey(typed, fromNotation_); },
                          .enter = [this] { Text2_Enter(); },
                          .validate = [this] { return Text2_Validate(); }},
                         this);
    for (int i = 0; i < 4; ++i) {
        const auto at = static_cast<size_t>(i);
        connect(ui_.Option3[at], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option3_Click(i);
        });
        connect(ui_.Option4[at], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option4_Click(i);
        });
    }
    connect(ui_.Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(ui_.Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(ui_.Text2, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
}

void ConverterControl::Form_Load() {
    Option3_Click(0);
    toNotation_ = 1;
}

void ConverterControl::Option3_Click(int Index) {
    ui_.Text1->clear();
    ui_.Text2->clear();
    fromNotation_ = Index;
    input_->setTypingLimit(converterMaxLength(Index));
}

void ConverterControl::Option4_Click(int Index) {
    ui_.Text1->clear();
    toNotation_ = Index;
    // Binary digits are read from the most significant end.
    const bool binary = Index == 3;
    ui_.Label8->setVisible(binary);
    ui_.Label7->setVisible(binary);
}

void ConverterControl::Command3_Click() {
    const Conversion conversion = ConvertNotation(ui_.Text2->text(), fromNotation_, toNotation_);
    if (conversion.refusal) {
        conversion.refusal->show();
        ui_.Text1->clear();
        ui_.Text2->setFocus();
        return;
    }
    ui_.Text1->setText(conversion.result);
}

void ConverterControl::Command4_Click() {
    ui_.Text2->clear();
    ui_.Text1->clear();
}

void ConverterControl::Text2_Change() {
    const bool any = !ui_.Text2->text().isEmpty();
    ui_.Command3->setEnabled(any);
    ui_.Command4->setEnabled(any);
    ui_.Text1->clear();
}

void ConverterControl::Text2_Enter() {
    if (passes(converterRangeRefusal(ui_.Text2->text(), fromNotation_)))
        Command3_Click();
}

bool ConverterControl::Text2_Validate() {
    return passes(converterRangeRefusal(ui_.Text2->text(), fromNotation_));
}

} // namespace kst
