#include "app/editors/dialog_buttons.h"

#include "tools/tool_design.h"

#include <QBoxLayout>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>

namespace kst {

OkCancel addOkCancel(QDialog& dialog, QBoxLayout& layout) {
    auto* row = new QHBoxLayout();
    row->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    cancel->setObjectName(QStringLiteral("Command2"));
    row->addWidget(ok);
    row->addWidget(cancel);
    layout.addLayout(row);
    return {ok, cancel};
}

std::array<QRadioButton*, 2> addNotationOptions(QDialog& dialog, QBoxLayout& layout,
                                                QObject* focusFilter,
                                                const std::function<void(int)>& clicked) {
    auto* frame = new QGroupBox(QStringLiteral("Data notation"), &dialog);
    frame->setObjectName(QStringLiteral("Frame2"));
    auto* row = new QHBoxLayout(frame);
    std::array<QRadioButton*, 2> options{};
    for (int i = 0; i < 2; ++i) {
        auto* option =
            new QRadioButton(i == 0 ? QStringLiteral("Hex") : QStringLiteral("ASCII"), frame);
        option->setObjectName(elementName(QStringLiteral("Option1"), i));
        option->installEventFilter(focusFilter);
        row->addWidget(option);
        QObject::connect(option, &QRadioButton::clicked, &dialog, [clicked, i] { clicked(i); });
        options[static_cast<size_t>(i)] = option;
    }
    layout.addWidget(frame);
    return options;
}

QString commandNote(int notation) {
    return notation == 0 ? QStringLiteral("2) * Append (,) after each byte of command code (e.g. "
                                          "1A,1B,)")
                         : QStringLiteral("2) * Input ASCII (e.g. ATI1) and control code (Hex "
                                          "format: e.g. D,A,) to be sent");
}

void ignoreEnterInFields(QDialog& editor) {
    for (QPushButton* button : editor.findChildren<QPushButton*>()) {
        button->setDefault(false);
        button->setAutoDefault(false);
    }
}

} // namespace kst
