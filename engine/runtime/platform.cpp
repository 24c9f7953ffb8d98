#include "runtime/platform.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "core/app/gamestate.h"
#include "foundation/task.h"
#include "core/app/tasklist.h"
#include "runtime/commandline.h"
#include "runtime/platformdata.h"
#include "runtime/platformdisplayhost.h"
#include "core/scripting/gamestatefunctions.h"
#include "core/windows/screen.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowscript.h"
#include "foundation/assetmanager.h"
#include "foundation/computerid.h"
#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "foundation/stringtable.h"
#include "foundation/virtualfiles.h"
#include "graphics/animatedtexture.h"
#include "graphics/display/displaylink.h"
#include "graphics/display/dxdisplayhandler.h"
#include "graphics/model.h"
#include "graphics/render/renderer.h"
#include "graphics/texture.h"
#include "graphics/texturedata.h"
#include "widgets/widgetclasses.h"
#include "platform/flash/player.h"
#include "platform/os/launch.h"
#include "platform/window/textcodec.h"
#include "sound/sound.h"

namespace {

TPlatform* gInstance = nullptr;

const char* const kBrowser = "xdg-open";
const char* const kMemoryDefault = "100000000";
const char* const kStringsFile = "strings.xml";
const char* const kStringFilePrefix = "string";

}  // namespace

TPlatform::TPlatform(std::unique_ptr<TPlatformData> data) : mData(std::move(data)) {
    gInstance = this;
    SetSettingChangeHandler(OnSettingChanged);
    SetPlatformLink(this);
    SetTaskTimer(TaskTimer);
    SetAnimationHost(this);
    SetSetting("memorymax", kMemoryDefault);
    SetSetting("texturememorymax", kMemoryDefault);
    SetSetting("utf8modeinit", GetSetting(kSettingUtf8Mode, ""));
    mDisplayHost = std::make_unique<TPlatformDisplayHost>(*this, *mData);
    SetGameStateServices(this);
    SeedRandom();
    CreateWindowScript();
    SetSetting(kSettingComputerId, MakeComputerId());
    LoadSettingsFile(kSettingsFile);
    const TPlatformSetup& setup = mData->GetSetup();
    SetDataFolders(setup.userFolder, setup.commonFolder, setup.desktopFolder);
    LoadAssetManifest();
    LoadStringTables();
    PublishIdentity();
    RegisterSoundLoader();
    TTexture::RegisterLoaders();
    TAnimatedTexture::RegisterLoaders();
    TModel::RegisterLoaders();
    CreateDisplay();
}

// The kept movie closes while the window manager it writes to still lives;
// from the instance's end on, what the game state, its handlers and the
// managers reach finds no platform.
TPlatform::~TPlatform() {
    StopWindowScriptMovie();
    mData->DeleteWindowManager();
    mData->GetTaskList().Clear();
    SetAnimationHost(nullptr);
    mData->DeleteSound();
    mData->DeleteShapeRenderer();
    mData->SetDisplayLink(nullptr);
    mDisplayHandler = nullptr;
    TRenderer::DestroyInstance();
    gInstance = nullptr;
    SetSettingChangeHandler(nullptr);
    SetPlatformLink(nullptr);
    SetTaskTimer(nullptr);
    // Made if need be, so that handlers added before any game state go too.
    delete TGameState::Get();
    SetGameStateServices(nullptr);
    mData->DeleteStringTable();
    mData->DeleteAssetManager();
    mData.reset();
    ClearSettings();
    ClearVirtualFiles();
    mRestoreTasks.Clear();
}

TPlatform* TPlatform::GetInstance() {
    return gInstance;
}

// Four key words from the C generator the driver seeded.
void TPlatform::SeedRandom() {
    uint32_t key[4];
    for (uint32_t& word : key) {
        uint32_t high = static_cast<uint32_t>(std::rand());
        uint32_t low = static_cast<uint32_t>(std::rand()) * 8;
        word = high * low + (static_cast<uint32_t>(std::rand()) >> 3);
    }
    mData->GetRandom().SeedByArray(key, 4);
}

// The task list owns the script once the window manager attached it. The
// engine widgets are named first, so that the script can create them.
void TPlatform::CreateWindowScript() {
    mData->CreateWindowManager(*this);
    RegisterWidgetClasses();
    mData->GetWindowManager()->AttachScript(new TWindowScript(*this));
}

void TPlatform::StopWindowScriptMovie() {
    TWindowManager* manager = mData->GetWindowManager();
    if (auto* script = dynamic_cast<TWindowScript*>(manager ? manager->GetWindowScript() : nullptr)) {
        script->StopMovie();
    }
}

// With "strings.xml" loaded the text windows look their labels up.
void TPlatform::LoadStringTables() {
    if (mData->GetStringTable()->Load(kStringsFile)) mData->GetWindowManager()->SetUtf8Mode(true);
    AddStringFiles("user:");
    AddStringFiles("common:");
}

void TPlatform::AddStringFiles(const TString& root) {
    TString name;
    while (FindVirtualFile(root, name, false)) {
        TString entry = name.SubString(root.Length());
        if (entry.SubString(0, 6) == kStringFilePrefix && entry.Find(".xml") >= 0) {
            mData->GetStringTable()->AddFile(name);
        }
    }
}

void TPlatform::PublishIdentity() {
    const TPlatformSetup& setup = mData->GetSetup();
    SetSetting(kSettingBuildTag, setup.internalName);
    DebugLog("%s, version %s.", setup.gameName.c_str(), setup.gameVersion.c_str());
    SetSetting(kSettingGameName, setup.gameName);
    SetSetting(kSettingVersion, setup.gameVersion);
}

void TPlatform::CreateDisplay() {
    display::Device* device = mData->GetDisplayDevice();
    if (!device) return;
    auto handler = std::make_unique<TDxDisplayHandler>(*device, *mDisplayHost);
    mDisplayHandler = handler.get();
    TRenderer::GetInstance()->SetBackEnd(std::move(handler));
    for (const TString& key : mKeysBeforeDisplay) ApplySetting(key, GetSetting(key, ""));
    mKeysBeforeDisplay.clear();
}

uint32_t TPlatform::TaskTimer() {
    return gInstance->Timer();
}

void TPlatform::OnSettingChanged(const TString& key, const TString& value) {
    if (gInstance) gInstance->ApplySetting(key, value);
}

void TPlatform::ApplySetting(const TString& key, const TString& value) {
    if (key == kSettingVsync) {
        if (mDisplayHandler) mDisplayHandler->SetVSync(value.ToInt() != 0);
    } else if (key == "memorymax") {
        SetLogFolder(TString::Format("__MEMORYMAX__=%d", value.ToInt()).c_str());
    } else if (key == "viewportscale") {
        mData->SetViewScaleSetting(value);
    }
    if (!mDisplayHandler) mKeysBeforeDisplay.insert(key);
    TRenderer::GetInstance()->OnSettingChanged(key, value);
}

uint32_t TPlatform::Timer() const {
    return mData->Timer();
}

void TPlatform::Sleep(uint32_t milliseconds) {
    mData->Sleep(milliseconds);
}

void TPlatform::PostQuit(int /*exitCode*/) {
    mData->PostQuit();
}

void TPlatform::GetEvent(TPlatformEvent& event) {
    mData->GetEvent(event);
}

void TPlatform::OpenWindow() {
    mData->CreateGameWindow();
}

void TPlatform::SetWindowTitle(const TString& title) {
    std::string_view text(title.c_str());
    mData->GetWindow().SetTitle(mData->IsUtf8Mode() ? window::SanitizeUtf8(text) : window::Windows1252ToUtf8(text));
}

bool TPlatform::IsActiveWindow() const {
    return mData->GetWindow().HasFocus();
}

bool TPlatform::IsFullScreen() const {
    return mData->IsFullScreen();
}

bool TPlatform::SetFullScreen(bool on) {
    return mData->SetFullScreen(on);
}

// The address travels as one argument, never through a shell, so blanks
// and quotes in it stay part of it.
bool TPlatform::OpenBrowser(const TString& address) {
    TString program = mData->IsEmbedded() ? GetHostProgram(mData->GetCommandLine()) : TString();
    if (program.Length() == 0) program = kBrowser;
    if (os::LaunchProgram(program.c_str(), address.c_str())) return true;
    DebugLog("Error: cannot start %s to open %s", program.c_str(), address.c_str());
    return false;
}

bool TPlatform::PutClipboardText(const TString& text) {
    std::string_view bytes(text.c_str());
    return mData->GetWindow().PutClipboardText(mData->IsUtf8Mode() ? window::SanitizeUtf8(bytes)
                                                                   : window::Windows1252ToUtf8(bytes));
}

TString TPlatform::GetClipboardText() const {
    std::string text = mData->GetWindow().GetClipboardText();
    std::string converted = mData->IsUtf8Mode() ? window::SanitizeUtf8(text) : window::Utf8ToWindows1252(text);
    return TString(converted.c_str());
}

void TPlatform::SetDisplay(int width, int height, bool fullScreen) {
    if (width <= 0 || height <= 0) {
        DebugLog("Error: TPlatform::SetDisplay: refused the size %d x %d", width, height);
        return;
    }
    TWindowManager* manager = mData->GetWindowManager();
    if (!manager->GetRootWindow()) manager->SetRootWindow(new TScreen());
    manager->GetRootWindow()->SetSize(width, height);
    // Until its first mode the platform answers for the display.
    if (mDisplayHandler) mData->SetDisplayLink(mDisplayHandler);
    mData->SetDisplayMode(width, height, fullScreen);
    TRenderer::GetInstance()->SetViewRect(TRect(0, 0, width, height));
}

bool TPlatform::IsDisplayReady() const {
    TDisplayLink* display = mData->GetDisplayLink();
    return display && display->IsDeviceReady();
}

void TPlatform::OutOfVideoMemory() {
    if (mDisplayHandler) mDisplayHandler->OnOutOfVideoMemory();
}

std::unique_ptr<TTextureData> TPlatform::CreateTextureData() {
    return mDisplayHandler ? mDisplayHandler->CreateTextureData() : nullptr;
}

void TPlatform::ShowSystemCursor(bool show) {
    if (show == mData->IsSystemCursorShown()) return;
    mData->SetSystemCursorShown(show);
    TDisplayLink* display = mData->GetDisplayLink();
    if (display) {
        display->ShowMouseCursor(show);
    } else {
        mData->GetWindow().ShowCursor(show);
    }
}

bool TPlatform::IsSystemCursorShown() const {
    return mData->IsSystemCursorShown();
}

void TPlatform::SetCursor(const std::shared_ptr<TTexture>& image, int hotX, int hotY, int flags) {
    mData->SetCursorImage(image, hotX, hotY, flags);
    TDisplayLink* display = mData->GetDisplayLink();
    if (display) display->SetMouseImage(image, hotX, hotY, flags);
}

TWindowManager* TPlatform::GetWindowManager() const {
    return mData->GetWindowManager();
}

TAssetManager* TPlatform::GetAssetManager() const {
    return mData->GetAssetManager();
}

const TStringTable* TPlatform::GetStringTable() const {
    return mData->GetStringTable();
}

TSoundManager* TPlatform::GetSoundManager() {
    return mData->GetSound();
}

bool TPlatform::StartSound() {
    return mData->StartSound();
}

void TPlatform::AddTask(TTask* task) {
    mData->GetTaskList().Add(task);
}

bool TPlatform::RemoveTask(TTask* task) {
    return mData->GetTaskList().Remove(task);
}

TTaskList& TPlatform::GetTaskList() {
    return mData->GetTaskList();
}

void TPlatform::AddRestoreTask(TTask* task) {
    mRestoreTasks.Add(task);
}

bool TPlatform::RemoveRestoreTask(TTask* task) {
    return mRestoreTasks.Remove(task);
}

void TPlatform::RunRestoreTasks() {
    mRestoreTasks.RunAll(0);
}

uint32_t TPlatform::Rand() {
    return mData->GetRandom().Next();
}

TGuid TPlatform::CreateGuid() {
    TGuid guid;
    NewGuid(guid);
    return guid;
}

const TString& TPlatform::GetGameName() const {
    return mData->GetSetup().gameName;
}

const TString& TPlatform::GetGameVersion() const {
    return mData->GetSetup().gameVersion;
}

bool TPlatform::IsHosted() const {
    return mData->IsEmbedded() || mData->IsHostedMode();
}

bool TPlatform::IsFrameDone() const {
    TDisplayLink* display = mData->GetDisplayLink();
    return display && display->IsFrameDone();
}

bool TPlatform::CanDraw() const {
    TDisplayLink* display = mData->GetDisplayLink();
    return display && display->IsDeviceReady();
}

bool TPlatform::BeginDraw() {
    return TRenderer::GetInstance()->BeginDraw(true);
}

void TPlatform::EndDraw(bool present) {
    TRenderer::GetInstance()->EndDraw(present);
}

bool TPlatform::BeginRenderTarget(TTexture* target) {
    // The renderer holds its target while it draws: only a texture that is
    // already shared can be one.
    std::shared_ptr<TAsset> shared = target ? target->weak_from_this().lock() : nullptr;
    return shared && TRenderer::GetInstance()->BeginRenderTarget(std::static_pointer_cast<TTexture>(shared));
}

void TPlatform::EndRenderTarget() {
    TRenderer::GetInstance()->EndRenderTarget();
}

// The window script may already be gone in teardown.
void TPlatform::PublishGameStateFunctions() {
    TWindowManager* manager = mData->GetWindowManager();
    TWindowScriptLink* script = manager ? manager->GetWindowScript() : nullptr;
    if (script) ::PublishGameStateFunctions(script->GetScript()->GetState());
}

bool TPlatform::IsHostedMode() const {
    return mData->IsHostedMode();
}

host::Channel* TPlatform::GetHostChannel() {
    return mData->GetHostChannel();
}

host::Handle TPlatform::GetHostWindow() const {
    return mData->GetHostWindow();
}

bool TPlatform::HasMouseCapture() const {
    return mData->HasCapture();
}

void TPlatform::ReleaseMouseCapture() {
    mData->ReleaseCapture();
}

// The window's own cursor is the system's arrow.
void TPlatform::SetArrowCursor() {
    mData->GetWindow().ShowCursor(true);
}

void TPlatform::RestoreCursor() {
    TPoint hotSpot = mData->GetCursorHotSpot();
    SetCursor(mData->GetCursorImage(), hotSpot.x, hotSpot.y, mData->GetCursorFlags());
}

void TPlatform::UpdateSystemCursor() {
    if (TDisplayLink* display = mData->GetDisplayLink()) display->UpdateSystemCursor();
}

void TPlatform::SetMouseBlocked(bool blocked) {
    mData->SetMouseBlocked(blocked);
}

void TPlatform::FlipToGdiSurface() {
    if (mDisplayHandler) mDisplayHandler->FlipToGdiSurface();
}

// Handing the display the cursor image again draws it from scratch.
void TPlatform::ResetMouseImage() {
    TPoint hotSpot = mData->GetCursorHotSpot();
    if (TDisplayLink* display = mData->GetDisplayLink()) {
        display->SetMouseImage(mData->GetCursorImage(), hotSpot.x, hotSpot.y, mData->GetCursorFlags());
    }
}

void TPlatform::FocusGameWindow() {
    mData->GetWindow().TakeFocus();
}

std::unique_ptr<flash::Player> TPlatform::CreateMoviePlayer() {
    return mData->CreateMoviePlayer();
}
