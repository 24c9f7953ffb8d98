#include "game/progression/hiscoresubmit.h"

#include "core/app/message.h"
#include "core/windows/windowmanager.h"
#include "game/utilities/findchild.h"
#include "game/progression/hiscore.h"
#include "game/widgets/widgetclass.h"
#include "graphics/text/markup.h"
#include "online/qmhiscores.h"
#include "widgets/text.h"

namespace {

constexpr int kErrorTextSize = 512;
constexpr int kDataSize = 64;

}  // namespace

TWindow* THiscoreSubmit::Create() {
    return new THiscoreSubmit();
}

THiscoreSubmit::THiscoreSubmit(THiscore* owner) : mOwner(owner) {
    mFunctions.Publish("SubmitToServer", this, &THiscoreSubmit::SubmitToServer);
    mFunctions.Publish("InitUserScore", this, &THiscoreSubmit::InitUserScore);
}

THiscoreSubmit::~THiscoreSubmit() {
    if (mOwner) mOwner->ForgetSubmitDialog(this);
}

const char* THiscoreSubmit::GetClassName() const {
    return "THiscoreSubmit";
}

bool THiscoreSubmit::IsA(TWindowClassId id) const {
    return id == ClassId() || TModalWindow::IsA(id);
}

bool THiscoreSubmit::OnMessage(TMessage* message) {
    if (message->GetType() == TMessage::kTextEditChanged) {
        Show("submittoserver", TextOf("nameedit").Length() > 0 || TextOf("accountedit").Length() > 0);
    }
    return TModalWindow::OnMessage(message);
}

void THiscoreSubmit::SubmitToServer(TString name, TString account, TString password, bool remember) {
    mName = name;
    mAccount = account;
    mPassword = password;
    mRemember = remember;
    mState = kSubmitting;
    TQmHiscores* hiscores = GetGameHiscores();
    bool started = false;
    if (hiscores && account.Length() > 0) {
        started = hiscores->SubmitScore(account.c_str(), password.c_str(), remember);
    } else if (hiscores) {
        started = hiscores->SubmitScore(name.c_str(), "", false);
    }
    RunOnMainScript("SwitchModes(true)");
    // Without a score to send no request runs: the poll would read the
    // outcome of an older one.
    if (!started) {
        ShowError(GetLocalString("scores_nothingtosubmit"));
        return;
    }
    StartAnimation(THiscore::kPollPeriod, true, true, false);
}

void THiscoreSubmit::InitUserScore() {
    TQmHiscores* hiscores = GetGameHiscores();
    int score = 0;
    char data[kDataSize];
    if (!hiscores || !hiscores->GetUserEntry(0, &score, nullptr, data, sizeof data)) score = 0;
    SetChildText(this, "eligiblescore", TString::Format("%d", score));
}

bool THiscoreSubmit::Animate() {
    TQmHiscores* hiscores = GetGameHiscores();
    if (!hiscores || mState != kSubmitting) return false;
    char message[kErrorTextSize] = "";
    bool ranked = false;
    int outcome = hiscores->PollReply(message, sizeof message, &ranked);
    if (outcome == TQmHiscores::kRequestRunning) return true;
    if (outcome == TQmHiscores::kRequestFailed) {
        ShowError(message);
        return false;
    }
    if (mOwner) mOwner->OnSubmitted(ranked);
    if (TWindowManager* manager = TWindowManager::GetInstance()) manager->PopModal(GetIdString());
    return false;
}

// The player may try again.
void THiscoreSubmit::ShowError(const TString& message) {
    mState = kEditing;
    Show("submiterror", true);
    SetChildText(this, "submiterror", EscapeMarkup(message));
    Show("submitconnect", false);
    Show("submiterrorok", true);
}

void THiscoreSubmit::Show(const char* name, bool shown) {
    ShowChild(this, name, shown);
}

TString THiscoreSubmit::TextOf(const char* name) {
    auto* text = FindChildAs<TText>(this, name);
    return text ? text->GetText() : TString();
}
