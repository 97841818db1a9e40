#include "app/editors/dialog_buttons.h"

#include <QBoxLayout>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

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

void ignoreEnterInFields(QDialog& editor) {
    for (QPushButton* button : editor.findChildren<QPushButton*>()) {
        button->setDefault(false);
        button->setAutoDefault(false);
    }
}

} // namespace kst
