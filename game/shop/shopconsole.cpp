#include "game/shop/shopconsole.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "core/windows/windowmanager.h"
#include "foundation/color.h"
#include "foundation/debuglog.h"
#include "game/chocolates/chocolate.h"
#include "game/chocolates/chocolatespec.h"
#include "game/level/levelmanager.h"
#include "game/level/upgrademanager.h"
#include "game/shell/valuemanager.h"
#include "game/shop/shopwindow.h"
#include "game/sprites/sprite.h"
#include "game/texts/timer.h"
#include "game/utilities/luacommand.h"

namespace {

const char kConsoleScript[] = "scripts/console.lua";
const char kConsoleWindow[] = "console_window";
// The jumped-to level replaces the one on this screen, as a replay does, so
// leaving it returns where the screen came from.
const char kJumpCommand[] = "LevelSetup(); ReadyForPrelevel(); InsideGame(true);";
const int kMinutesToMilliseconds = 60000;

struct Command {
    const char* name;
    size_t arguments;
    void (VShopConsole::*run)(const std::vector<TString>&);
};

bool IsStoryLevel(int level) {
    return level >= 1 && level <= VLevelManager::kLevelCount;
}

}  // namespace

VConsoleLine ParseConsoleLine(const TString& line) {
    VConsoleLine parsed;
    int start = 0;
    bool first = true;
    while (start <= line.Length()) {
        int blank = line.FindChar(' ', 0, start);
        int end = blank < 0 ? line.Length() : blank;
        TString word = line.SubString(start, end - start);
        if (first) {
            parsed.command = word;
            parsed.command.ToLower();
            first = false;
        } else if (word.Length() > 0) {
            parsed.arguments.push_back(word);
        }
        if (blank < 0) break;
        start = blank + 1;
    }
    return parsed;
}

bool VShopConsole::Open() {
    TWindowManager* windows = TWindowManager::GetInstance();
    if (!windows) return true;
    auto* holder = new TWindow();
    windows->RunWindowScript(holder, kConsoleScript);
    TWindow* console = holder->FindChildWindow(kConsoleWindow, -1);
    TWindow* parent = mScreen.GetParent();
    if (!console || console == holder || !parent) {
        DebugLog("VShopConsole: %s made no \"%s\" for the level screen's parent", kConsoleScript, kConsoleWindow);
    } else {
        console->GetParent()->RemoveChild(console);
        parent->AddChild(console, true);
    }
    windows->DestroyWindowDeferred(holder);
    return true;
}

void VShopConsole::DoCommand(const TString& line) {
    static const Command kCommands[] = {
        {"closeconsole", 0, &VShopConsole::CloseConsole},  {"choctint", 1, &VShopConsole::TintChocolates},
        {"setvalue", 2, &VShopConsole::SetNamedValue},     {"setpos", 3, &VShopConsole::SetSpritePosition},
        {"setlayer", 2, &VShopConsole::SetSpriteLayer},    {"setvisible", 2, &VShopConsole::SetSpriteVisible},
        {"getupgrade", 2, &VShopConsole::GetUpgrade},      {"setdelay", 2, &VShopConsole::SetSpriteDelay},
        {"setscale", 3, &VShopConsole::SetSpriteScale},    {"addminutes", 1, &VShopConsole::AddMinutes},
    };
    if (line.Length() == 0) return;
    VConsoleLine parsed = ParseConsoleLine(line);
    for (const Command& command : kCommands) {
        if (parsed.command != command.name) continue;
        if (parsed.arguments.size() >= command.arguments) (this->*command.run)(parsed.arguments);
        return;
    }
    DebugLog("VShopConsole: unknown command \"%s\"", parsed.command.c_str());
}

void VShopConsole::CloseConsole(const Arguments&) {
    TWindow* parent = mScreen.GetParent();
    TWindow* console = parent ? parent->FindChildWindow(kConsoleWindow, 1) : nullptr;
    TWindowManager* windows = TWindowManager::GetInstance();
    if (!console || console == parent || !windows) return;
    parent->RemoveChild(console);
    windows->DestroyWindowDeferred(console);
}

void VShopConsole::TintChocolates(const Arguments& arguments) {
    int layerType = ChocolateLayerTypeFromWord(arguments[0]);
    if (layerType < 0) {
        DebugLog("VShopConsole: no chocolate layer \"%s\" to tint", arguments[0].c_str());
        return;
    }
    float rgb[3] = {1.0f, 1.0f, 1.0f};
    for (size_t i = 1; i < arguments.size() && i <= 3; ++i) rgb[i - 1] = arguments[i].ToFloat();
    VChocolate::SetLayerTint(layerType, TColor4f(rgb[0], rgb[1], rgb[2], 1.0f));
}

void VShopConsole::SetNamedValue(const Arguments& arguments) {
    VValueManager::Get()->SetValue(arguments[0], arguments[1].ToFloat(), false);
}

void VShopConsole::SetSpritePosition(const Arguments& arguments) {
    std::shared_ptr<VSprite> sprite = mScreen.FindSprite(arguments[0]);
    if (!sprite) return;
    sprite->SetPosition(TVec2(arguments[1].ToFloat(), arguments[2].ToFloat()));
    sprite->SetAnchor(TString());
}

// A sprite with an owner has the owner sort its children again.
void VShopConsole::SetSpriteLayer(const Arguments& arguments) {
    if (std::shared_ptr<VSprite> sprite = mScreen.FindSprite(arguments[0])) sprite->SetLayer(arguments[1].ToInt());
}

void VShopConsole::SetSpriteVisible(const Arguments& arguments) {
    if (std::shared_ptr<VSprite> sprite = mScreen.FindSprite(arguments[0])) {
        sprite->SetVisible(arguments[1].ToInt() != 0);
    }
}

// Owned at once, its effects shown, and saved.
void VShopConsole::GetUpgrade(const Arguments& arguments) {
    if (!VUpgradeManager::Get()->GrantUpgrade(arguments[1], arguments[0], true, nullptr)) {
        DebugLog("VShopConsole: no upgrade \"%s\" of \"%s\"", arguments[1].c_str(), arguments[0].c_str());
    }
}

void VShopConsole::SetSpriteDelay(const Arguments& arguments) {
    if (std::shared_ptr<VSprite> sprite = mScreen.FindSprite(arguments[0])) sprite->SetDelay(arguments[1].ToInt(), true);
}

void VShopConsole::SetSpriteScale(const Arguments& arguments) {
    if (std::shared_ptr<VSprite> sprite = mScreen.FindSprite(arguments[0])) {
        sprite->SetScale(arguments[1].ToFloat(), arguments[2].ToFloat());
    }
}

// Wide, so many minutes cannot wrap the product; the timer keeps its range.
void VShopConsole::AddMinutes(const Arguments& arguments) {
    RTimer* timer = mScreen.GetLevelTimer();
    if (!timer) return;
    int64_t added = static_cast<int64_t>(arguments[0].ToInt()) * kMinutesToMilliseconds;
    timer->SetElapsedTime(static_cast<int64_t>(timer->GetElapsedTime()) + added);
}

TString VShopConsole::DoCheatGame(int cheat, const TString& value) {
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
    double total = values->GetInt("current_level_total", 0);
    double goal = levels->GetCurrentGoal();
    double mastery = levels->GetCurrentMastery();
    int number = value.ToInt();
    switch (cheat) {
    case 0:
        if (mScreen.IsEndlessMode()) {
            values->AddToValue("angry_this_level", 10, 0, false);
            values->SetValue("served_this_level", 5, false);
            mScreen.EndLevel();
        } else {
            EndWithTotal(std::min(total, goal - 1));
        }
        return TString();
    case 1:
        EndWithTotal(std::max(goal, std::min(total, mastery - 1)));
        return TString();
    case 2:
        EndWithTotal(std::max(total, mastery));
        return TString();
    case 3:
        return AddMoney(number);
    case 4:
        if (!IsStoryLevel(number)) return "Invalid Level";
        levels->SetCurrentLevel(number);
        QueueLuaCommand(kJumpCommand);
        return TString();
    case 5:
        if (!IsStoryLevel(number)) return "Invalid Level";
        levels->SetHighestComplete(number, true);
        return TString::Format("Set highest level complete to %i", number);
    default:
        return "Invalid Cheat";
    }
}

void VShopConsole::EndWithTotal(double total) {
    VValueManager::Get()->SetValue("current_level_total", static_cast<float>(total), false);
    mScreen.EndLevel();
}

TString VShopConsole::AddMoney(int amount) {
    if (amount > 0) {
        std::shared_ptr<VValueManager> values = VValueManager::Get();
        values->AddToValue("current_level_total", static_cast<float>(amount), 0, false);
        if (!mScreen.IsEndlessMode()) {
            std::shared_ptr<VLevelManager> levels = VLevelManager::Get();
            int64_t banked = static_cast<int64_t>(levels->GetCurrentLocationScore()) + amount;
            levels->SetCurrentLocationScore(static_cast<int>(std::min<int64_t>(banked, INT32_MAX)));
            values->AddToValue("current_worth", static_cast<float>(amount), 0, false);
            values->AddToValue("total_worth", static_cast<float>(amount), 0, true);
        }
    }
    return TString::Format("Added %i to current and lifetime total", amount);
}
