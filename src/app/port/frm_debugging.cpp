#include "app/port/frm_debugging.h"

#include "app/main/main_controls.h"
#include "app/main/pictures.h"
#include "app/main/session.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kst {

namespace {

QLabel* picture(QWidget* parent, bool fullDuplex) {
    auto* label = new QLabel(parent);
    label->setPixmap(pictures::wiring(fullDuplex));
    return label;
}

} // namespace

frmDebugging::frmDebugging(QWidget* parent, Session& session, const MainControls& ui)
    : QDialog(parent), session_(session), ui_(ui) {
    setObjectName(QStringLiteral("frmDebugging"));
    setWindowTitle(QStringLiteral("Debugging / Simulating"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("Connect the optional 2-in-1 cable (Half-Duplex) as follows:")));
    layout->addWidget(picture(this, false));
    layout->addWidget(new QLabel(
        QStringLiteral("Or, connect the optional 2-in-1 cable (Full-Duplex) as follows:")));
    layout->addWidget(picture(this, true));
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    layout->addWidget(Command1, 0, Qt::AlignRight);
    connect(Command1, &QPushButton::clicked, this, &frmDebugging::Command1_Click);
}

void frmDebugging::Command1_Click() {
    const MainControls& ui = ui_;
    ui.Check1->setEnabled(true);
    ui.Check2->setEnabled(true);
    ui.CbTimer->setEnabled(true);
    MainState& state = session_.state();
    state.MonitoringMode = false;
    state.TwoPortActive = false;
    accept();
}

void frmDebugging::reject() {
    Command1_Click();
}

} // namespace kst
