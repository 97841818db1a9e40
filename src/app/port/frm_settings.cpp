#include "app/port/frm_settings.h"

#include "app/editors/dialog_buttons.h"
#include "app/main/session.h"
#include "app/port/port_list.h"
#include "app/port/port_settings.h"
#include "platform/runtime_error.h"
#include "platform/services.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kst {

frmSettings::frmSettings(QWidget* parent, Session& session, PortListControl& portList)
    : QDialog(parent), session_(session), portList_(portList) {
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Advanced Settings"));
    auto* layout = new QVBoxLayout(this);
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    layout->addWidget(SSTab1);

    auto* flowPage = new QWidget(SSTab1);
    auto* flowLayout = new QVBoxLayout(flowPage);
    Frame1 = new QGroupBox(QStringLiteral("Flow Control (Handshaking)"), flowPage);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* options = new QVBoxLayout(Frame1);
    const char* const methods[] = {"None (DTR, RTS can be controlled manually)",
                                   "Software: Xon / Xoff", "Hardware: RTS / CTS",
                                   "Both: Software + Hardware"};
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(methods[i]), Frame1);
        option->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        Option1[static_cast<size_t>(i)] = option;
        options->addWidget(option);
        connect(option, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    flowLayout->addWidget(Frame1);
    auto* warning = new QLabel(
        QStringLiteral("Warning: Make sure the controlled device use the same Handshaking method, "
                       "program might hang if handshaking mismatched "),
        flowPage);
    warning->setWordWrap(true);
    flowLayout->addWidget(warning);
    SSTab1->addTab(flowPage, QStringLiteral("Flow Control"));

    auto* linePage = new QWidget(SSTab1);
    auto* lineLayout = new QVBoxLayout(linePage);
    Frame2 = new QGroupBox(QStringLiteral("Line State Detection"), linePage);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* filters = new QVBoxLayout(Frame2);
    const char* const lines[] = {"Detect CTS", "Detect DSR", "Detect DCD", "Detect RI"};
    for (int i = 0; i < 4; ++i) {
        auto* box = new QCheckBox(QString::fromLatin1(lines[i]), Frame2);
        box->setObjectName(QStringLiteral("chkFilter(%1)").arg(i));
        chkFilter[static_cast<size_t>(i)] = box;
        filters->addWidget(box);
    }
    lineLayout->addWidget(Frame2);
    SSTab1->addTab(linePage, QStringLiteral("Line State Detection"));

    // Moving the focus onto the first control of a page brings its page to the front.
    Option1[0]->installEventFilter(this);
    chkFilter[0]->installEventFilter(this);

    layout->addWidget(new QLabel(
        QStringLiteral("Note: Advanced settings apply for Debugging/Simulating mode ONLY")));
    const OkCancel buttons = addOkCancel(*this, *layout);
    Command1 = buttons.ok;
    Command2 = buttons.cancel;
    connect(Command1, &QPushButton::clicked, this, &frmSettings::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmSettings::Command2_Click);

    Form_Load();
}

void frmSettings::Form_Load() {
    try {
        const MainState& state = session_.state();
        if (state.HandshakeIndex < 0 || state.HandshakeIndex > 3)
            throw RunTimeError(err::InvalidPropertyValue);
        Option1[static_cast<size_t>(state.HandshakeIndex)]->setChecked(true);
        chosen_ = state.HandshakeIndex;
        const bool detect[] = {state.DetectCTS, state.DetectDSR, state.DetectDCD, state.DetectRI};
        for (size_t i = 0; i < chkFilter.size(); ++i)
            chkFilter[i]->setChecked(detect[i]);
    } catch (const RunTimeError& e) {
        showFailure(QStringLiteral("Form Load Error:"), e);
    }
}

void frmSettings::Option1_Click(int Index) {
    chosen_ = Index;
}

bool frmSettings::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == Option1[0])
            SSTab1->setCurrentIndex(0);
        else if (watched == chkFilter[0])
            SSTab1->setCurrentIndex(1);
    }
    return QDialog::eventFilter(watched, event);
}

void frmSettings::Command1_Click() {
    try {
        MainState& state = session_.state();
        state.HandshakeIndex = chosen_;
        state.HandshakeName = handshakeNameOf(chosen_).value_or(state.HandshakeName);
        if (!state.MonitoringMode)
            portList_.ComSettings();
        state.DetectCTS = chkFilter[0]->isChecked();
        state.DetectDSR = chkFilter[1]->isChecked();
        state.DetectDCD = chkFilter[2]->isChecked();
        state.DetectRI = chkFilter[3]->isChecked();
        accept();
    } catch (const RunTimeError& e) {
        showFailure(QStringLiteral("Setting_Save Error:"), e);
    }
}

void frmSettings::Command2_Click() {
    reject();
}

} // namespace kst
