#include "core/windows/flashmovie.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "foundation/stringtable.h"
#include "foundation/virtualfiles.h"
#include "platform/flash/fakeplayer.h"
#include "platformtesting.h"
#include "tests/support/tempfolder.h"
#include "windowmanagertesting.h"

namespace {

const TColor4f kScreenColor(0.2f, 0.4f, 0.6f, 1.0f);

std::string Row(const std::string& label, const std::string& text) {
    return "<Row><Cell><Data>" + label + "</Data></Cell><Cell><Data>" + text + "</Data></Cell></Row>\n";
}

// A movie on a fake player, in a working folder of its own, over a window
// manager whose root screen draws on a recording renderer.
class FlashMovieTest : public WindowManagerTest {
protected:
    void SetUp() override {
        WindowManagerTest::SetUp();
        SetLogFolder(mLogs.Path().c_str());
        mOldFolder = std::filesystem::current_path();
        std::filesystem::current_path(mFolder.Path());
        ClearSettings();
        screen->SetClearColor(kScreenColor);
    }
    void TearDown() override {
        movie.reset();
        ClearSettings();
        std::filesystem::current_path(mOldFolder);
        SetLogFolder(nullptr);
        WindowManagerTest::TearDown();
    }

    // A new movie of that name on a new fake player.
    void MakeMovie(const char* name = "intro.swf") {
        auto fake = std::make_unique<flash::FakePlayer>();
        player = fake.get();
        movie = std::make_unique<TFlashMovie>(name, std::move(fake));
    }
    void LoadStrings(const std::string& rows) {
        std::string sheet = "<Workbook><Worksheet><Table>\n" + rows + "</Table></Worksheet></Workbook>\n";
        RegisterMemoryFile("strings.xml", sheet.data(), sheet.size());
        ASSERT_TRUE(strings.Load("strings.xml"));
        RegisterMemoryFile("strings.xml", nullptr, 0);
        platform.table = &strings;
    }
    // Nothing of the movie is left: the player is down, the flags are clear
    // and the cursor is as it was.
    void ExpectNoTrace(bool cursorBefore) {
        EXPECT_FALSE(player->started);
        EXPECT_FALSE(manager->IsMovieShown());
        EXPECT_FALSE(manager->BlocksInput());
        EXPECT_FALSE(platform.blocked);
        EXPECT_EQ(platform.cursorShown, cursorBefore);
        EXPECT_EQ(std::count(platform.calls.begin(), platform.calls.end(), "flip"), 0);
    }
    std::vector<TRecordingRenderBackEnd::TCall> FrameCalls() const {
        std::vector<TRecordingRenderBackEnd::TCall> calls;
        for (const auto& call : recorder->GetCalls()) {
            if (call.kind == TRecordingRenderBackEnd::kBeginDraw || call.kind == TRecordingRenderBackEnd::kFillRect ||
                call.kind == TRecordingRenderBackEnd::kEndDraw) {
                calls.push_back(call);
            }
        }
        return calls;
    }

    TempFolder mFolder;
    FakePlatform platform;
    TStringTable strings;
    std::unique_ptr<TFlashMovie> movie;
    flash::FakePlayer* player = nullptr;

private:
    TempFolder mLogs;
    std::filesystem::path mOldFolder;
};

struct ControlCase {
    bool localise;
    const char* majorVersion;  // null: unset
    const char* controlId;
    int minimum;
};

TEST_F(FlashMovieTest, ControlIdentifierAndMinimumVersionFollowLocalisingAndTheSetting) {
    mFolder.Write("assets/intro.swf", "movie");
    const ControlCase cases[] = {
        {false, nullptr, "ShockwaveFlash.ShockwaveFlash.4", 4},
        {true, nullptr, "ShockwaveFlash.ShockwaveFlash.6", 6},
        {true, "5", "ShockwaveFlash.ShockwaveFlash.6", 6},
        {false, "5", "ShockwaveFlash.ShockwaveFlash.5", 5},
        {true, "9", "ShockwaveFlash.ShockwaveFlash.9", 9},
        {false, "soon", "ShockwaveFlash.ShockwaveFlash.4", 4},
        {false, "99999999999", "ShockwaveFlash.ShockwaveFlash.2147483647", 2147483647},
    };
    for (const ControlCase& c : cases) {
        SCOPED_TRACE(std::string(c.localise ? "localised, " : "plain, ") + (c.majorVersion ? c.majorVersion : "unset"));
        ClearSettings();
        if (c.majorVersion) SetSetting("flashmajorversion", c.majorVersion);
        for (int version : {c.minimum - 1, c.minimum}) {
            MakeMovie();
            player->majorVersion = version;
            EXPECT_EQ(movie->Play(false, c.localise, false), version >= c.minimum);
            EXPECT_EQ(player->calls.front(), std::string("Start ") + c.controlId);
            movie->Close();
        }
    }
}

TEST_F(FlashMovieTest, TheMovieIsFoundUnderAssetsFirstThenByItsOwnName) {
    mFolder.Write("assets/intro.swf", "in assets");
    mFolder.Write("intro.swf", "beside");
    mFolder.Write("outro.swf", "beside only");
    MakeMovie("intro.swf");
    ASSERT_TRUE(movie->Play(true, false, false));
    EXPECT_EQ(player->movie, std::filesystem::absolute("assets/intro.swf").string());
    EXPECT_TRUE(player->loop);

    MakeMovie("outro.swf");
    ASSERT_TRUE(movie->Play(false, false, false));
    EXPECT_EQ(player->movie, std::filesystem::absolute("outro.swf").string());
    EXPECT_FALSE(player->loop);

    // Paths have no fixed length limit.
    std::string longName = std::string(200, 'd') + "/" + std::string(200, 'm') + ".swf";
    mFolder.Write("assets/" + longName, "deep");
    MakeMovie(longName.c_str());
    ASSERT_TRUE(movie->Play(false, false, false));
    EXPECT_EQ(player->movie, std::filesystem::absolute("assets/" + longName).string());
}

TEST_F(FlashMovieTest, AMissingMovieFailsAndLeavesNoTrace) {
    mFolder.Write("assets/folder.swf/inside", "a folder is no movie");
    for (const char* name : {"missing.swf", "folder.swf", ""}) {
        SCOPED_TRACE(name);
        MakeMovie(name);
        EXPECT_FALSE(movie->Play(false, false, false));
        ExpectNoTrace(true);
    }
}

TEST_F(FlashMovieTest, AFailingControlCallFailsThePlayAndLeavesNoTrace) {
    mFolder.Write("assets/intro.swf", "movie");
    platform.cursorShown = false;
    for (const char* failing : {"SetMovie", "SetLoop", "Play"}) {
        SCOPED_TRACE(failing);
        MakeMovie();
        player->failing = failing;
        EXPECT_FALSE(movie->Play(false, true, false));
        ExpectNoTrace(false);
    }
}

TEST_F(FlashMovieTest, LocalisingFillsTheListedVariablesAndTheFlashLabelsBeforePlaying) {
    mFolder.Write("assets/intro.swf", "movie");
    LoadStrings(Row("a", "Alpha") + Row("b", "Beta") + Row("c", "Gamma") + Row("FLASH_title", "The Shop") +
                Row("FLASH_sub", "Open"));
    MakeMovie();
    player->variables["textvarnames"] = "a;b;c";
    ASSERT_TRUE(movie->Play(false, true, false));
    std::vector<std::string> expected = {"Start ShockwaveFlash.ShockwaveFlash.6",
                                         "SetMovie " + std::filesystem::absolute("assets/intro.swf").string(),
                                         "SetLoop 0",
                                         "Stop",
                                         "GetVariable textvarnames",
                                         "SetVariable a=Alpha",
                                         "SetVariable b=Beta",
                                         "SetVariable sub=Open",
                                         "SetVariable title=The Shop",
                                         "Play"};
    EXPECT_EQ(player->calls, expected);
}

TEST_F(FlashMovieTest, ListedVariablesWithoutALabelGetTheMissingLabelText) {
    mFolder.Write("assets/intro.swf", "movie");
    LoadStrings(Row("a", "Alpha"));
    MakeMovie();
    player->variables["textvarnames"] = "a;;nolabel;";
    ASSERT_TRUE(movie->Play(false, true, false));
    EXPECT_EQ(player->variables["a"], "Alpha");
    EXPECT_EQ(player->variables.count(""), 0u);
    EXPECT_EQ(player->variables["nolabel"], strings.GetString("nolabel").c_str());
}

TEST_F(FlashMovieTest, AMovieWithInputSetsTheMovieFlagsAndCloseClearsThemWithOneFrame) {
    mFolder.Write("assets/intro.swf", "movie");
    MakeMovie();
    ASSERT_TRUE(movie->Play(false, false, true));
    EXPECT_TRUE(player->input);
    EXPECT_TRUE(manager->IsMovieShown());
    EXPECT_TRUE(manager->BlocksInput());
    EXPECT_FALSE(platform.blocked);
    EXPECT_FALSE(platform.cursorShown);
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"cursor:off", "flip"}));
    EXPECT_TRUE(movie->IsPlaying());
    player->playing = false;
    EXPECT_FALSE(movie->IsPlaying());

    recorder->ClearCalls();
    platform.calls.clear();
    movie->Close();
    EXPECT_FALSE(player->started);
    EXPECT_FALSE(manager->IsMovieShown());
    EXPECT_FALSE(manager->BlocksInput());
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"focus", "mouse-image", "mouse-image", "cursor:on"}));
    auto frame = FrameCalls();
    ASSERT_EQ(frame.size(), 3u);
    EXPECT_EQ(frame[0].kind, TRecordingRenderBackEnd::kBeginDraw);
    EXPECT_EQ(frame[1].kind, TRecordingRenderBackEnd::kFillRect);
    EXPECT_EQ(frame[1].rect, screen->GetRect());
    EXPECT_EQ(frame[1].color, kScreenColor);
    EXPECT_EQ(frame[2].kind, TRecordingRenderBackEnd::kEndDraw);

    recorder->ClearCalls();
    movie->Close();  // a second close does nothing
    EXPECT_TRUE(recorder->GetCalls().empty());
    EXPECT_FALSE(movie->IsPlaying());
}

TEST_F(FlashMovieTest, AMovieWithoutInputBlocksTheMouseUntilClosed) {
    mFolder.Write("assets/intro.swf", "movie");
    MakeMovie();
    ASSERT_TRUE(movie->Play(false, false, false));
    EXPECT_FALSE(player->input);
    EXPECT_TRUE(platform.blocked);
    EXPECT_TRUE(manager->IsMovieShown());
    EXPECT_FALSE(manager->BlocksInput());
    EXPECT_FALSE(movie->Play(false, false, false));  // already shown
    movie.reset();  // deleting closes
    EXPECT_FALSE(platform.blocked);
    EXPECT_FALSE(manager->IsMovieShown());
    EXPECT_TRUE(platform.cursorShown);
}

TEST_F(FlashMovieTest, ClosingInTeardownSkipsTheStepsWhoseObjectsAreGone) {
    mFolder.Write("assets/intro.swf", "movie");
    MakeMovie();
    ASSERT_TRUE(movie->Play(false, false, true));
    SetPlatformLink(nullptr);
    manager.reset();
    recorder->ClearCalls();
    platform.calls.clear();
    movie->Close();
    EXPECT_FALSE(player->started);
    EXPECT_TRUE(recorder->GetCalls().empty());
    EXPECT_TRUE(platform.calls.empty());
    SetPlatformLink(&platform);
}

TEST_F(FlashMovieTest, OnThisSystemsPlayerPlayFailsAndLeavesNoTrace) {
    mFolder.Write("assets/intro.swf", "movie");
    TFlashMovie systemMovie("intro.swf");
    EXPECT_FALSE(systemMovie.Play(false, true, false));
    EXPECT_FALSE(systemMovie.IsPlaying());
    EXPECT_EQ(systemMovie.GetFlashVersion(), 0);
    EXPECT_FALSE(manager->IsMovieShown());
    EXPECT_FALSE(platform.blocked);
    EXPECT_TRUE(platform.cursorShown);
    EXPECT_EQ(platform.calls, (std::vector<std::string>{"cursor:off", "cursor:on"}));
}

TEST_F(FlashMovieTest, ControlCallsRefuseUnknownNamesAndValuesOfTheWrongKind) {
    mFolder.Write("assets/intro.swf", "movie");
    MakeMovie();
    ASSERT_TRUE(movie->Play(false, false, true));
    TString result;
    EXPECT_FALSE(movie->CallMethod("Rewind"));
    EXPECT_FALSE(movie->CallMethod(nullptr));
    EXPECT_FALSE(movie->CallMethod("SetVariable", "only"));
    EXPECT_FALSE(movie->CallMethod("GetVariable", nullptr, nullptr, &result));
    EXPECT_TRUE(movie->CallMethod("SetVariable", "name", "Zoë"));
    EXPECT_TRUE(movie->CallMethod("GetVariable", "name", nullptr, &result));
    EXPECT_STREQ(result.c_str(), "Zoë");

    bool flag = true;
    int32_t number = 7;
    EXPECT_FALSE(movie->Property("Volume", true, nullptr, nullptr, &number));
    EXPECT_FALSE(movie->Property("Movie", true, nullptr, &flag, nullptr));
    EXPECT_FALSE(movie->Property("Loop", true, "yes", nullptr, nullptr));
    EXPECT_FALSE(movie->Property("Loop", false, nullptr, &flag, nullptr));
    EXPECT_FALSE(movie->Property("Playing", true, nullptr, &flag, nullptr));
    EXPECT_FALSE(movie->Property("Playing", false, nullptr, nullptr, nullptr));
    EXPECT_TRUE(movie->Property("Loop", true, nullptr, nullptr, &number));
    EXPECT_TRUE(player->loop);
    EXPECT_TRUE(movie->Property("Playing", false, nullptr, nullptr, &number));
    EXPECT_EQ(number, 1);
}

}  // namespace
