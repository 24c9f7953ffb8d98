#include "game/sprites/spritemanager.h"

#include <algorithm>
#include <cmath>

#include "core/windows/windowmanager.h"
#include "foundation/clock.h"
#include "foundation/debuglog.h"
#include "game/shell/gameassetmanager.h"
#include "game/sprites/sprite.h"
#include "game/sprites/spriteeffect.h"
#include "game/sprites/spritewindow.h"
#include "graphics/render/renderer.h"
#include "graphics/text/textlayout.h"

namespace {

// The debug overlay's layout.
constexpr int kTraceWidth = 300;
constexpr int kTraceHeight = 400;
constexpr int kTraceFontSize = 12;
constexpr int kTraceMargin = 5;
const char* const kTraceFont = "fonts/myriad_pro.mvec";

TDrawState IdentityState() {
    return TDrawState(TVec2(0, 0), 1.0f, 1.0f, 0);
}

}  // namespace

std::shared_ptr<VSpriteManager> VSpriteManager::Create() {
    std::shared_ptr<VSpriteManager> manager(new VSpriteManager());
    manager->mSelf = manager;
    return manager;
}

VSpriteManager::VSpriteManager() = default;

std::shared_ptr<VSpriteManager> VSpriteManager::SharedFromThis() {
    std::shared_ptr<VSpriteManager> self = mSelf.lock();
    if (!self) DebugLog("VSpriteManager::SharedFromThis: the manager has no shared owner");
    return self;
}

uint32_t VSpriteManager::Now() const {
    return mClock ? static_cast<uint32_t>(mClock->GetTime()) : 0;
}

TPoint VSpriteManager::LocalPoint(const VSprite& sprite, const TPoint& point) {
    TVec2 position = sprite.GetPosition();
    return TPoint(static_cast<int>(std::trunc(static_cast<float>(point.x) - position.x)),
                  static_cast<int>(std::trunc(static_cast<float>(point.y) - position.y)));
}

// Hover and mouse input

std::shared_ptr<VSprite> VSpriteManager::FindHoverTarget(const TPoint& point) const {
    // A copy: a sprite's point query may run scripts that change the list.
    std::vector<std::shared_ptr<VSprite>> sprites(mSprites);
    for (auto sprite = sprites.rbegin(); sprite != sprites.rend(); ++sprite) {
        if (!(*sprite)->IsVisible() || !(*sprite)->IsMouseEnabled()) continue;
        if (!(*sprite)->GetBounds(mDrawState, -1).Contains(point)) continue;
        std::shared_ptr<VSprite> picked = (*sprite)->PickSprite(mDrawState, point, 1, -1);
        if (picked && Accepts(picked)) return picked;
    }
    return nullptr;
}

bool VSpriteManager::UpdateHover(const TPoint& point) {
    mDirty = false;
    std::shared_ptr<VSprite> found = FindHoverTarget(point);
    if (found != mHovered) {
        // Held here: the leave may drop the last other owner of the old sprite.
        std::shared_ptr<VSprite> old = mHovered;
        mHovered = found;
        mHoverTime = 0;
        mChanged = true;
        if (old) old->SendEvent(VSprite::kEventLeave, TPoint(0, 0), IdentityState(), -1);
        if (found) {
            found->SendEvent(VSprite::kEventEnter, TPoint(0, 0), IdentityState(), -1);
            found->SendEvent(VSprite::kEventMove, LocalPoint(*found, point), IdentityState(), -1);
        }
    } else if (found) {
        found->SendEvent(VSprite::kEventMove, LocalPoint(*found, point), IdentityState(), -1);
    }
    mLastHoverTime = Now();
    return found != nullptr;
}

bool VSpriteManager::OnMouseMove(const TPoint& point) {
    mMouseX = point.x;
    mMouseY = point.y;
    if (mTraceFlags & kTracePointer) mChanged = true;
    if (!mPressed) {
        mDirty = true;
        return mHovered != nullptr;
    }
    std::shared_ptr<VSprite> pressed = mPressed;
    pressed->SetHovered(pressed->HitTest(point, mDrawState, 1, -1));
    pressed->SendEvent(VSprite::kEventDrag, LocalPoint(*pressed, point), IdentityState(), -1);
    return true;
}

bool VSpriteManager::OnMouseDown(const TPoint& point) {
    std::shared_ptr<VSprite> hovered = mHovered;
    if (!hovered || !Accepts(hovered)) {
        mPressed.reset();
        return false;
    }
    mPressed = hovered;
    mChanged = true;
    hovered->SendEvent(VSprite::kEventPress, LocalPoint(*hovered, point), IdentityState(), -1);
    return true;
}

bool VSpriteManager::OnMouseUp(const TPoint& point) {
    std::shared_ptr<VSprite> pressed;
    pressed.swap(mPressed);
    if (!pressed || !Accepts(pressed)) return false;
    mChanged = true;
    pressed->SendEvent(VSprite::kEventRelease, LocalPoint(*pressed, point), IdentityState(), -1);
    return true;
}

// The frame

void VSpriteManager::Update() {
    std::shared_ptr<VSpriteManager> hold = mSelf.lock();
    if (mDirty) UpdateHover(TPoint(mMouseX, mMouseY));
    // The step that brings the sprites to rest changes them too.
    if (!IsStill()) mChanged = true;
    // A copy: sprites may remove themselves or others while they update.
    std::vector<std::shared_ptr<VSprite>> sprites(mSprites);
    for (const std::shared_ptr<VSprite>& sprite : sprites) sprite->Update(mPaused);
    UpdateEffects();
    uint32_t now = Now();
    uint32_t elapsed = mLastUpdateTime == 0 ? 0 : now - mLastUpdateTime;
    mHoverTime += elapsed;
    if (std::shared_ptr<VSprite> hovered = mHovered) hovered->OnHoverTime(mHoverTime);
    mLastUpdateTime = now;
    if (!IsStill()) mChanged = true;
}

bool VSpriteManager::IsStill() {
    if (!mRunningEffects.empty() || mHovered || mPressed) return false;
    return std::all_of(mSprites.begin(), mSprites.end(),
                       [](const std::shared_ptr<VSprite>& sprite) { return sprite->IsStill(); });
}

void VSpriteManager::AddRunningEffect(const std::shared_ptr<VSpriteEffect>& effect) {
    if (effect) mRunningEffects.insert(effect);
}

void VSpriteManager::UpdateEffects() {
    // A copy: a step may add running effects.
    std::vector<std::shared_ptr<VSpriteEffect>> running(mRunningEffects.begin(), mRunningEffects.end());
    for (const std::shared_ptr<VSpriteEffect>& effect : running) {
        if (effect->IsDone() || !effect->Update(mPaused)) mRunningEffects.erase(effect);
    }
    std::erase_if(mEffects, [](const std::shared_ptr<VSpriteEffect>& effect) { return !effect->IsActive(); });
}

bool VSpriteManager::OnKeyDown(int key, int flags) {
    if ((flags & kCtrlFlag) == 0) return false;
    int before = mTraceFlags;
    if (key == 't' || key == 'T') mTraceFlags ^= kTraceMemory;
    if (key == 's' || key == 'S') mTraceFlags ^= kTracePointer;
    if (mTraceFlags != before) mChanged = true;
    return false;
}

void VSpriteManager::Draw() {
    VAssetManager::Get()->BeginFrame();
    auto drawnBefore = [](const std::shared_ptr<VSprite>& a, const std::shared_ptr<VSprite>& b) {
        return VSprite::IsDrawnBefore(*a, *b);
    };
    // Most frames change no order; the check spares the sort's buffer.
    if (!std::is_sorted(mSprites.begin(), mSprites.end(), drawnBefore)) {
        std::stable_sort(mSprites.begin(), mSprites.end(), drawnBefore);
    }
    TRenderer* renderer = TRenderer::GetInstance();
    if (!renderer || !renderer->Begin2d()) return;
    TDrawState state = mDrawState;
    state.matrix.m[2][0] += static_cast<float>(mDrawOrigin.x);
    state.matrix.m[2][1] += static_cast<float>(mDrawOrigin.y);
    // A copy: drawing may run hooks that change the list.
    std::vector<std::shared_ptr<VSprite>> sprites(mSprites);
    for (const std::shared_ptr<VSprite>& sprite : sprites) {
        if (sprite->IsVisible()) sprite->Render(state, -1);
    }
    DrawTrace();
    renderer->End2d();
    mLastDrawTime = Now();
    mChanged = false;
}

TString VSpriteManager::GetTraceText() const {
    if (mTraceFlags & kTracePointer) return TString::Format("x: %i\ny: %i\n", mMouseX, mMouseY);
    if (mTraceFlags & kTraceMemory) return VAssetManager::Get()->GetMemoryReport(true);
    return TString();
}

void VSpriteManager::DrawTrace() {
    TString text = GetTraceText();
    TRenderer* renderer = TRenderer::GetInstance();
    if (text.Length() == 0 || !renderer) return;
    std::unique_ptr<TTextLayout> layout =
        TTextLayout::Create(kTraceWidth, kTraceHeight, kTraceFont, kTraceFontSize, TColor4f(1, 0, 0, 1), 0, text);
    if (!layout) return;
    TRect extents = layout->GetExtents(1);
    int width = extents.right - extents.left;
    int height = extents.bottom - extents.top;
    renderer->FillRect(TRect(0, 0, width + 2 * kTraceMargin, height + 2 * kTraceMargin), TColor4f(0, 0, 0, 1));
    layout->DrawInRect(TRect(kTraceMargin, kTraceMargin, width, height + kTraceMargin), 1, 0, 1);
}

VSpriteWindow* VSpriteManager::GetWindow() const {
    TWindowManager* windows = TWindowManager::GetInstance();
    TWindow* root = windows ? windows->GetRootWindow() : nullptr;
    TWindow* found = root ? root->FindChildWindow(mName, -1) : nullptr;
    if (!found || !found->IsA(VSpriteWindow::ClassId())) return nullptr;
    return static_cast<VSpriteWindow*>(found);
}

// The sprite list

void VSpriteManager::AddSprite(const std::shared_ptr<VSprite>& sprite) {
    if (!sprite) return;
    sprite->SetManager(SharedFromThis());
    mSprites.push_back(sprite);
    mChanged = true;
    for (const std::shared_ptr<VSpriteEffect>& effect : std::vector<std::shared_ptr<VSpriteEffect>>(mEffects)) {
        sprite->AddEffect(effect);
    }
    MarkDirty();
}

void VSpriteManager::RemoveSprite(const std::shared_ptr<VSprite>& sprite) {
    if (!sprite) return;
    std::erase(mSprites, sprite);
    sprite->SetManager(nullptr);
    mChanged = true;
    MarkDirty();
}

void VSpriteManager::RemoveAllSprites() {
    std::vector<std::shared_ptr<VSprite>> sprites;
    sprites.swap(mSprites);
    for (const std::shared_ptr<VSprite>& sprite : sprites) sprite->SetManager(nullptr);
    mHovered.reset();
    mPressed.reset();
    mChanged = true;
}

std::shared_ptr<VSprite> VSpriteManager::FindSprite(const TString& name) const {
    for (const std::shared_ptr<VSprite>& sprite : mSprites) {
        if (std::shared_ptr<VSprite> found = sprite->FindChild(name)) return found;
    }
    return nullptr;
}

void VSpriteManager::VisitSprites(const std::shared_ptr<VSpriteSpider>& spider, bool recurse) {
    if (!spider) return;
    for (const std::shared_ptr<VSprite>& sprite : std::vector<std::shared_ptr<VSprite>>(mSprites)) {
        if (!spider->Visit(sprite)) return;
        if (recurse) sprite->Visit(spider, true);
    }
}

void VSpriteManager::SetClock(TClock* clock) {
    if (clock != mClock) {
        mLastDrawTime = 0;
        mLastHoverTime = 0;
        mLastUpdateTime = 0;
    }
    mClock = clock;
    if (!clock) return;
    for (const std::shared_ptr<VSprite>& sprite : mSprites) sprite->SetClock(clock);
}

void VSpriteManager::ResetInput() {
    mTraceFlags = 0;
    mLastDrawTime = 0;
    mLastHoverTime = 0;
    mLastUpdateTime = 0;
    mHoverTime = 0;
    mPaused = false;
    mMouseX = kNoMouse;
    mMouseY = kNoMouse;
    MarkDirty();
}

void VSpriteManager::AllowInput(const std::shared_ptr<VSprite>& sprite) {
    if (!sprite) return;
    mAllowed.insert(sprite);
    MarkDirty();
}

bool VSpriteManager::Accepts(const std::shared_ptr<VSprite>& sprite) const {
    if (!sprite) return false;
    if (mAllowed.empty() && !mInputRestricted) return true;
    return mAllowed.count(sprite) > 0;
}

void VSpriteManager::AddEffect(const std::shared_ptr<VSpriteEffect>& effect) {
    if (!effect || std::find(mEffects.begin(), mEffects.end(), effect) != mEffects.end()) return;
    mEffects.push_back(effect);
    for (const std::shared_ptr<VSprite>& sprite : std::vector<std::shared_ptr<VSprite>>(mSprites)) {
        sprite->AddEffect(effect);
    }
}

uint32_t VSpriteManager::GetElapsed() {
    uint32_t now = Now();
    if (mLastUpdateTime == 0) {
        mLastUpdateTime = now;
        return 0;
    }
    return now - mLastUpdateTime;
}
