// The shipped game run by its main routine from the build's assets on a
// whole platform with a fake timer: a first player, the main menu's scripts
// and pictures, and the player's clicks, keys and idle passes.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/app/platformevent.h"
#include "game/startup/gamemain.h"
#include "game/widgets/split9image.h"
#include "widgets/text.h"
#include "tests/shell/shelltesting.h"


inline std::string ReadAsset(const std::string& name) {
    std::ifstream file(std::string(VANDERMOOT_ASSETS) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Edges are exclusive: rectangles that only touch do not overlap.
inline bool Overlap(const TRect& a, const TRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

inline bool Inside(const TRect& outer, const TRect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class GameScreenTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        // Scripts are run by their asset name and read each other through
        // the working folder's "assets".
        for (const auto& entry : std::filesystem::directory_iterator(std::string(VANDERMOOT_ASSETS) + "/scripts")) {
            std::string name = "scripts/" + entry.path().filename().string();
            AddFile(name, ReadAsset(name));
            AddFile("assets/" + name, ReadAsset(name));
        }
        AddFile("strings/en/strings.xml", ReadAsset("strings/en/strings.xml"));
        // Buttons take their size from their images.
        for (const char* name : {"ui/buttons/oval_lt_blue_up.png", "ui/buttons/oval_lt_blue_down.png",
                                 "ui/buttons/oval_lt_blue_over.png", "ui/buttons/oval_lt_blue_disabled.png",
                                 "ui/backgrounds/dialog_panel.png", "ui/backgrounds/title_backdrop.png",
                                 "ui/backgrounds/split9_dialog_small.png"}) {
            AddFile(name, ReadAsset(name));
        }
        for (const char* name : {"credits.txt", "upsell.xml"}) AddFile(name, ReadAsset(name));
        // A player, so the main menu comes first.
        CreateGameWithUser();
    }

    void TearDown() override {
        GameMainTearDown(mSession);
        ShellTest::TearDown();
    }

    TWindow* FindInTop(const char* name) {
        TModalWindow* top = TWindowManager::GetInstance()->GetTopModal();
        return top ? top->FindChildWindow(name, -1) : nullptr;
    }

    // The pointer moves there first, as a player's does.
    void Click(TWindow* window) {
        TPoint centre = window->LocalToGlobal(TPoint(window->GetWidth() / 2, window->GetHeight() / 2));
        for (int32_t type : {TPlatformEvent::kMouseMove, TPlatformEvent::kMouseDown, TPlatformEvent::kMouseUp}) {
            Send(type, 0, centre.x, centre.y);
        }
    }

    void Send(int32_t type, int32_t param, int x = 0, int y = 0) {
        TPlatformEvent event;
        event.type = type;
        event.param = param;
        event.x = x;
        event.y = y;
        HandleGameEvent(mPlatform.get(), event);
    }

    // Enter and Escape come as the key, then the character it types.
    void Press(int key) {
        Send(TPlatformEvent::kKeyDown, key);
        Send(TPlatformEvent::kChar, key);
    }

    void Type(const std::string& text) {
        for (char c : text) Send(TPlatformEvent::kChar, static_cast<unsigned char>(c));
    }

    std::string TextOf(const char* name) {
        TText* text = CastToTText(FindInTop(name));
        return text ? text->GetText().c_str() : "(no text " + std::string(name) + ")";
    }

    // Idle passes until the named window is in the top modal; false when it
    // does not come.
    bool RunUntilShown(const char* name) {
        for (int i = 0; i < 100 && !FindInTop(name); ++i) {
            TPlatformEvent event;
            mPlatform->GetEvent(event);
            HandleGameEvent(mPlatform.get(), event);
            mTimer.Advance(20);
        }
        return FindInTop(name) != nullptr;
    }

    // Idle passes until the named window has left the top modal.
    bool RunUntilGone(const char* name) {
        for (int i = 0; i < 100 && FindInTop(name); ++i) RunFor(20);
        return FindInTop(name) == nullptr;
    }

    // Idle passes until the quit event comes; false when it does not.
    bool RunUntilQuit() {
        for (int i = 0; i < 100; ++i) {
            TPlatformEvent event;
            mPlatform->GetEvent(event);
            if (event.type == TPlatformEvent::kQuit) return true;
            HandleGameEvent(mPlatform.get(), event);
            mTimer.Advance(20);
        }
        return false;
    }

    // Idle passes over the given time.
    void RunFor(uint32_t milliseconds) {
        for (uint32_t passed = 0; passed < milliseconds; passed += 20) {
            TPlatformEvent event;
            mPlatform->GetEvent(event);
            HandleGameEvent(mPlatform.get(), event);
            mTimer.Advance(20);
        }
    }

    // Where the text's letters are on the screen; the layout's whole height.
    static TRect LettersOf(TText* text) {
        TRect extents = text->GetTextExtents();
        TRect global = text->GetGlobalRect();
        return TRect(global.left + extents.left, global.top + extents.top, global.left + extents.right,
                     global.top + extents.bottom);
    }

    // The title's letters lie on the sign it is lettered on.
    void ExpectOnItsSign(const char* name, const std::string& where) {
        TText* title = CastToTText(FindInTop(name));
        ASSERT_NE(title, nullptr) << where;
        TWindow* sign = title->GetParent();
        ASSERT_TRUE(sign && sign->IsA(KSplit9Image::ClassId())) << where;
        TRect letters = LettersOf(title);
        EXPECT_GT(letters.right - letters.left, 0) << where;
        EXPECT_TRUE(Inside(sign->GetGlobalRect(), letters)) << where;
    }

    // Adds every file of an asset folder under its asset name.
    void AddAssetFolder(const std::string& folder) {
        for (const auto& entry : std::filesystem::directory_iterator(std::string(VANDERMOOT_ASSETS) + "/" + folder)) {
            std::string name = folder + "/" + entry.path().filename().string();
            AddFile(name, ReadAsset(name));
        }
    }

    // Adds every file below an asset folder under its asset name.
    void AddAssetTree(const std::string& folder) {
        std::string root = std::string(VANDERMOOT_ASSETS) + "/";
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root + folder)) {
            if (!entry.is_regular_file()) continue;
            AddFile(entry.path().string().substr(root.size()), ReadAsset(entry.path().string().substr(root.size())));
        }
    }

    TGameSession mSession;
};
