#include "game/progression/hiscore.h"

#include <filesystem>

#include "core/app/message.h"
#include "core/scripting/script.h"
#include "core/windows/platformlink.h"
#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "foundation/stringtable.h"
#include "foundation/virtualfiles.h"
#include "game/utilities/findchild.h"
#include "game/progression/hiscoresubmit.h"
#include "game/shell/game.h"
#include "game/widgets/widgetclass.h"
#include "graphics/text/markup.h"
#include "lua/lua.h"
#include "online/qmhiscores.h"
#include "online/urlescape.h"
#include "widgets/text.h"

namespace {

const char kPrivacyPage[] = "privacy.html";
const char kSubmitScript[] = "scripts/hiscoresubmit.lua";
// Room for a name or a game data text of a row, its end included.
constexpr int kEntryTextSize = 64;
constexpr int kErrorTextSize = 512;
// A name too wide for its text shrinks from this size down to 1.
constexpr int kLargestNameSize = 19;
// How far "leftpanel" moves right when only local tables are shown.
constexpr int kLocalPanelShift = 130;
// A scroll press moves the table this many rows; it stops with at least
// kRowsKeptInView rows shown.
constexpr int kScrollStep = 10;
constexpr int kRowsKeptInView = 5;
// The lines of the two view buttons' labels sit this much closer.
constexpr int kViewLabelPadding = -6;

// Hidden first by every update; the state shows its own again.
const char* const kStateChildren[] = {
    "eligible", "eligibleasterisk", "server",     "error", "info",      "category",           "local",
    "global",   "topplayers",       "congratulations", "dnq", "yourrank", "yourrankglobalinfo", "rankvalue",
    "scrollup", "scrolldown",
};

bool LocalOnly() {
    return GetSettingBool(kSettingHiscoreLocal);
}

// The windows of a row, by the kind's name format and the row from 0.
enum { kNameText, kScoreText, kRankText, kMarker };

TString RowName(int kind, int row) {
    static const char* const kFormats[] = {"name%d", "score%d", "%d", "p1_%d"};
    return TString::Format(kFormats[kind], row + 1);
}

// "file://" and the absolute path, each of its parts escaped.
TString FileAddress(const std::filesystem::path& path) {
    TString address = "file://";
    for (const std::filesystem::path& part : std::filesystem::absolute(path).relative_path()) {
        address += "/";
        address += UrlEscape(part.c_str());
    }
    return address;
}

int Wrap(int value, int count) {
    return ((value % count) + count) % count;
}

}  // namespace

void RunOnMainScript(const char* statement) {
    TWindowManager* manager = TWindowManager::GetInstance();
    if (TScript* script = manager ? manager->GetScript() : nullptr) script->DoLuaString(statement);
}

TString GetLocalString(const char* label, const TString& argument) {
    TPlatformLink* platform = GetPlatformLink();
    const TStringTable* strings = platform ? platform->GetStringTable() : nullptr;
    return strings ? strings->GetString(label, argument) : TString();
}

TQmHiscores* GetGameHiscores() {
    VGame* game = VGame::Get();
    return game ? game->GetHiscores() : nullptr;
}

TWindow* THiscore::Create() {
    return new THiscore();
}

THiscore::THiscore() {
    mFunctions.Publish("GetState", this, &THiscore::GetState);
    mFunctions.Publish("ScoreAvailable", this, &THiscore::ScoreAvailable);
    mFunctions.Publish("UpdateText", this, &THiscore::UpdateText);
    mFunctions.Publish("LaunchPrivacyPolicy", this, &THiscore::LaunchPrivacyPolicy);
}

THiscore::~THiscore() {
    if (mSubmitDialog) mSubmitDialog->ForgetOwner();
}

const char* THiscore::GetClassName() const {
    return "THiscore";
}

bool THiscore::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TWindow::ClassId()});
}

bool THiscore::GetScreenRect(TRect* rect) const {
    *rect = TRect(0, 0, 800, 600);
    return true;
}

void THiscore::PostInit(const TWindowStyle& style) {
    TWindow::PostInit(style);
    StartAnimation(kPollPeriod, true, true, false);
    for (int row = 0; row < kRows; ++row) {
        auto* name = FindChildAs<TText>(this, RowName(kNameText, row).c_str());
        mNameSizes[row] = name && name->GetLayout() ? name->GetLayout()->GetLineHeight() : 0;
    }
    if (LocalOnly()) {
        if (TWindow* panel = FindChildWindow("leftpanel", -1)) {
            panel->SetPosition(panel->GetRect().left + kLocalPanelShift, panel->GetRect().top);
        }
    }
    UpdateText();
    RunOnMainScript("UpdateButtons();");
    for (const char* label : {"view_text", "viewlocal_text"}) {
        if (auto* text = FindChildAs<TText>(this, label)) text->SetPadding(kViewLabelPadding);
    }
}

bool THiscore::ScoreAvailable() const {
    TQmHiscores* hiscores = GetGameHiscores();
    char data[kEntryTextSize];
    return hiscores && hiscores->GetUserEntry(0, nullptr, nullptr, data, sizeof data);
}

bool THiscore::OnMessage(TMessage* message) {
    if (message->GetType() != TMessage::kButtonPress) return false;
    const TString& name = message->GetName();
    if (name == "submit") {
        OpenSubmitDialog();
        return true;
    }
    if (!OnButton(name)) return false;
    UpdateText();
    if (!(name == "scrollup" || name == "scrolldown")) RunOnMainScript("UpdateButtons();");
    return true;
}

// False for a press the screen does not act on in its state.
bool THiscore::OnButton(const TString& name) {
    const bool modeChanges = mState == kLocalTable || mState == kOnlineTable;
    if (name == "gamemodeleft" || name == "gamemoderight") {
        if (!modeChanges) return false;
        StepGameMode(name == "gamemoderight" ? 1 : -1);
    } else if (name == "categoryleft" || name == "categoryright") {
        TQmHiscores* hiscores = GetGameHiscores();
        if (!hiscores || hiscores->GetCategoryCount() == 0) return false;
        StepCategory(name == "categoryright" ? 1 : -1);
    } else if (name == "view") {
        TQmHiscores* hiscores = GetGameHiscores();
        if (!hiscores) return false;
        mSubmitResult = kNotSubmitted;
        mState = kAwaitingCategories;
        hiscores->RequestCategoryInformation();
    } else if (name == "viewlocal") {
        mState = kLocalTable;
    } else if (name == "scrollup" || name == "scrolldown") {
        mFirstRow += name == "scrolldown" ? kScrollStep : -kScrollStep;
    } else {
        return false;
    }
    return true;
}

void THiscore::StepGameMode(int step) {
    VGame* game = VGame::Get();
    if (!game) return;
    game->SetCurrentGameMode(Wrap(game->GetCurrentGameMode() + step, VGame::kNumGameModes));
    if (mState == kOnlineTable) RequestScores();
    mSubmitResult = kNotSubmitted;
}

void THiscore::StepCategory(int step) {
    mCategory = Wrap(mCategory + step, GetGameHiscores()->GetCategoryCount());
    RequestScores();
}

void THiscore::RequestScores() {
    TQmHiscores* hiscores = GetGameHiscores();
    if (!hiscores) return;
    mState = kAwaitingScores;
    hiscores->RequestScores(mCategory);
}

bool THiscore::Animate() {
    TQmHiscores* hiscores = GetGameHiscores();
    if (!hiscores || (mState != kAwaitingCategories && mState != kAwaitingScores)) return true;
    char message[kErrorTextSize] = "";
    bool ranked = false;
    int outcome = hiscores->PollReply(message, sizeof message, &ranked);
    if (outcome == TQmHiscores::kRequestRunning) return true;
    if (outcome == TQmHiscores::kReplyAccepted && mState == kAwaitingCategories) {
        RequestScores();
        return true;
    }
    if (outcome == TQmHiscores::kReplyAccepted) {
        mState = kOnlineTable;
    } else {
        mErrorText = message;
        mState = kFailed;
    }
    UpdateText();
    RunOnMainScript("UpdateButtons();");
    if (TWindowManager* manager = TWindowManager::GetInstance()) manager->Invalidate();
    return true;
}

void THiscore::OnSubmitted(bool qualified) {
    mSubmitResult = qualified ? kQualified : kNotQualified;
    if (TQmHiscores* hiscores = GetGameHiscores()) {
        mState = kAwaitingCategories;
        hiscores->RequestCategoryInformation();
    }
    UpdateText();
    RunOnMainScript("UpdateButtons();");
}

void THiscore::ForgetSubmitDialog(const THiscoreSubmit* dialog) {
    if (mSubmitDialog == dialog) mSubmitDialog = nullptr;
}

void THiscore::OpenSubmitDialog() {
    TWindowManager* manager = TWindowManager::GetInstance();
    if (!manager || mSubmitDialog) return;
    mSubmitDialog = new THiscoreSubmit(this);
    SetScriptVariables();
    manager->PushModal(mSubmitDialog);
    manager->RunWindowScript(mSubmitDialog, kSubmitScript);
    // A dialog file that is missing or fails to compile leaves nothing to
    // close the dialog with.
    if (mSubmitDialog->GetChildren().empty()) {
        DebugLog("THiscore: %s built no dialog", kSubmitScript);
        manager->PopModal(mSubmitDialog->GetIdString());
        return;
    }
    mSubmitDialog->FitToChildren();
    RunOnMainScript("SwitchModes(false)");
}

// The values travel as Lua values: a name holding quotes stays a name.
void THiscore::SetScriptVariables() const {
    TWindowManager* manager = TWindowManager::GetInstance();
    TScript* script = manager ? manager->GetScript() : nullptr;
    TQmHiscores* hiscores = GetGameHiscores();
    if (!script || !hiscores) return;
    VGame* game = VGame::Get();
    TString account;
    TString password;
    bool remember = hiscores->GetSavedLogin(&account, &password);
    int score = 0;
    char data[kEntryTextSize];
    if (!hiscores->GetUserEntry(0, &score, nullptr, data, sizeof data)) score = 0;
    script->SetGlobal("gNameEdit", game ? game->GetCurrentUserName() : TString());
    script->SetGlobal("gAccountEdit", remember ? account : TString());
    script->SetGlobal("gPassEdit", remember ? password : TString());
    lua_State* L = script->GetState();
    lua_pushstring(L, "gRemember");
    lua_pushboolean(L, remember);
    lua_settable(L, LUA_GLOBALSINDEX);
    lua_pushstring(L, "gEligibleScore");
    lua_pushnumber(L, score);
    lua_settable(L, LUA_GLOBALSINDEX);
}

void THiscore::LaunchPrivacyPolicy() {
    TString path = ResolvePath(kPrivacyPage, true);
    if (path.Length() == 0 || !std::filesystem::is_regular_file(path.c_str())) {
        DebugLog("THiscore: no page %s to open", kPrivacyPage);
        return;
    }
    if (VGame* game = VGame::Get()) game->LaunchURL(FileAddress(path.c_str()));
}

void THiscore::UpdateText() {
    for (int row = 0; row < kRows; ++row) {
        for (int kind : {kNameText, kScoreText, kRankText, kMarker}) Show(RowName(kind, row).c_str(), false);
    }
    for (const char* name : kStateChildren) Show(name, false);

    VGame* game = VGame::Get();
    int mode = game ? game->GetCurrentGameMode() : -1;
    TString title;
    if (mode >= 0 && mode < VGame::kNumGameModes) {
        TString label = TString::Format("scores_gamemode%d", mode + 1);
        title = TString::Format("<outline color='000000' size='1'>%s</outline>", GetLocalString(label.c_str()).c_str());
    }
    SetText("gamemode", title);

    Show("rightpanel", !LocalOnly() && mState == kLocalTable);
    Show("rightpanelsmall", !LocalOnly() && mState != kLocalTable);
    if (mState == kLocalTable || mState == kOnlineTable) FillTable();
    if (mState == kLocalTable) {
        bool eligible = ScoreAvailable();
        Show("eligible", eligible);
        Show("eligibleasterisk", eligible);
        Show("info", true);
    }
    if (mState == kOnlineTable) ShowOnlineTexts();
    if (mState == kAwaitingCategories || mState == kAwaitingScores) Show("server", true);
    if (mState == kFailed) {
        Show("error", true);
        SetText("error", EscapeMarkup(mErrorText));
    }
    if (LocalOnly()) {
        for (const char* name : {"info", "eligible", "eligibleasterisk"}) Show(name, false);
    }
}

void THiscore::ShowOnlineTexts() {
    TQmHiscores* hiscores = GetGameHiscores();
    if (!hiscores) return;
    Show("category", true);
    char category[kEntryTextSize];
    if (hiscores->GetCategoryName(mCategory, category, sizeof category)) SetText("category", EscapeMarkup(category));
    Show("yourrankglobalinfo", true);
    if (mSubmitResult != kNotSubmitted) {
        Show(mSubmitResult == kQualified ? "congratulations" : "dnq", true);
        Show("yourrankglobalinfo", false);
    }
    int rank = 0;
    char data[kEntryTextSize];
    if (hiscores->GetUserEntry(1, nullptr, &rank, data, sizeof data)) {
        Show("yourrank", true);
        SetText("yourrank", GetLocalString("scores_yourrank", TString::Format("%d", rank)));
        Show("yourrankglobalinfo", false);
    }
}

void THiscore::FillTable() {
    TQmHiscores* hiscores = GetGameHiscores();
    if (!hiscores) return;
    const bool local = mState == kLocalTable;
    const int count = hiscores->GetScoreCount(local);
    if (local) {
        Show("local", !LocalOnly());
        Show("topplayers", LocalOnly());
        mFirstRow = 0;
    } else {
        Show("global", !LocalOnly());
        if (mFirstRow > count - kRowsKeptInView) mFirstRow = count - kRowsKeptInView;
        if (mFirstRow < 0) mFirstRow = 0;
        Show("scrollup", mFirstRow > 0);
        Show("scrolldown", mFirstRow + kRows < count);
    }
    for (int row = 0; row < kRows && mFirstRow + row < count; ++row) FillRow(row, local);
}

// The marker flags a local score not yet submitted.
void THiscore::FillRow(int row, bool local) {
    int rank = 0;
    int score = 0;
    bool submitted = false;
    char name[kEntryTextSize];
    char data[kEntryTextSize];
    TQmHiscores* hiscores = GetGameHiscores();
    if (!hiscores->GetScoreEntry(local, mFirstRow + row, &rank, name, sizeof name, &submitted, &score, data,
                                 sizeof data)) {
        return;
    }
    Show(RowName(kNameText, row).c_str(), true);
    SetText(RowName(kNameText, row).c_str(), EscapeMarkup(name));
    FitName(row);
    Show(RowName(kScoreText, row).c_str(), true);
    SetText(RowName(kScoreText, row).c_str(), TString::Format("%d", score));
    Show(RowName(kRankText, row).c_str(), true);
    SetText(RowName(kRankText, row).c_str(), TString::Format("%d.", rank));
    const bool anonymous = LocalOnly() || GetSettingBool(kSettingHiscoreAnon);
    if (local && !submitted && !anonymous) Show(RowName(kMarker, row).c_str(), true);
}

// Too wide or too tall for the window: one size smaller. A text that fits
// may start a pixel left of its window, where the first glyph's pen stands
// before its ink; a text that does not fit is wider than the window.
void THiscore::FitName(int row) {
    auto* text = FindChildAs<TText>(this, RowName(kNameText, row).c_str());
    if (!text || !text->GetLayout()) return;
    if (mNameSizes[row] > 0) text->SetFontSize(mNameSizes[row]);
    auto fits = [text] {
        TRect extent = text->GetTextExtents();
        return extent.right - extent.left <= text->GetWidth() && extent.bottom - extent.top <= text->GetHeight();
    };
    for (int size = kLargestNameSize; size >= 1 && !fits(); --size) text->SetFontSize(size);
}

void ShowChild(TWindow* window, const char* name, bool shown) {
    TWindow* child = window->FindChildWindow(name, -1);
    if (!child) return;
    uint32_t state = child->GetFlags() & ~static_cast<uint32_t>(TWindow::kVisible);
    child->SetFlags(shown ? state | TWindow::kVisible : state);
}

void SetChildText(TWindow* window, const char* name, const TString& text) {
    if (auto* child = FindChildAs<TText>(window, name)) child->SetText(text);
}
