#include "core/windows/flashmovie.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "core/windows/platformlink.h"
#include "core/windows/screen.h"
#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "foundation/stringtable.h"
#include "graphics/render/renderer.h"
#include "platform/flash/unavailableplayer.h"

namespace {

const char kControlPrefix[] = "ShockwaveFlash.ShockwaveFlash.";
const char kFlashLabelPrefix[] = "FLASH_";

// The file's absolute path when it exists on disk; empty otherwise.
std::string ExistingFile(const std::string& name) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(name, error);
    if (error || !std::filesystem::is_regular_file(path, error)) return std::string();
    return path.string();
}

// Movies are read from the disk folders only, never from packs.
std::string FindMovieFile(const TString& name) {
    std::string inAssets = ExistingFile(std::string("assets/") + name.c_str());
    return inAssets.empty() ? ExistingFile(name.c_str()) : inAssets;
}

// The names of a list in which each name ends with ';'. A last name without
// one is dropped, and so are empty names.
std::vector<TString> SplitNames(const std::string& list) {
    std::vector<TString> names;
    size_t start = 0;
    for (size_t end = list.find(';'); end != std::string::npos; end = list.find(';', start)) {
        if (end > start) names.emplace_back(list.substr(start, end - start).c_str());
        start = end + 1;
    }
    return names;
}

// Labels of the other flash form have no prefix and are passed whole.
TString VariableOfLabel(const TString& label) {
    std::string text = label.c_str();
    if (text.rfind(kFlashLabelPrefix, 0) != 0) return label;
    return TString(text.substr(sizeof kFlashLabelPrefix - 1).c_str());
}

}  // namespace

TFlashMovie::TFlashMovie(const TString& name) : TFlashMovie(name, std::make_unique<flash::UnavailablePlayer>()) {}

TFlashMovie::TFlashMovie(const TString& name, std::unique_ptr<flash::Player> player)
    : mName(name), mPlayer(std::move(player)) {
    TPlatformLink* platform = GetPlatformLink();
    mSavedCursorShown = platform ? platform->IsSystemCursorShown() : true;
}

TFlashMovie::~TFlashMovie() {
    Close();
}

bool TFlashMovie::Play(bool loop, bool localise, bool input) {
    if (mShown) {
        DebugLog("TFlashMovie::Play: '%s' is already shown", mName.c_str());
        return false;
    }
    if (TPlatformLink* platform = GetPlatformLink()) platform->ShowSystemCursor(false);
    if (!StartControl(ChooseControl(localise), input) || !LoadMovie(loop, localise)) {
        mPlayer->Close();
        RestorePlatform();
        return false;
    }
    mShown = true;
    mInput = input;
    if (TWindowManager* manager = TWindowManager::GetInstance()) {
        manager->SetMovieShown(true);
        if (input) manager->SetMovieInput(true);
    }
    if (TPlatformLink* platform = GetPlatformLink()) platform->FlipToGdiSurface();
    return true;
}

TFlashMovie::TControlChoice TFlashMovie::ChooseControl(bool localise) {
    TControlChoice choice{TString(kControlPrefix) + (localise ? "6" : "4"), localise ? 6 : 4};
    // strtol saturates where atoi would overflow.
    long setting = strtol(GetSetting("flashmajorversion", TString()).c_str(), nullptr, 10);
    int wanted = static_cast<int>(std::min<long>(setting, INT_MAX));
    if (wanted > choice.minimum) {
        choice.id = TString::Format("%s%d", kControlPrefix, wanted);
        choice.minimum = wanted;
    }
    return choice;
}

bool TFlashMovie::StartControl(const TControlChoice& control, bool input) {
    if (!mPlayer->Start(control.id.c_str(), input)) return false;
    TPlatformLink* platform = GetPlatformLink();
    if (!input && platform) {
        platform->SetMouseBlocked(true);
        mBlocking = true;
    }
    return GetFlashVersion() >= control.minimum;
}

bool TFlashMovie::LoadMovie(bool loop, bool localise) {
    std::string path = FindMovieFile(mName);
    if (path.empty()) return false;
    bool looping = loop;
    if (!Property("Movie", true, path.c_str(), nullptr, nullptr) ||
        !Property("Loop", true, nullptr, &looping, nullptr)) {
        return false;
    }
    // Without localising, the control starts the movie itself.
    if (!localise) return true;
    CallMethod("Stop");
    SetTextVariables();
    return CallMethod("Play");
}

void TFlashMovie::SetTextVariables() {
    TPlatformLink* platform = GetPlatformLink();
    const TStringTable* table = platform ? platform->GetStringTable() : nullptr;
    if (!table) {
        DebugLog("TFlashMovie: no string table for the texts of '%s'", mName.c_str());
        return;
    }
    TString names;
    if (CallMethod("GetVariable", "textvarnames", nullptr, &names)) {
        for (const TString& name : SplitNames(names.c_str())) {
            CallMethod("SetVariable", name.c_str(), table->GetString(name).c_str());
        }
    }
    std::vector<TString> labels;
    table->GetFlashLabels(labels);
    for (const TString& label : labels) {
        CallMethod("SetVariable", VariableOfLabel(label).c_str(), table->GetString(label).c_str());
    }
}

bool TFlashMovie::IsPlaying() {
    bool playing = false;
    return Property("Playing", false, nullptr, &playing, nullptr) && playing;
}

void TFlashMovie::Close() {
    if (!mShown) return;
    mShown = false;
    mPlayer->Close();
    // In teardown the window manager or the platform may be gone already.
    TWindowManager* manager = TWindowManager::GetInstance();
    if (manager) {
        manager->SetMovieShown(false);
        if (mInput) manager->SetMovieInput(false);
    }
    mInput = false;
    TPlatformLink* platform = GetPlatformLink();
    if (platform) platform->FocusGameWindow();
    RepaintScreen(manager, platform);
    RestorePlatform();
}

// One frame in the root screen's colour, so no stale movie image stays. The
// renderer outlives the window manager, so it is there whenever the screen is.
void TFlashMovie::RepaintScreen(TWindowManager* manager, TPlatformLink* platform) {
    if (platform) platform->ResetMouseImage();
    auto* screen = manager ? dynamic_cast<TScreen*>(manager->GetRootWindow()) : nullptr;
    TRenderer* renderer = TRenderer::GetInstance();
    if (screen && renderer->BeginDraw(true)) {
        renderer->FillRect(screen->GetRect(), screen->GetClearColor());
        renderer->EndDraw(true);
    }
    if (platform) platform->ResetMouseImage();
}

void TFlashMovie::RestorePlatform() {
    TPlatformLink* platform = GetPlatformLink();
    if (!platform) return;
    if (mBlocking) platform->SetMouseBlocked(false);
    mBlocking = false;
    platform->ShowSystemCursor(mSavedCursorShown);
}

bool TFlashMovie::CallMethod(const char* name, const char* first, const char* second, TString* result) {
    std::string method = name ? name : "";
    if (method == "Stop") return mPlayer->Stop();
    if (method == "Play") return mPlayer->Play();
    if (method == "SetVariable") return first && second && mPlayer->SetVariable(first, second);
    if (method != "GetVariable" || !first) return false;
    std::string value;
    if (!mPlayer->GetVariable(first, value)) return false;
    if (result) *result = TString(value.c_str());
    return true;
}

bool TFlashMovie::Property(const char* name, bool put, const char* text, bool* flag, int32_t* number) {
    std::string property = name ? name : "";
    if (property == "Movie") return put && text && mPlayer->SetMovie(text);
    if (property == "Loop") {
        if (!put || text || (!flag && !number)) return false;
        return mPlayer->SetLoop(flag ? *flag : *number != 0);
    }
    if (property != "Playing" || put || (!flag && !number)) return false;
    bool playing = false;
    if (!mPlayer->IsPlaying(playing)) return false;
    if (flag) {
        *flag = playing;
    } else {
        *number = playing ? 1 : 0;
    }
    return true;
}

int TFlashMovie::GetFlashVersion() const {
    return mPlayer->MajorVersion();
}
