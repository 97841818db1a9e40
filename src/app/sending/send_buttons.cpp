#include "app/sending/send_buttons.h"

#include "app/main/main_controls.h"
#include "app/main/session.h"
#include "autoresp/auto_responder.h"
#include "notation/notation.h"

#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <memory>

namespace kst {

namespace {

// A control code as an item of a hexadecimal byte list ("1B,").
QString hexItem(int code) {
    return QString::number(code, 16).toUpper() + u',';
}

} // namespace

SendButtons::SendButtons(Session& session, const MainControls& ui) : session_(session), ui_(ui) {}

SendButtons::~SendButtons() = default;

void SendButtons::Option3_Click(int Index) {
    if (Index != 0 && Index != 1)
        return;
    session_.state().ControlCodeBank = Index;
    for (int k = 0; k < 16; ++k) {
        const int code = Index * 16 + k;
        QPushButton* button = ui_.cmdFreqused[static_cast<size_t>(k)];
        button->setText(ControlCodeName(code));
        button->setToolTip(hexItem(code));
    }
}

void SendButtons::cmdFreqused_Click(int Index) {
    const MainState& state = session_.state();
    const QString item = hexItem(state.ControlCodeBank * 16 + Index);
    // In ASCII the code goes as a control code; otherwise as the command, in its notation.
    SendAction action;
    if (state.TxFormat == ncAscii)
        action.controlCodes = item;
    else
        action.command = ConvertHexList(item, state.TxFormat).value_or(QString());
    session_.sender().send(action, QStringLiteral("Frequently used commands"));
}

void SendButtons::Option6_Click(int Index) {
    session_.state().ButtonPage = Index;
    const int first = Index == 0 ? 0 : 16;
    for (int k = 0; k < 16; ++k) {
        const ProgButton& button = session_.shared().LoadedButtons[static_cast<size_t>(first + k)];
        QPushButton* widget = ui_.cmdProBut[static_cast<size_t>(k)];
        widget->setText(button.keyCaption);
        widget->setToolTip(ButtonToolTip(button, session_.state().TxFormat));
    }
}

void SendButtons::cmdProBut_Click(int Index) {
    Session& session = session_;
    ButtonChain::Hooks hooks;
    // The chain's own hold: it gives back only what it switched off itself.
    const auto autoResponse = std::make_shared<AutoResponder::Suspension>(session.autoResponder());
    hooks.suspendAutoResponse = [autoResponse] { autoResponse->take(); };
    hooks.resumeAutoResponse = [autoResponse] { autoResponse->giveBack(); };
    hooks.dropAutoResponse = [autoResponse] { autoResponse->drop(); };
    hooks.portOpen = [&session] { return session.state().PortIsOpen; };
    auto chain = std::make_unique<ButtonChain>(session.sender(), session.scheduler(),
                                               session.shared().LoadedButtons, std::move(hooks));
    ButtonChain* running = chain.get();
    chain->setEnded([this, running] { chainEnded(running); });
    chains_.push_back(std::move(chain));
    running->run(session.state().ButtonPage == 0 ? Index : Index + 16);
}

void SendButtons::chainEnded(ButtonChain* chain) {
    const auto it = std::find_if(chains_.begin(), chains_.end(),
                                 [chain](const auto& running) { return running.get() == chain; });
    if (it == chains_.end())
        return;
    // The chain is still in its own call: it goes once that has returned.
    ended_.push_back(std::move(*it));
    chains_.erase(it);
    sweep_ = session_.scheduler().after(0, [this] { ended_.clear(); });
}

} // namespace kst
