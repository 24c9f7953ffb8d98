#include "game/progression/questwindow.h"

#include <algorithm>
#include <memory>

#include "core/scripting/luaobject.h"
#include "core/windows/windowstyle.h"
#include "game/progression/quest.h"
#include "game/progression/questmanager.h"
#include "game/widgets/widgetclass.h"
#include "lua/numbercast.h"
#include "widgets/text.h"

namespace {

const char kNamesText[] = "txt_quest_names";
const char kStatusText[] = "txt_quest_status";
const char kBackground[] = "background";
constexpr int kRefreshPeriod = 300;
const TColor4f kWhite(1, 1, 1, 1);

int Channel(float value) {
    return std::clamp(script::truncateNumber<int>(value * 255.0f), 0, 255);
}

TString Line(const TColor4f& colour, const TString& text) {
    return TString::Format("<font color='%s'>%s</font>\n", VQuestWindow::HexColor(colour).c_str(), text.c_str());
}

}  // namespace

TWindow* VQuestWindow::Create() {
    return new VQuestWindow();
}

const char* VQuestWindow::GetClassName() const {
    return "VQuestWindow";
}

bool VQuestWindow::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TWindow::ClassId()});
}

TString VQuestWindow::HexColor(const TColor4f& colour) {
    return TString::Format("%02x%02x%02x", Channel(colour.r), Channel(colour.g), Channel(colour.b));
}

void VQuestWindow::PostInit(const TWindowStyle& style) {
    mMarginY = style.GetInt("marginY", 0);
    mOutlineColor = style.GetColor("outlinecolor", TColor4f(0, 0, 0, 1));
    mOutlineSize = style.GetInt("outlinesize", 0);
    mColors.clear();
    if (std::unique_ptr<TLuaTable> colors{style.GetTable("colors")}) {
        for (int i = 1; i <= colors->GetCount(); ++i) mColors.push_back(colors->GetColorAt(i, kWhite));
    }
    TWindow::PostInit(style);
}

TText* VQuestWindow::NamesText() {
    return CastToTText(FindChildWindow(kNamesText, -1));
}

TText* VQuestWindow::StatusText() {
    return CastToTText(FindChildWindow(kStatusText, -1));
}

TColor4f VQuestWindow::StateColor(int state) const {
    return state >= 0 && static_cast<size_t>(state) < mColors.size() ? mColors[static_cast<size_t>(state)] : kWhite;
}

bool VQuestWindow::BuildTexts() {
    std::vector<std::shared_ptr<VQuest>> quests = VQuestManager::Get()->GetActiveQuests();
    if (quests.empty()) return false;
    TString names;
    TString status;
    if (mOutlineSize > 0) {
        names = TString::Format("<outline color='%s' size='%i'>", HexColor(mOutlineColor).c_str(), mOutlineSize);
        status = names;
    }
    for (const auto& quest : quests) {
        TColor4f colour = StateColor(quest->Evaluate());
        names += Line(colour, quest->GetDisplayName());
        status += Line(colour, quest->GetProgressText());
    }
    if (mOutlineSize > 0) {
        names += "</outline>";
        status += "</outline>";
    }
    if (TText* text = NamesText()) text->SetText(names);
    if (TText* text = StatusText()) text->SetText(status);
    return true;
}

void VQuestWindow::Refresh() {
    mShown = BuildTexts();
    SetFlags(mShown ? GetFlags() | kVisible : GetFlags() & ~kVisible);
    if (TWindow* background = FindChildWindow(kBackground, -1); background && background != this) {
        // The panel's bottom follows the last line; it is as high as the window.
        int bottom = GetHeight();
        if (TText* names = NamesText()) {
            TRect extent = names->GetTextExtents();
            bottom = names->GetRect().top + mMarginY + (extent.bottom - extent.top);
        }
        background->SetPosition(background->GetRect().left, bottom - GetHeight());
    }
    StartAnimation(kRefreshPeriod, true, true, false);
}

bool VQuestWindow::Animate() {
    if (!mShown) return false;
    BuildTexts();
    return true;
}
