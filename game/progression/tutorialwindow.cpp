#include "game/progression/tutorialwindow.h"

#include "core/windows/windowmanager.h"
#include "game/progression/tutorial.h"
#include "game/progression/tutorialmanager.h"
#include "game/progression/tutorialstep.h"
#include "game/sprites/alphaeffect.h"

namespace {

const int kFadeTime = 500;

}  // namespace

TWindow* VTutorialWindow::Create() {
    return new VTutorialWindow();
}

VTutorialWindow::VTutorialWindow() {
    SetName("tutorial_window");
    SetPosition(0, 0);
    SetSize(kWidth, kHeight);
}

VTutorialWindow::~VTutorialWindow() {
    if (std::shared_ptr<VTutorialManager> manager = VTutorialManager::GetIfCreated()) manager->EndTutorial(mTutorial);
}

const char* VTutorialWindow::GetClassName() const {
    return "VTutorialWindow";
}

bool VTutorialWindow::IsA(TWindowClassId id) const {
    return id == ClassId() || VSpriteWindow::IsA(id);
}

void VTutorialWindow::SetTutorial(const std::shared_ptr<VTutorial>& tutorial) {
    mTutorial = tutorial;
    if (!mTutorial) return;
    AddSprite(mTutorial);
    mTutorial->DetachEffects();
    mTutorial->AddEffect(VAlphaEffect::Create(true, 1.0f, kFadeTime, -1.0f, 0));
}

bool VTutorialWindow::StartAnimation() {
    if (!VSpriteWindow::StartAnimation()) return false;
    TWindow::StartAnimation(kAnimationPeriod, true, true, false);
    return true;
}

bool VTutorialWindow::Animate() {
    VSpriteWindow::Animate();
    if (mClosed || !mTutorial) return !mClosed;
    std::shared_ptr<VTutorialManager> manager = VTutorialManager::Get();
    if (mTutorial->IsAborted()) {
        Close();
        manager->EndTutorial(mTutorial);
    } else if (mTutorial->IsFinished()) {
        if (!mFadeOut) {
            mFadeOut = VAlphaEffect::Create(false, 1.0f, kFadeTime, -1.0f, 0);
            mTutorial->DetachEffects();
            mTutorial->AddEffect(mFadeOut);
        }
        manager->EndTutorial(mTutorial);
        if (!mFadeOut->IsActive()) Close();
    }
    return !mClosed;
}

void VTutorialWindow::Close() {
    if (mClosed) return;
    mClosed = true;
    if (TWindow* parent = GetParent()) parent->RemoveChild(this);
    if (TWindowManager* windows = TWindowManager::GetInstance()) windows->DestroyWindowDeferred(this);
}

bool VTutorialWindow::OnMessage(TMessage* message) {
    std::shared_ptr<VTutorial> active = VTutorialManager::Get()->GetActiveTutorial();
    return active && active->OnMessage(message);
}

bool VTutorialWindow::HoldsBack(const TPoint& point) {
    if (!VTutorialManager::Get()->IsInputAllowed() || !GetParent() || !mTutorial) return false;
    return !mTutorial->IsClickOnTrigger(GetParent(), LocalToGlobal(point));
}

bool VTutorialWindow::OnMouseDown(const TPoint& point) {
    if (VSpriteWindow::OnMouseDown(point)) return true;
    std::shared_ptr<VTutorialStep> step = mTutorial ? mTutorial->GetCurrentStep() : nullptr;
    if (step && step->IsClickAny()) {
        mTutorial->Advance();
        return true;
    }
    return HoldsBack(point);
}

bool VTutorialWindow::OnMouseUp(const TPoint& point) {
    return VSpriteWindow::OnMouseUp(point) || HoldsBack(point);
}

bool VTutorialWindow::OnMouseMove(const TPoint& point) {
    return VSpriteWindow::OnMouseMove(point) || HoldsBack(point);
}
