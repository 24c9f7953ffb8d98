#include "core/platform/platform.h"

#include <string>
#include <string_view>

#include "core/app/tasklist.h"
#include "core/platform/commandline.h"
#include "core/platform/platformdata.h"
#include "foundation/debuglog.h"
#include "graphics/displaylink.h"
#include "graphics/renderer.h"
#include "graphics/texture.h"
#include "platform/os/launch.h"
#include "platform/window/textcodec.h"

namespace {

TPlatform* gInstance = nullptr;

const char* const kBrowser = "xdg-open";

}  // namespace

TPlatform::TPlatform(std::unique_ptr<TPlatformData> data) : mData(std::move(data)) {
    gInstance = this;
}

TPlatform::~TPlatform() {
    gInstance = nullptr;
}

TPlatform* TPlatform::GetInstance() {
    return gInstance;
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

void TPlatform::ShowSystemCursor(bool show) {
    if (show == mSystemCursorShown) return;
    mSystemCursorShown = show;
    TDisplayLink* display = mData->GetDisplayLink();
    if (display) {
        display->ShowMouseCursor(show);
    } else {
        mData->GetWindow().ShowCursor(show);
    }
}

void TPlatform::SetCursor(const std::shared_ptr<TTexture>& image, int hotX, int hotY, int flags) {
    mCursorImage = image;
    mCursorHotX = hotX;
    mCursorHotY = hotY;
    TDisplayLink* display = mData->GetDisplayLink();
    if (display) display->SetMouseImage(mCursorImage, mCursorHotX, mCursorHotY, flags);
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
