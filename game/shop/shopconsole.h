// The level screen's developer tools: the console that Ctrl+C opens
// ("scripts/console.lua"), whose lines change sprites, named values,
// upgrades and the level clock, and the cheats that end, rig or jump
// levels. Both work on the screen they belong to.
#pragma once

#include <vector>

#include "foundation/tstring.h"

class ShopWindow;

// A console line: the command word before the first blank, lower-cased,
// and the words after it; blanks in a row make no empty word.
struct VConsoleLine {
    TString command;
    std::vector<TString> arguments;
};
VConsoleLine ParseConsoleLine(const TString& line);

class VShopConsole {
public:
    explicit VShopConsole(ShopWindow& screen) : mScreen(screen) {}

    // Runs the console script in a plain window and moves its
    // "console_window" to the screen's parent; each call opens another.
    // The key is always taken.
    bool Open();
    // One line typed into the console. Too few arguments, unknown sprites
    // and text that is no number (read as 0) change nothing harmful; an
    // unknown command is logged.
    void DoCommand(const TString& line);
    // The cheat's answer for the console: 0 fails, 1 passes, 2 masters the
    // level, 3 adds money, 4 jumps to a level, 5 sets the highest level.
    TString DoCheatGame(int cheat, const TString& value);

private:
    using Arguments = std::vector<TString>;

    void CloseConsole(const Arguments& arguments);
    void TintChocolates(const Arguments& arguments);
    void SetNamedValue(const Arguments& arguments);
    void GetUpgrade(const Arguments& arguments);
    void SetSpritePosition(const Arguments& arguments);
    void SetSpriteLayer(const Arguments& arguments);
    void SetSpriteVisible(const Arguments& arguments);
    void SetSpriteDelay(const Arguments& arguments);
    void SetSpriteScale(const Arguments& arguments);
    void AddMinutes(const Arguments& arguments);
    // Rigs "current_level_total", then ends the level.
    void EndWithTotal(double total);
    TString AddMoney(int amount);

    ShopWindow& mScreen;
};
