#include "game/shell/game.h"

#include <cmath>
#include <cstdlib>

#include "core/app/gamestate.h"
#include "runtime/platform.h"
#include "runtime/platformdata.h"
#include "core/scripting/luabinding.h"
#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"
#include "foundation/prefs.h"
#include "foundation/settings.h"
#include "foundation/stringtable.h"
#include "foundation/userfile.h"
#include "game/level/levelmanager.h"
#include "game/progression/achievementmanager.h"
#include "game/progression/questmanager.h"
#include "game/progression/tutorialmanager.h"
#include "game/shell/blockstore.h"
#include "game/shell/gamesoundmanager.h"
#include "game/shell/mainscript.h"
#include "game/shell/savenotice.h"
#include "game/shell/valuemanager.h"
#include "game/utilities/luacommand.h"
#include "lua/numbercast.h"
#include "online/qmhiscores.h"
#include "sound/soundmanager.h"

namespace {

VGame* gGame = nullptr;

const char* const kModeNames[VGame::kNumGameModes] = {"vandermoot_storymode", "vandermoot_endlesseasy",
                                                      "vandermoot_endlessmedium", "vandermoot_endlesshard"};
const char kUserVersionNumber[] = "1.0";
const char kPauseCommand[] = "DoModal( 'scripts/pause.lua' );";
const char kLanguage[] = "en";

const char kCurrentUserKey[] = "curuser";
const char kGameModeKey[] = "gamemode";
const char kFullScreenKey[] = "fullscreen";
const char kNameKey[] = "name";
const char kSoundLevelKey[] = "soundlevel";
const char kMusicLevelKey[] = "musiclevel";
const char kSoundOffKey[] = "soundoff";
const char kUserVersionKey[] = "userversionnumber";
const int kDefaultLevel = 750;
// GetUserEntry's data text holds at most 100 bytes.
const int kEntryDataSize = 101;

// Each script function bound to its member, in the order scripts meet them.
template <auto method>
void Publish(lua_State* L, const char* name, VGame* game) {
    RegisterBinding(L, name, game, method);
}

struct TGameFunction {
    const char* name;
    void (*publish)(lua_State* L, const char* name, VGame* game);
};

const TGameFunction kLuaFunctions[] = {
    {"ToggleFullScreen", &Publish<&VGame::ToggleFullScreen>},
    {"ToggleSoundMute", &Publish<&VGame::ToggleSoundMute>},
    {"SetCurrentGameMode", &Publish<&VGame::SetCurrentGameMode>},
    {"GetCurrentGameMode", &Publish<&VGame::GetCurrentGameMode>},
    {"SetCurrentDifficulty", &Publish<&VGame::SetCurrentDifficulty>},
    {"GetCurrentDifficulty", &Publish<&VGame::GetCurrentDifficulty>},
    {"GetNumUsers", &Publish<&VGame::GetNumUsers>},
    {"CreateNewUser", &Publish<&VGame::CreateNewUser>},
    {"SetCurrentUser", &Publish<&VGame::SetCurrentUser>},
    {"GetCurrentUserName", &Publish<&VGame::GetCurrentUserName>},
    {"ChangeCurrentUserName", &Publish<&VGame::ChangeCurrentUserName>},
    {"DeleteUser", &Publish<&VGame::DeleteUser>},
    {"IsNameInUse", &Publish<&VGame::IsNameInUse>},
    {"QuitToMainMenu", &Publish<&VGame::QuitToMainMenu>},
    {"InsideGame", &Publish<&VGame::InsideGame>},
    {"GetLastLevelCompleted", &Publish<&VGame::GetLastLevelCompleted>},
    {"IsGameLoaded", &Publish<&VGame::IsGameLoaded>},
    {"AreInsideGame", &Publish<&VGame::AreInsideGame>},
    {"SetQuitting", &Publish<&VGame::SetQuitting>},
    {"AreQuitting", &Publish<&VGame::AreQuitting>},
    {"GetScore", &Publish<&VGame::GetScore>},
    {"random", &Publish<&VGame::Random>},
    {"rem", &Publish<&VGame::Rem>},
    {"LaunchURL", &Publish<&VGame::LaunchURL>},
};

struct TBinaryBlockSpec {
    const char* name;
    int size;
    char fill;
};

const char* const kLocations[] = {"grytviken", "namche", "krakatoa", "kamchatka", "iquitos", "gaberoun"};

void SetState(const char* key, int value) {
    if (TGameState* state = TGameState::Get()) state->SetStateInt(key, value);
}

TSoundManager* GetEngineSound() {
    TPlatform* platform = TPlatform::GetInstance();
    return platform ? platform->GetSoundManager() : nullptr;
}

// Integer blocks are added with their default, binary ones sized and filled.
void AddIntBlock(VBlockStore& blocks, const char* name, int defaultValue) {
    blocks.Add(RIntBlock::Create(name, defaultValue, false));
}

void AddBinaryBlock(VBlockStore& blocks, const TBinaryBlockSpec& spec) {
    blocks.Add(VBinaryBlock::Create(spec.name, spec.size, spec.fill, false));
}

// One binary block per location, named prefix + location.
void AddLocationBlocks(VBlockStore& blocks, const char* prefix, int size, char fill) {
    for (const char* location : kLocations) {
        TString name = TString::Format("%s%s", prefix, location);
        AddBinaryBlock(blocks, {name.c_str(), size, fill});
    }
}

}  // namespace

VGame::VGame() : mPrefs(std::make_unique<TPrefs>(true)), mHiscores(std::make_unique<TQmHiscores>()) {}

// Runs once the instance is reachable: the blocks and managers that the
// user's progress loads find the game through VGame::Get.
void VGame::Start() {
    PublishFunctions();
    RemoveStaleUsers();
    SetCurrentGameMode(mPrefs->GetInt(TPrefs::kGlobal, kGameModeKey, 0));
    int user = mPrefs->GetInt(TPrefs::kGlobal, kCurrentUserKey, -1);
    // A stored user that no longer exists would take the saves of nobody.
    SetCurrentUser(user < GetNumUsers() ? user : -1);
    // Choosing the user saved, which set a damaged players file aside.
    const TString damagedCopy = mPrefs->GetDamagedCopyPath();
    if (damagedCopy.Length() > 0) NoticeDamagedPlayers(damagedCopy);
}

// The preferences go first: their destructor writes the file a last time.
VGame::~VGame() {
    WithdrawFunctions();
    mPrefs.reset();
    mHiscores.reset();
    mBlocks.reset();
}

VGame* VGame::Create() {
    Destroy();
    // Before the preferences load: converting an old file saves at once.
    SetSaveFailureHandler(NoticeFailedSave);
    gGame = new VGame();
    gGame->Start();
    return gGame;
}

// Readers reached from the teardown find no half-deleted game.
void VGame::Destroy() {
    VGame* game = gGame;
    gGame = nullptr;
    delete game;
    SetSaveFailureHandler(nullptr);
}

VGame* VGame::Get() {
    return gGame;
}

void VGame::PublishFunctions() {
    lua_State* L = GetMainScriptState();
    if (!L) return;
    for (const TGameFunction& function : kLuaFunctions) function.publish(L, function.name, this);
}

void VGame::WithdrawFunctions() {
    lua_State* L = GetMainScriptState();
    if (!L) return;
    for (const TGameFunction& function : kLuaFunctions) UnregisterBinding(L, function.name);
}

void VGame::StoreGlobal(const char* key, int value) {
    mPrefs->SetInt(TPrefs::kGlobal, key, value, true);
}

// --- Options ---

bool VGame::IsFullScreen() const {
    TPlatform* platform = TPlatform::GetInstance();
    return platform && platform->IsFullScreen();
}

bool VGame::ToggleFullScreen() {
    TPlatform* platform = TPlatform::GetInstance();
    if (!platform || !platform->SetFullScreen(!platform->IsFullScreen())) return false;
    RecordFullScreen();
    return true;
}

void VGame::RecordFullScreen() {
    StoreGlobal(kFullScreenKey, IsFullScreen() ? 1 : 0);
}

void VGame::ToggleSoundMute() {
    int user = GetCurrentUser();
    int off = mPrefs->GetInt(user, kSoundOffKey, 0) != 1 ? 1 : 0;
    mPrefs->SetInt(user, kSoundOffKey, off, true);
    if (TSoundManager* sound = GetEngineSound()) sound->SetMasterVolume(off == 1 ? 0.0f : 1.0f);
}

void VGame::ApplyDisplayMode() {
    if (TPlatform* platform = TPlatform::GetInstance()) {
        platform->SetDisplay(800, 600, mPrefs->GetInt(TPrefs::kGlobal, kFullScreenKey, 1) == 1);
    }
}

void VGame::ApplySoundLevels() {
    TSoundManager* sound = GetEngineSound();
    if (!sound) return;
    int user = GetCurrentUser();
    float effects = static_cast<float>(mPrefs->GetInt(user, kSoundLevelKey, kDefaultLevel)) / 1000.0f;
    float music = static_cast<float>(mPrefs->GetInt(user, kMusicLevelKey, kDefaultLevel)) / 1000.0f;
    sound->SetGroupVolume(VSoundManager::kEffectGroup, effects);
    sound->SetGroupVolume(0, effects);
    sound->SetGroupVolume(VSoundManager::kMusicGroup, music);
    sound->SetMasterVolume(mPrefs->GetInt(user, kSoundOffKey, 0) == 0 ? 1.0f : 0.0f);
}

void VGame::ApplyUserOptions() {
    ApplyDisplayMode();
    ApplySoundLevels();
    LoadUserProgress();
}

// --- Modes ---

void VGame::SetCurrentGameMode(int mode) {
    if (mode < 0 || mode >= kNumGameModes) return;
    mGameMode = mode;
    mDifficulty = 0;
    mHiscores->SetSessionValue(TQmHiscores::kGameMode, kModeNames[mode]);
    StoreGlobal(kGameModeKey, mode);
    SetState("StoryModeSessionTime", mode == 0 ? 1 : 0);
}

void VGame::SetCurrentDifficulty(int difficulty) {
    if (difficulty < 0 || difficulty >= kNumDifficulties) return;
    // The endless modes follow the difficulty.
    if (mGameMode >= 1) SetCurrentGameMode(difficulty + 1);
    mDifficulty = difficulty;
}

// --- Users ---

int VGame::GetNumUsers() const {
    return mPrefs->GetNumUsers();
}

TString VGame::GetUserName(int index) const {
    return mPrefs->GetString(index, kNameKey, "");
}

int VGame::GetCurrentUser() const {
    return mPrefs->GetInt(TPrefs::kGlobal, kCurrentUserKey, -1);
}

TString VGame::GetCurrentUserName() const {
    int user = GetCurrentUser();
    return user < 0 ? TString() : GetUserName(user);
}

bool VGame::IsNameInUse(const TString& name) const {
    for (int i = 0; i < GetNumUsers(); ++i) {
        if (GetUserName(i) == name) return true;
    }
    return false;
}

void VGame::CreateNewUser(const TString& name) {
    int user = GetNumUsers();
    int current = GetCurrentUser();
    mPrefs->SetString(user, kNameKey, name, true);
    for (const char* key : {kSoundLevelKey, kMusicLevelKey}) {
        mPrefs->SetInt(user, key, mPrefs->GetInt(current, key, kDefaultLevel), true);
    }
    mPrefs->SetInt(user, kSoundOffKey, mPrefs->GetInt(current, kSoundOffKey, 0), true);
    mPrefs->SetString(user, kUserVersionKey, kUserVersionNumber, true);
    SetCurrentUser(user);
}

void VGame::SetCurrentUser(int index) {
    if (index >= GetNumUsers()) return;
    // Every negative index is the one "none".
    if (index < 0) index = -1;
    StoreGlobal(kCurrentUserKey, index);
    if (index < 0) return;
    mHiscores->SetSessionValue(TQmHiscores::kPlayerName, GetUserName(index));
    ApplySoundLevels();
    LoadUserProgress();
}

void VGame::DeleteUser(int index) {
    // The prefs' user -1 is their global table.
    if (index < 0 || index >= GetNumUsers()) {
        DebugLog("VGame::DeleteUser: no user %d", index);
        return;
    }
    mPrefs->RemoveUser(index);
    SetCurrentUser(index - 1 >= 0 ? index - 1 : GetNumUsers() - 1);
}

void VGame::ChangeCurrentUserName(const TString& name) {
    int user = GetCurrentUser();
    if (user < 0) return;
    RenameLocalScores(GetUserName(user), name);
    mPrefs->SetString(user, kNameKey, name, true);
}

// The player's unsubmitted local scores move to the new name, mode by mode.
void VGame::RenameLocalScores(const TString& oldName, const TString& newName) {
    TString medals;
    if (auto achievements = VAchievementManager::Get()) achievements->GetMedalsXml(medals);
    for (const char* mode : kModeNames) {
        mHiscores->SetSessionValue(TQmHiscores::kGameMode, mode);
        int score = 0;
        int rank = 0;
        char data[kEntryDataSize] = {};
        if (!mHiscores->GetUserEntry(0, &score, &rank, data, sizeof data)) continue;
        mHiscores->SetSessionValue(TQmHiscores::kPlayerName, newName);
        mHiscores->AddLocalScore(score, true, data, medals);
        mHiscores->SetSessionValue(TQmHiscores::kPlayerName, oldName);
    }
    mHiscores->SetSessionValue(TQmHiscores::kPlayerName, newName);
    mHiscores->SetSessionValue(TQmHiscores::kGameMode, kModeNames[mGameMode]);
}

void VGame::RemoveStaleUsers() {
    int count = GetNumUsers();
    int index = 0;
    for (int examined = 0; examined < count; ++examined) {
        if (mPrefs->GetString(index, kUserVersionKey, "0") != kUserVersionNumber) {
            mPrefs->RemoveUser(index);
        } else {
            ++index;
        }
    }
}

// --- Progress ---

void VGame::RegisterProgressBlocks() {
    VBlockStore& blocks = *mBlocks;
    AddIntBlock(blocks, "score", 0);
    AddIntBlock(blocks, "level", 0);
    AddIntBlock(blocks, "highest_level", 0);
    AddBinaryBlock(blocks, {"level_status", 60, 0});
    AddBinaryBlock(blocks, {"level_best_score", 240, 0});
    AddBinaryBlock(blocks, {"level_score", 24, 0});
    AddIntBlock(blocks, "show_tutorials", 1);
    AddBinaryBlock(blocks, {"tutorials", 50, 0});
    AddBinaryBlock(blocks, {"achievements", 100, 0});
    AddLocationBlocks(blocks, "upgrades_", 75, static_cast<char>(0xFF));
    AddLocationBlocks(blocks, "plot_value_", 240, 0);
    AddLocationBlocks(blocks, "plot_", 60, 0);
}

void VGame::LoadUserProgress() {
    mBlocks = std::make_unique<VBlockStore>();
    RegisterProgressBlocks();
    mBlocks->LoadAll();
    LoadManagedValues();
    VLevelManager::Get()->LoadProgress();
    VAchievementManager::Get()->LoadProgress();
    VTutorialManager::Get()->LoadProgress();
    VQuestManager::Get()->LoadQuestStates();
    LoadStringTable();
}

int VGame::GetScore() const {
    auto block = mBlocks ? mBlocks->GetIntBlock("score") : nullptr;
    return block ? block->GetValue() : 0;
}

int VGame::GetLastLevelCompleted() const {
    // The block "highest_level" shares its stored key with the named value,
    // which the level manager changes: the block would show what was loaded.
    return VLevelManager::Get()->GetHighestComplete();
}

// --- Run flags ---

void VGame::InsideGame(bool inside) {
    if (mGameMode == 0) SetState("StoryModePlayTime", inside ? 1 : 0);
    mInsideGame = inside;
    TPlatform* platform = TPlatform::GetInstance();
    if (inside && platform && !platform->IsActiveWindow()) QueueLuaCommand(kPauseCommand);
}

// --- Other ---

void VGame::QuitToMainMenu() {
    if (TWindowManager* manager = TWindowManager::GetInstance()) {
        TModalWindow* top = manager->GetTopModal();
        while (top && top->GetParent()) {
            manager->PopModal(top->GetIdString());
            TModalWindow* next = manager->GetTopModal();
            // A modal that will not go would hold the loop forever.
            if (next == top) {
                DebugLog("VGame::QuitToMainMenu: modal '%s' stays", top->GetIdString().c_str());
                break;
            }
            top = next;
        }
    }
    if (VSoundManager* sound = VSoundManager::Get()) sound->PurgeSounds();
}

void VGame::LaunchURL(const TString& url) {
    if (TPlatform* platform = TPlatform::GetInstance()) platform->OpenBrowser(url);
}

int VGame::Random(int n) const {
    TPlatform* platform = TPlatform::GetInstance();
    if (n < 1 || !platform) {
        DebugLog("VGame::Random: no number from 1 to %d", n);
        return 0;
    }
    return static_cast<int>(platform->Rand() % static_cast<uint32_t>(n)) + 1;
}

int VGame::Rem(double a, double b) const {
    return script::truncateNumber<int>(a - b * std::floor(a / b));
}

void VGame::LoadStringTable() {
    TPlatform* platform = TPlatform::GetInstance();
    if (!platform) return;
    TString file = TString::Format("strings/%s/strings.xml", kLanguage);
    if (TStringTable* strings = platform->GetData().GetStringTable()) {
        if (!strings->Load(file)) DebugLog("VGame::LoadStringTable: cannot read %s", file.c_str());
    }
    if (TWindowManager* manager = platform->GetWindowManager()) manager->SetUtf8Mode(true);
}

int GetIntSetting(const TString& key, int defaultValue) {
    TString value = GetSetting(key, "");
    return value.Length() == 0 ? defaultValue : std::atoi(value.c_str());
}

TPrefs* GetGamePrefs() {
    return gGame ? gGame->GetPrefs() : nullptr;
}

std::shared_ptr<VBinaryBlock> GetPlayerBinaryBlock(const TString& name) {
    VGame* game = VGame::Get();
    VBlockStore* blocks = game ? game->GetBlocks() : nullptr;
    return blocks ? blocks->GetBinaryBlock(name) : nullptr;
}

int GetCurrentUserNumber() {
    TPrefs* prefs = GetGamePrefs();
    return prefs ? prefs->GetInt(TPrefs::kGlobal, kCurrentUserKey, -1) : -1;
}
