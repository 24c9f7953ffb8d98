#include "game/sprites/spritewindow.h"

#include "core/windows/modalwindow.h"
#include "core/windows/windowanim.h"
#include "core/windows/windowmanager.h"
#include "game/sprites/sprite.h"
#include "game/sprites/spritemanager.h"
#include "game/utilities/screeninvalidator.h"
#include "game/widgets/widgetclass.h"

namespace {

TClock* ModalClock(const TWindow& window) {
    TModalWindowLink* modal = window.GetParentModal();
    return modal ? modal->GetClock() : nullptr;
}

}  // namespace

TWindow* VSpriteWindow::Create() {
    return new VSpriteWindow();
}

VSpriteWindow::VSpriteWindow() : mManager(VSpriteManager::Create()) {
    SetName("sprite_window");
    SetFlags(GetFlags() & ~kFullSize);
}

VSpriteWindow::~VSpriteWindow() {
    mManager->RemoveAllSprites();
}

const char* VSpriteWindow::GetClassName() const {
    return "VSpriteWindow";
}

bool VSpriteWindow::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), RWindow::ClassId(), TImage::ClassId(), TWindow::ClassId()});
}

bool VSpriteWindow::OnAttach() {
    mManager->SetClock(ModalClock(*this));
    return true;
}

void VSpriteWindow::PostInit(const TWindowStyle& style) {
    RWindow::PostInit(style);
    // The description may have renamed the window.
    mManager->SetName(GetName());
    mManager->SetClock(ModalClock(*this));
    StartAnimation();
    if (TWindowManager* windows = TWindowManager::GetInstance()) windows->SetFocus(this);
}

void VSpriteWindow::Draw() {
    RWindow::Draw();
    mManager->Draw();
}

bool VSpriteWindow::Animate() {
    mManager->Update();
    return true;
}

bool VSpriteWindow::OnMouseDown(const TPoint& point) {
    return mManager->OnMouseDown(point);
}

bool VSpriteWindow::OnMouseUp(const TPoint& point) {
    return mManager->OnMouseUp(point);
}

bool VSpriteWindow::OnMouseMove(const TPoint& point) {
    return mManager->OnMouseMove(point);
}

bool VSpriteWindow::OnKeyDown(int key, int modifiers) {
    mManager->OnKeyDown(key, modifiers);
    return false;
}

void VSpriteWindow::OnFocus(TWindow*) {}

void VSpriteWindow::SetName(const TString& name) {
    TWindow::SetName(name);
    mManager->SetName(name);
}

void VSpriteWindow::ResetInput() {
    mManager->ResetInput();
}

bool VSpriteWindow::StartAnimation() {
    TModalWindowLink* modal = GetParentModal();
    if (!modal) return false;
    // The task list deletes what it still holds; a task it ended is gone.
    auto* modalWindow = dynamic_cast<TModalWindow*>(modal);
    if (mInvalidator && modalWindow && modalWindow->RemoveTask(mInvalidator)) delete mInvalidator;
    mInvalidator = RScreenInvalidator::Create();
    modal->AddTask(mInvalidator);
    TWindow::StartAnimation(kAnimationPeriod, true, true, true);
    if (TWindowAnim* animator = FindAnimator()) animator->SetEveryFrame(true);
    return true;
}

void VSpriteWindow::AddSprite(const std::shared_ptr<VSprite>& sprite) {
    mManager->AddSprite(sprite);
}

void VSpriteWindow::RemoveSprite(const std::shared_ptr<VSprite>& sprite) {
    mManager->RemoveSprite(sprite);
}

void VSpriteWindow::RemoveAllSprites() {
    mManager->RemoveAllSprites();
}

std::shared_ptr<VSprite> VSpriteWindow::FindSprite(const TString& name) {
    return mManager->FindSprite(name);
}

void VSpriteWindow::Update() {
    mManager->Update();
}

const TDrawState& VSpriteWindow::GetDrawState() const {
    return mManager->GetDrawState();
}

void VSpriteWindow::SetDrawState(const TDrawState& state) {
    mManager->SetDrawState(state);
}

uint32_t VSpriteWindow::GetElapsed() {
    return mManager->GetElapsed();
}
