#include "app/port/frm_monitoring.h"

#include "app/main/main_controls.h"
#include "app/main/pictures.h"
#include "app/main/session.h"
#include "app/port/mode_control.h"
#include "platform/runtime_error.h"
#include "platform/services.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kst {

frmMonitoring::frmMonitoring(QWidget* parent, Session& session, const MainControls& ui,
                             const MainMenus& menus)
    : QDialog(parent), session_(session), ui_(ui), menus_(menus) {
    setObjectName(QStringLiteral("frmMonitoring"));
    setWindowTitle(QStringLiteral("Monitoring (Monitor / Spy)"));
    auto* layout = new QVBoxLayout(this);

    Frame1 = new QGroupBox(QStringLiteral("Monitoring methods"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* methods = new QGridLayout(Frame1);
    const char* const captions[] = {"Half-duplex monitoring", "Full-duplex monitoring"};
    for (int i = 0; i < 2; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(captions[i]), Frame1);
        option->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        Option1[static_cast<size_t>(i)] = option;
        methods->addWidget(option, i, 0);
        connect(option, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    Label2 = new QLabel(QStringLiteral("2nd COM Port"), Frame1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Combo1 = new QComboBox(Frame1);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    methods->addWidget(Label2, 1, 1);
    methods->addWidget(Combo1, 1, 2);
    layout->addWidget(Frame1);

    for (bool full : {false, true}) {
        auto* wiring = new QLabel(this);
        wiring->setPixmap(pictures::wiring(full));
        layout->addWidget(wiring);
        layout->addWidget(new QLabel(
            full ? QStringLiteral("Connect the optional 2-in-1 cable (Full-Duplex) as above")
                 : QStringLiteral("Connect the optional 2-in-1 cable (Half-Duplex) as above")));
    }
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    layout->addWidget(Command1, 0, Qt::AlignRight);
    connect(Command1, &QPushButton::clicked, this, &frmMonitoring::Command1_Click);

    Form_Load();
}

void frmMonitoring::Form_Load() {
    try {
        const MainState& state = session_.state();
        Option1[state.FullDuplexSelected ? 1 : 0]->setChecked(true);
        if (state.FullDuplexSelected) {
            FillSecondPortList();
            showSecondPort(true);
        } else {
            showSecondPort(false);
        }
    } catch (const RunTimeError& e) {
        showFailure(QStringLiteral("Form Load Error:"), e);
    }
}

void frmMonitoring::showSecondPort(bool shown) {
    Label2->setVisible(shown);
    Combo1->setVisible(shown);
    if (shown)
        Combo1->setCurrentIndex(found_.indexOf(session_.state().SecondPort)); // -1: none selected
}

void frmMonitoring::Option1_Click(int Index) {
    FillSecondPortList();
    showSecondPort(Index == 1);
}

void frmMonitoring::FillSecondPortList() {
    bool isNumber = false;
    const int primary = ui_.portChoice->currentText().trimmed().toInt(&isNumber);
    found_.clear();
    for (int n = 1; n <= 16; ++n) {
        // The primary port listens to one direction already; it cannot be the other.
        if (isNumber && n == primary)
            continue;
        if (session_.MSComm2().portPresent(n))
            found_ << n;
    }
    Combo1->clear();
    for (int n : found_)
        Combo1->addItem(QString::number(n));
}

void frmMonitoring::Command1_Click() {
    MainState& state = session_.state();
    const bool full = !Option1[0]->isChecked();
    if (full) {
        if (Combo1->isHidden() || Combo1->currentIndex() < 0) {
            // With no second port listed there is none to choose.
            msgBox(
                found_.isEmpty()
                    ? QStringLiteral("No 2nd COM port was found for full-duplex monitoring. "
                                     "Connect one and choose Full-duplex monitoring again, or "
                                     "choose Half-duplex monitoring.")
                    : QStringLiteral("Please choose the 2nd COM port for full-duplex monitoring."),
                MsgIcon::Exclamation, MsgButtons::Ok, appTitle());
            return;
        }
        state.SecondPort = found_.value(Combo1->currentIndex());
    }
    state.FullDuplexSelected = full;
    state.TwoPortActive = full;
    state.MonitoringMode = true;
    showMode(menus_, true);
    const MainControls& ui = ui_;
    ui.Check1->setEnabled(false);
    ui.Check2->setEnabled(false);
    ui.CbTimer->setEnabled(false);
    accept();
}

} // namespace kst
