#include "game/progression/worldmap.h"

#include <algorithm>
#include <cstdlib>

#include "core/app/gamestate.h"
#include "core/app/message.h"
#include "core/scripting/luaobject.h"
#include "core/windows/modalwindow.h"
#include "core/windows/windowstyle.h"
#include "foundation/debuglog.h"
#include "game/level/levelmanager.h"
#include "game/objects/objectdescription.h"
#include "game/progression/gloweffect.h"
#include "game/progression/pushpin.h"
#include "game/shell/game.h"
#include "game/shell/luastyle.h"
#include "game/shell/valuemanager.h"
#include "game/sprites/alphaeffect.h"
#include "game/sprites/spritemanager.h"
#include "game/utilities/luacommand.h"
#include "game/widgets/widgetclass.h"

namespace {

const char kGlobePrefix[] = "level_btn_";
const char kCloseCommand[] = "CloseWorldMap();";
constexpr int kLevelsPerPin = 10;
constexpr int kEndlessOptionsX = 341;
constexpr int kDotFadeTime = 200;
constexpr int kPinFadeTime = 400;

enum Cheat { kAddMoney = 3, kPlayLevel = 4, kSetHighest = 5 };

bool IsStoryLevel(int level) {
    return level >= 1 && level <= VLevelManager::kLevelCount;
}

// The level of a globe's name: the digits after the prefix, 0 for anything else.
int GlobeLevel(const TString& name) {
    const int prefix = static_cast<int>(sizeof(kGlobePrefix) - 1);
    if (name.Length() <= prefix || name.Find(kGlobePrefix) != 0) return 0;
    TString digits = name.SubString(prefix);
    const char* text = digits.c_str();
    if (!std::all_of(text, text + digits.Length(), [](char c) { return c >= '0' && c <= '9'; })) return 0;
    if (digits.Length() > 2) return 0;
    return std::atoi(text);
}

void StartLevel(int level) {
    VLevelManager::Get()->SetCurrentLevel(level);
    QueueLuaCommand(kCloseCommand);
}

}  // namespace

TWindow* VWorldMap::Create() {
    return new VWorldMap();
}

VWorldMap::VWorldMap() {
    mFunctions.Publish("ResetMap", this, &VWorldMap::ResetMap);
    mFunctions.Publish("ShowCurrentLocation", this, &VWorldMap::ShowCurrentLocation);
    mFunctions.Publish("PlayTransition", this, &VWorldMap::PlayTransition);
    mFunctions.Publish("DoCheatMap", this, &VWorldMap::DoCheatMap);
}

VWorldMap::~VWorldMap() {
    if (TGameState* state = TGameState::Get()) state->SetStateInt("MetaMapScreenTime", 0);
}

const char* VWorldMap::GetClassName() const {
    return "VWorldMap";
}

bool VWorldMap::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), VSpriteWindow::ClassId(), RWindow::ClassId(), TImage::ClassId(),
                            TWindow::ClassId()});
}

void VWorldMap::PostInit(const TWindowStyle& style) {
    LoadPins(style);
    LoadPaths(style);
    LoadDot(style);
    VSpriteWindow::PostInit(style);
    if (auto* modal = dynamic_cast<TModalWindow*>(GetParentModal())) modal->SetFocusWindow(this);
    VGame* game = VGame::Get();
    if (game && game->GetCurrentGameMode() != 0) MoveOptionsButton();
}

void VWorldMap::LoadPins(const TWindowStyle& style) {
    std::unique_ptr<TLuaTable> pins(style.GetTable("pins"));
    if (!pins) return;
    int skipped = 0;
    ForEachTableEntry(*pins, [&](const TString& key, const TLuaObjectWrapper& value) {
        if (!value.IsTable()) {
            ++skipped;
            return;
        }
        std::shared_ptr<VPushPin> pin = VPushPin::Create();
        pin->Load(OwnStyleOf(value));
        pin->Reset();
        std::shared_ptr<VPushPin>& stored = mPins[LowerCase(key)];
        if (stored) RemoveSprite(stored);
        stored = pin;
        AddSprite(pin);
    });
    if (skipped > 0) DebugLog("VWorldMap: %d entries of \"pins\" are no tables, skipped", skipped);
}

// Each path a list of points; a point lacking a number reads 0 and one
// lacking a state shows the dot's default.
void VWorldMap::LoadPaths(const TWindowStyle& style) {
    std::unique_ptr<TLuaTable> paths(style.GetTable("paths"));
    if (!paths) return;
    int skipped = 0;
    ForEachTableEntry(*paths, [&](const TString& key, const TLuaObjectWrapper& value) {
        if (!value.IsTable()) {
            ++skipped;
            return;
        }
        value.Push();
        TLuaTable path(value.GetState());
        std::vector<PathPoint>& points = mPaths[key];
        points.clear();
        for (int i = 1; i <= path.GetCount(); ++i) {
            std::unique_ptr<TLuaTable> point(path.GetTableAt(i));
            if (!point) {
                ++skipped;
                continue;
            }
            points.push_back({TVec2(static_cast<float>(point->GetNumber("x", 0)),
                                    static_cast<float>(point->GetNumber("y", 0))),
                              point->GetString("state", "default")});
        }
    });
    if (skipped > 0) DebugLog("VWorldMap: %d entries of \"paths\" are no tables, skipped", skipped);
}

void VWorldMap::LoadDot(const TWindowStyle& style) {
    mDot = VObject::Create(TString(), TString(), 0);
    if (TLuaTable* dot = style.GetTable("dot")) mDot->Load(VLuaStyle::Create(dot, nullptr));
}

// In endless mode the map has no back-to-progress buttons beside Options,
// which moves to the middle.
void VWorldMap::MoveOptionsButton() {
    TWindow* parent = GetParent();
    TWindow* options = parent ? parent->FindChildWindow("btn_options", -1) : nullptr;
    if (options) options->SetPosition(kEndlessOptionsX, options->GetRect().top);
}

bool VWorldMap::OnMessage(TMessage* message) {
    if (!message || message->GetType() != TMessage::kButtonPress) return VSpriteWindow::OnMessage(message);
    int level = GlobeLevel(message->GetName());
    if (IsStoryLevel(level)) StartLevel(level);
    return true;
}

bool VWorldMap::Animate() {
    bool dotsDue = mDot && mCurrentPath.Length() > 0 && mDotTimer > 0;
    if (dotsDue) {
        mDotTimer -= static_cast<int>(GetElapsed());
        if (mDotTimer <= 0) {
            const std::vector<PathPoint>& points = mPaths[mCurrentPath];
            if (mDotIndex < static_cast<int>(points.size())) {
                MarkDot(points[mDotIndex]);
                ++mDotIndex;
                // A timer left at 0 or below would stop the path with input locked.
                mDotTimer = std::max(1, VValueManager::Get()->GetInt("map_dot_interval", 100));
            } else {
                EndTransition();
            }
        }
    }
    return VSpriteWindow::Animate();
}

void VWorldMap::MarkDot(const PathPoint& point) {
    std::shared_ptr<VObject> dot = VObject::Create(TString(), TString(), 0);
    mDot->CopyObjectTo(dot);
    dot->SetAsset("dot", point.state, "default");
    dot->SetPosition(point.position);
    AddSprite(dot);
    dot->AddEffect(VAlphaEffect::Create(true, 1.0f, kDotFadeTime, -1.0f, 0));
    dot->AddEffect(VGlowEffect::Create(1.0f, 400, 1.0f, 0.0f));
}

// The pin of the location reached appears, and the map takes input again.
void VWorldMap::EndTransition() {
    if (std::shared_ptr<VPushPin> pin = FindCurrentPin()) {
        pin->SetVisible(true);
        pin->AddEffect(VGlowEffect::Create(1.0f, 700, 1.0f, 0.0f));
        pin->AddEffect(VAlphaEffect::Create(true, 1.0f, kPinFadeTime, -1.0f, 0));
    }
    mCurrentPath = TString();
    GetSpriteManager()->ClearAllowedInput();
    GetSpriteManager()->SetInputRestricted(false);
    GetSpriteManager()->MarkDirty();
}

void VWorldMap::ResetMap() {
    ShowCurrentLocation();
    for (const auto& [name, pin] : mPins) pin->Reset();
}

void VWorldMap::ShowCurrentLocation() {
    if (std::shared_ptr<VPushPin> pin = FindCurrentPin()) pin->SetOpen(true);
}

void VWorldMap::PlayTransition(const TString& name) {
    mDotIndex = 0;
    mCurrentPath = TString();
    mDotTimer = 0;
    if (mPaths.count(name) == 0) return;
    mCurrentPath = name;
    mDotTimer = 1;
    // An empty allowed set under restriction lets no sprite take the mouse.
    GetSpriteManager()->SetInputRestricted(true);
    GetSpriteManager()->MarkDirty();
}

std::shared_ptr<VPushPin> VWorldMap::FindCurrentPin() const {
    int highest = VLevelManager::Get()->GetHighestComplete();
    for (const auto& [name, pin] : mPins) {
        if (highest - pin->GetBaseLevel() + 1 < kLevelsPerPin) return pin;
    }
    return nullptr;
}

TString VWorldMap::DoCheatMap(int cheat, int argument) {
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    switch (cheat) {
    case 0:
    case 1:
    case 2:
        return TString();
    case kAddMoney: {
        if (argument < 1) return "No money added";
        for (const auto& [name, pin] : mPins) {
            int base = pin->GetBaseLevel();
            if (!pin->IsOpen() || base < 1) continue;
            levels->SetLocationScore(base, levels->GetLocationScore(base) + argument);
            VValueManager::Get()->AddToValue("total_worth", static_cast<float>(argument), 0, true);
            return TString::Format("Added %i to location %i and lifetime total", argument, base / 10 + 1);
        }
        return "No location selected";
    }
    case kPlayLevel:
        if (!IsStoryLevel(argument)) return "Invalid Level";
        StartLevel(argument);
        return TString();
    case kSetHighest:
        if (!IsStoryLevel(argument)) return "Invalid Level";
        levels->SetHighestComplete(argument, true);
        ResetMap();
        return TString::Format("Set highest level complete to %i", argument);
    default:
        return "Invalid Cheat";
    }
}
