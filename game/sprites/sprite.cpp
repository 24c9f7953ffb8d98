#include "game/sprites/sprite.h"

#include <algorithm>

#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "core/windows/modalwindow.h"
#include "core/windows/windowmanager.h"
#include "foundation/clock.h"
#include "foundation/debuglog.h"
#include "game/shell/gamesoundmanager.h"
#include "game/sprites/spriteeffect.h"
#include "game/sprites/spritelink.h"
#include "game/sprites/spritelistener.h"
#include "game/sprites/spritemanager.h"
#include "graphics/render/renderer.h"
#include "lua/lua.h"

namespace {

int gNextSpriteId = 0;

// A gap this long (a dialog, a stalled frame) counts as no time at all.
constexpr uint32_t kLongestFrameTime = 3000;

TDrawState IdentityState() {
    return TDrawState(TVec2(0, 0), 1.0f, 1.0f, 0);
}

TClock* TopModalClock() {
    TWindowManager* windows = TWindowManager::GetInstance();
    TModalWindow* modal = windows ? windows->GetTopModal() : nullptr;
    return modal ? modal->GetClock() : nullptr;
}

int GetDelayFunction(lua_State* L) {
    std::shared_ptr<VSprite> sprite = ReadSpriteLink(L, lua_upvalueindex(1));
    lua_pushnumber(L, sprite ? sprite->GetDelay() : 0);
    return 1;
}

// The sound manager is looked up at each call: it may come and go.
int PlaySoundFunction(lua_State* L) {
    VSoundManager* sounds = VSoundManager::Get();
    const char* name = lua_tostring(L, 1);
    if (!sounds) DebugLog("No Sound Manager");
    lua_pushboolean(L, sounds && name && sounds->PlaySFX(name) != nullptr);
    return 1;
}

void SetGlobal(lua_State* L, const char* name) {
    lua_pushstring(L, name);
    lua_insert(L, -2);
    lua_rawset(L, LUA_GLOBALSINDEX);
}

}  // namespace

std::shared_ptr<VSprite> VSprite::Create(const TString& name, int layer) {
    auto sprite = std::make_shared<VSprite>(name, layer);
    Adopt(sprite);
    return sprite;
}

bool VSprite::IsDrawnBefore(const VSprite& a, const VSprite& b) {
    if (a.mSpriteLayer != b.mSpriteLayer) return a.mSpriteLayer < b.mSpriteLayer;
    return a.mPosition.y < b.mPosition.y;
}

VSprite::VSprite(const TString& name, int layer)
    : TAnimatedSprite(layer), mClock(TopModalClock()), mSpriteId(gNextSpriteId++), mName(name) {
    TAnimatedSprite::SetClock(mClock);
}

VSprite::~VSprite() = default;

std::shared_ptr<VSprite> VSprite::GetShared() {
    if (std::shared_ptr<VSprite> self = mSelf.lock()) return self;
    // Owned, but not made by Create: take the owner's count, never a new one.
    auto self = std::static_pointer_cast<VSprite>(weak_from_this().lock());
    if (!self) {
        DebugLog("VSprite::GetShared: the sprite \"%s\" has no shared owner", mName.c_str());
        return nullptr;
    }
    mSelf = self;
    return self;
}

uint32_t VSprite::ClockTime() const {
    return mClock ? static_cast<uint32_t>(mClock->GetTime()) : 0;
}

void VSprite::RebuildTransform() {
    TMat3 scale(mScale.x, 0, 0, 0, mScale.y, 0, 0, 0, 1);
    TMat3& matrix = mDrawState.matrix;
    matrix = mBaseTransform * scale;
    matrix.m[2][0] += mPosition.x;
    matrix.m[2][1] += mPosition.y;
    matrix.m[2][2] = 1.0f;
}

void VSprite::SetRotation(float x, float y, float angle) {
    // The translation rows carry 0 in their third column, so the point is
    // added before the rotation and the move back adds nothing.
    TMat3 to(1, 0, 0, 0, 1, 0, x, y, 0);
    TMat3 rotation;
    rotation.Rotate(angle);
    TMat3 back(1, 0, 0, 0, 1, 0, -x, -y, 0);
    mBaseTransform = to * rotation * back;
    RebuildTransform();
}

void VSprite::SetScale(float x, float y) {
    mScale = TVec2(x, y);
    RebuildTransform();
}

void VSprite::SetPosition(const TVec2& position) {
    mPosition = position;
    RebuildTransform();
}

void VSprite::SetAlpha(float alpha) {
    mDrawState.alpha = std::clamp(alpha, 0.0f, 1.0f);
}

TVec2 VSprite::GetWorldPosition() const {
    TMat3 matrix = mDrawState.matrix;
    for (std::shared_ptr<VSprite> owner = GetOwner(); owner; owner = owner->GetOwner()) {
        matrix = matrix * owner->mDrawState.matrix;
    }
    return TVec2(matrix.m[2][0], matrix.m[2][1]);
}

void VSprite::SetFlip(bool horizontal, bool vertical) {
    int flips = (horizontal ? TDrawState::kMirrorHorizontal : 0) | (vertical ? TDrawState::kMirrorVertical : 0);
    mDrawState.flags = (mDrawState.flags & ~(TDrawState::kMirrorHorizontal | TDrawState::kMirrorVertical)) | flips;
}

void VSprite::GetEffectiveFlips(bool& horizontal, bool& vertical) const {
    horizontal ^= (mDrawState.flags & TDrawState::kMirrorHorizontal) != 0;
    vertical ^= (mDrawState.flags & TDrawState::kMirrorVertical) != 0;
    if (std::shared_ptr<VSprite> owner = GetOwner()) owner->GetEffectiveFlips(horizontal, vertical);
}

void VSprite::SetFrame(int frame) {
    if (frame == mFrame) return;
    mFrame = frame;
    SetCurrentFrame(frame);
}

void VSprite::SetLayer(int layer) {
    TSprite::SetLayer(layer);
    if (std::shared_ptr<VSprite> owner = GetOwner()) owner->SortSpriteChildren();
}

void VSprite::SortSpriteChildren() {
    std::stable_sort(mChildren.begin(), mChildren.end(),
                     [](const std::shared_ptr<VSprite>& a, const std::shared_ptr<VSprite>& b) {
                         return a->GetLayer() < b->GetLayer();
                     });
}

// Tree

bool VSprite::IsSelfOrOwner(const VSprite* sprite) const {
    if (sprite == this) return true;
    for (std::shared_ptr<VSprite> owner = GetOwner(); owner; owner = owner->GetOwner()) {
        if (owner.get() == sprite) return true;
    }
    return false;
}

void VSprite::AddChild(const std::shared_ptr<VSprite>& child) {
    if (!child) return;
    if (IsSelfOrOwner(child.get())) {
        DebugLog("VSprite::AddChild: \"%s\" cannot hold itself or its owner \"%s\"", mName.c_str(),
                 child->mName.c_str());
        return;
    }
    std::shared_ptr<VSprite> hold = child;  // the old owner may drop the last other reference
    if (std::shared_ptr<VSprite> oldOwner = hold->GetOwner()) oldOwner->RemoveChild(hold);
    hold->mOwner = GetShared();
    std::shared_ptr<VSpriteManager> manager = GetManager();
    hold->SetManager(manager);
    hold->SetClock(mClock);
    mChildren.push_back(hold);
    SortSpriteChildren();
    if (manager) manager->MarkDirty();
    for (const auto& [id, entry] : std::map<uint32_t, EffectEntry>(mEffects)) {
        if (entry.effect && entry.effect->IsPropagating()) hold->AddEffect(entry.effect);
    }
}

void VSprite::RemoveChild(const std::shared_ptr<VSprite>& child) {
    std::shared_ptr<VSprite> hold = child;  // the argument may be the list's own entry
    auto found = std::find(mChildren.begin(), mChildren.end(), hold);
    if (found == mChildren.end()) return;
    if (hold->GetOwner().get() == this) {
        hold->mOwner.reset();
        hold->SetManager(nullptr);
    }
    mChildren.erase(std::find(mChildren.begin(), mChildren.end(), hold));
    if (std::shared_ptr<VSpriteManager> manager = GetManager()) manager->MarkDirty();
    for (const auto& [id, entry] : std::map<uint32_t, EffectEntry>(mEffects)) {
        if (entry.effect && entry.effect->IsPropagating()) hold->RemoveEffect(entry.effect);
    }
}

void VSprite::RemoveAllChildren() {
    std::vector<std::shared_ptr<VSprite>> children;
    children.swap(mChildren);
    for (const std::shared_ptr<VSprite>& child : children) {
        child->mOwner.reset();
        child->SetManager(nullptr);
    }
    if (std::shared_ptr<VSpriteManager> manager = GetManager()) manager->MarkDirty();
}

std::shared_ptr<VSprite> VSprite::GetRoot() {
    std::shared_ptr<VSprite> owner = GetOwner();
    return owner ? owner->GetRoot() : GetShared();
}

std::shared_ptr<VSprite> VSprite::GetContainer() {
    std::shared_ptr<VSprite> owner = GetOwner();
    if (!owner || mContainer) return owner;
    return owner->GetContainer();
}

std::shared_ptr<VSprite> VSprite::FindChild(const TString& name) {
    if (mName == name) return GetShared();
    for (const std::shared_ptr<VSprite>& child : std::vector<std::shared_ptr<VSprite>>(mChildren)) {
        if (std::shared_ptr<VSprite> found = child->FindChild(name)) return found;
    }
    return nullptr;
}

void VSprite::Visit(const std::shared_ptr<VSpriteSpider>& spider, bool recursive) {
    if (!spider) return;
    for (const std::shared_ptr<VSprite>& child : std::vector<std::shared_ptr<VSprite>>(mChildren)) {
        if (spider->Visit(child) && recursive) child->Visit(spider, true);
    }
}

void VSprite::SetAnchor(const TString& name) {
    mAnchor = name;
    std::shared_ptr<VSprite> owner = GetOwner();
    if (!owner || name.Length() == 0) return;
    std::shared_ptr<TAnimatedTexture> texture = owner->GetAnimatedTexture();
    int x = 0;
    int y = 0;
    if (!texture || !texture->GetFramePoint(owner->GetCurrentFrame(), name, &x, &y)) return;
    bool horizontal = false;
    bool vertical = false;
    owner->GetEffectiveFlips(horizontal, vertical);
    SetPosition(TVec2(static_cast<float>(horizontal ? -x : x), static_cast<float>(vertical ? -y : y)));
}

void VSprite::CopyTo(const std::shared_ptr<VSprite>& target) {
    if (!target) return;
    if (target->mName.Length() == 0) target->mName = mName + TString::Format("(copy %.2i)", mCopyCounter++);
    target->SetLayer(GetLayer());
    target->mSpriteLayer = mSpriteLayer;
    target->mLeaf = mLeaf;
    target->mContainer = mContainer;
    target->mAnchor = mAnchor;
    target->mMouse = mMouse;
    target->mClickable = mClickable;
    target->mThirdInputFlag = mThirdInputFlag;
    target->mDrawState.Assign(mDrawState);
    target->mBaseTransform = mBaseTransform;
    target->mScale = mScale;
    target->mPosition = mPosition;
}

// Managers, clocks and effects

void VSprite::SetManager(const std::shared_ptr<VSpriteManager>& manager) {
    std::shared_ptr<VSprite> hold = GetShared();
    mManager = manager;
    if (manager) {
        mClock = manager->GetClock();
        TAnimatedSprite::SetClock(mClock);
        for (const auto& [id, entry] : std::map<uint32_t, EffectEntry>(mEffects)) {
            if (entry.effect && entry.effect->IsActive()) manager->AddRunningEffect(entry.effect);
        }
    }
    for (const std::shared_ptr<VSprite>& child : std::vector<std::shared_ptr<VSprite>>(mChildren)) {
        child->SetManager(manager);
    }
}

void VSprite::SetClock(TClock* clock) {
    mClock = clock;
    for (const std::shared_ptr<VSprite>& child : std::vector<std::shared_ptr<VSprite>>(mChildren)) {
        child->SetClock(clock);
    }
    TAnimatedSprite::SetClock(clock);
}

uint32_t VSprite::GetFrameTime() {
    if (!mClock) return 0;
    uint32_t now = ClockTime();
    if (mLastUpdateTime == 0) mLastUpdateTime = now;
    uint32_t gap = now - mLastUpdateTime;
    return gap < kLongestFrameTime ? gap : 0;
}

void VSprite::AddEffect(const std::shared_ptr<VSpriteEffect>& effect) {
    if (!effect) return;
    std::shared_ptr<VSprite> hold = GetShared();
    EffectEntry& entry = mEffects[effect->GetId()];
    entry.effect = effect;
    ++entry.attachCount;
    if (std::shared_ptr<VSpriteManager> manager = GetManager()) manager->AddRunningEffect(effect);
    effect->OnAdded(hold);
}

void VSprite::RemoveEffect(const std::shared_ptr<VSpriteEffect>& effect) {
    if (!effect) return;
    auto found = mEffects.find(effect->GetId());
    // An effect that was never attached here keeps its count of sprites.
    if (found == mEffects.end() || found->second.attachCount <= 0) return;
    std::shared_ptr<VSprite> hold = GetShared();
    if (--found->second.attachCount == 0) found->second.effect.reset();
    effect->OnRemoved(hold);
}

void VSprite::DetachEffects() {
    std::shared_ptr<VSprite> hold = GetShared();
    std::map<uint32_t, EffectEntry> effects;
    effects.swap(mEffects);
    for (const auto& [id, entry] : effects) {
        if (entry.effect) entry.effect->OnRemoved(hold);
    }
}

bool VSprite::HasEffect(const std::shared_ptr<VSpriteEffect>& effect) const {
    if (!effect) return false;
    auto found = mEffects.find(effect->GetId());
    return found != mEffects.end() && found->second.effect && found->second.attachCount > 0;
}

void VSprite::AddListener(const std::shared_ptr<VSpriteListener>& listener) {
    if (!listener) return;
    mListenersToAdd.insert(listener);
    mListenersToRemove.erase(listener);
}

void VSprite::RemoveListener(const std::shared_ptr<VSpriteListener>& listener) {
    if (!listener) return;
    mListenersToRemove.insert(listener);
    mListenersToAdd.erase(listener);
}

// Events

void VSprite::SendEvent(int kind, const TPoint& point, const TDrawState& state, int depth) {
    // A hook, listener or effect may drop the last other owner of this sprite.
    std::shared_ptr<VSprite> hold = GetShared();
    RunOwnHook(kind, point, state, depth);
    if ((kind & 127) != 0 || kind == kEventPress) DispatchToListeners(kind, point);
    if ((kind & (kEventBeginRender | kEventBeginImage)) != 0) OpenBrackets(kind, state, depth);
    if ((kind & (kEventEndRender | kEventEndImage)) != 0) CloseBrackets(kind, state, depth);
}

void VSprite::RunOwnHook(int kind, const TPoint& point, const TDrawState&, int depth) {
    switch (kind) {
    case kEventPress:
        OnPress();
        mPressed = true;
        break;
    case kEventMove:
        OnSpriteEvent1(point);
        break;
    case kEventRelease:
        OnRelease();
        mPressed = false;
        if (mClickable) SendEvent(kEventClick, point, IdentityState(), depth);
        break;
    case kEventClick:
        OnClick();
        break;
    case kEventEnter:
        OnMouseEnter();
        mHover = true;
        break;
    case kEventLeave:
        OnMouseLeave();
        mHover = false;
        break;
    case kEventDrag:
        OnDrag(point);
        break;
    case kEventNamed:
        OnNamedEvent(mPendingAnimation);
        break;
    case kEventBeginImage:
    case kEventEndImage:
        OnImageBracket();
        break;
    default:
        break;
    }
}

void VSprite::DispatchToListeners(int kind, const TPoint&) {
    std::shared_ptr<VSprite> self = GetShared();
    // A copy: callbacks may add or remove listeners, which waits for Update.
    std::vector<std::shared_ptr<VSpriteListener>> listeners(mListeners.begin(), mListeners.end());
    TString name = mPendingAnimation;
    for (const std::shared_ptr<VSpriteListener>& listener : listeners) {
        if (listener->IsFinished()) continue;
        switch (kind) {
        case kEventPress: listener->OnPress(self); break;
        case kEventMove: listener->OnSpriteEvent1(self); break;
        case kEventRelease: listener->OnRelease(self); break;
        case kEventClick: listener->OnClick(self); break;
        case kEventEnter: listener->OnMouseEnter(self); break;
        case kEventLeave: listener->OnMouseLeave(self); break;
        case kEventDrag: listener->OnDrag(self); break;
        case kEventNamed: listener->OnNamedEvent(name, self); break;
        default: break;
        }
    }
}

void VSprite::OpenBrackets(int kind, const TDrawState& state, int depth) {
    if (mDispatching) return;
    mDispatching = true;
    std::shared_ptr<VSprite> self = GetShared();
    bool image = (kind & kEventBeginImage) != 0;
    // Filled in place: the vector keeps its room from frame to frame.
    std::vector<std::shared_ptr<VSpriteEffect>>& open = image ? mOpenImageBrackets : mOpenRenderBrackets;
    open.clear();
    for (const auto& [id, entry] : mEffects) {
        if (entry.effect) open.push_back(entry.effect);
    }
    for (const std::shared_ptr<VSpriteEffect>& effect : open) {
        if (image) {
            effect->BeginImage(self, state, depth);
        } else {
            effect->BeginRender(self, state, depth);
        }
    }
    mDispatching = false;
}

void VSprite::CloseBrackets(int kind, const TDrawState& state, int depth) {
    if (mDispatching) return;
    mDispatching = true;
    std::shared_ptr<VSprite> self = GetShared();
    bool image = (kind & kEventEndImage) != 0;
    std::vector<std::shared_ptr<VSpriteEffect>>& open = image ? mOpenImageBrackets : mOpenRenderBrackets;
    for (auto effect = open.rbegin(); effect != open.rend(); ++effect) {
        if (image) {
            (*effect)->EndImage(self, state, depth);
        } else {
            (*effect)->EndRender(self, state, depth);
        }
    }
    open.clear();
    mDispatching = false;
}

// Drawing and picking

void VSprite::Render(const TDrawState& parentState, int depth) {
    std::shared_ptr<VSprite> hold = GetShared();
    SendEvent(kEventBeginRender, TPoint(), parentState, depth);
    TDrawState composed = TDrawState::Compose(mDrawState, parentState);
    RenderChildren(composed, depth, true);
    if (mDrawSelf) {
        SendEvent(kEventBeginImage, TPoint(), parentState, depth);
        Draw(parentState, 0);
        SendEvent(kEventEndImage, TPoint(), parentState, depth);
    }
    TRenderer::GetInstance()->SetBlendMode(0);
    RenderChildren(composed, depth, false);
    SendEvent(kEventEndRender, TPoint(), parentState, depth);
}

void VSprite::RenderChildren(const TDrawState& state, int depth, bool behind) {
    for (const std::shared_ptr<VSprite>& child : std::vector<std::shared_ptr<VSprite>>(mChildren)) {
        if ((child->GetLayer() < 0) == behind && child->IsVisible()) child->Render(state, depth);
    }
}

std::shared_ptr<VSprite> VSprite::PickSprite(const TDrawState& parentState, const TPoint& point, int threshold,
                                             int depth) {
    std::shared_ptr<VSprite> hold = GetShared();
    TDrawState composed = TDrawState::Compose(mDrawState, parentState);
    std::vector<std::shared_ptr<VSprite>> children(mChildren);
    auto child = children.rbegin();
    for (; child != children.rend() && (*child)->GetLayer() >= 0; ++child) {
        if (!(*child)->IsVisible()) continue;
        if (std::shared_ptr<VSprite> picked = (*child)->PickSprite(composed, point, threshold, depth)) return picked;
    }
    if (mDrawSelf && HitTest(point, parentState, threshold, 0)) return hold;
    for (; child != children.rend(); ++child) {
        if (!(*child)->IsVisible()) continue;
        if (std::shared_ptr<VSprite> picked = (*child)->PickSprite(composed, point, threshold, depth)) return picked;
    }
    return nullptr;
}

bool VSprite::HitTest(const TPoint& point, const TDrawState& parentState, int threshold, int depth) {
    if (!IsVisible() || !(mMouse || mLeaf)) return false;
    if (TAnimatedSprite::HitTest(point, parentState, threshold, 0)) return true;
    if (depth == 0 || !GetBounds(parentState, depth).Contains(point)) return false;
    TDrawState composed = TDrawState::Compose(mDrawState, parentState);
    std::vector<std::shared_ptr<VSprite>> children(mChildren);
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        if ((*child)->HitTest(point, composed, threshold, depth - 1)) return true;
    }
    return false;
}

TRect VSprite::GetBounds(const TDrawState& parentState, int depth) {
    TRect bounds = kEmptyBounds;
    if (mDrawSelf) bounds = TAnimatedSprite::GetBounds(parentState, 0);
    if (depth == 0) return bounds;
    TDrawState composed = TDrawState::Compose(mDrawState, parentState);
    for (const std::shared_ptr<VSprite>& child : mChildren) {
        if (child->IsVisible()) bounds.Union(bounds, child->GetBounds(composed, depth - 1));
    }
    return bounds;
}

// Animation

void VSprite::SetAnimation(const std::shared_ptr<TTexture>& texture) {
    StopAnimation(false);
    SetTexture(texture);
    RegisterLuaFunctions();
}

void VSprite::RegisterLuaFunctions() {
    InitScript();
    TScript* script = GetScript();
    std::shared_ptr<VSprite> self = GetShared();
    if (!script || !self) return;
    lua_State* L = script->GetState();
    LuaPopState guard(L);
    PushSpriteLink(L, self);
    lua_pushcclosure(L, GetDelayFunction, 1);
    SetGlobal(L, "getdelay");
    lua_pushcfunction(L, PlaySoundFunction);
    SetGlobal(L, "playsound");
}

void VSprite::Reset() {
    mHover = false;
    mPressed = false;
    mRepeat = false;
    mStartCountdown = 0;
    mPendingAnimation = TString();
    mLastUpdateTime = 0;
}

void VSprite::StopAnimation(bool recursive) {
    mStartCountdown = 0;
    mRepeat = false;
    mPendingAnimation = TString();
    Stop();
    if (!recursive) return;
    for (const std::shared_ptr<VSprite>& child : std::vector<std::shared_ptr<VSprite>>(mChildren)) {
        child->StopAnimation(false);
    }
}

void VSprite::DoAnim(const TString& name, bool repeat, bool recursive, int delay) {
    std::shared_ptr<VSprite> hold = GetShared();
    mRepeat = repeat;
    TString animation = name.Length() > 0 ? name : TString("DoAnim");
    bool running = animation == mPendingAnimation && IsPlaying(-1) && !IsFinished(-1);
    if (!running) {
        mPendingAnimation = animation;
        if (delay >= 1) {
            mStartCountdown = delay;
        } else {
            Play(animation);
        }
    }
    if (!recursive) return;
    for (const std::shared_ptr<VSprite>& child : std::vector<std::shared_ptr<VSprite>>(mChildren)) {
        child->DoAnim(TString(), repeat, true, 0);
    }
}

void VSprite::SetDelay(int ms, bool recursive) {
    mDelay = ms;
    if (TScript* script = GetScript()) script->DoLuaString(TString::Format("delay(%i);", ms).c_str());
    if (!recursive) return;
    for (const std::shared_ptr<VSprite>& child : std::vector<std::shared_ptr<VSprite>>(mChildren)) {
        child->SetDelay(ms, true);
    }
}

// Update

void VSprite::Update(bool paused) {
    std::shared_ptr<VSprite> hold = GetShared();
    if (!paused) {
        mPauseMark = 0;
    } else if (mPauseMark == 0) {
        mPauseMark = ClockTime();
    }
    UpdatePendingAnimation();
    mFrame = GetCurrentFrame();
    if (mAnchor.Length() > 0) SetAnchor(mAnchor);
    PruneEffects();
    ApplyListenerChanges();
    for (const std::shared_ptr<VSprite>& child : std::vector<std::shared_ptr<VSprite>>(mChildren)) {
        child->Update(paused);
    }
    mLastUpdateTime = ClockTime();
}

bool VSprite::IsStill() {
    if (!mEffects.empty() || mPendingAnimation.Length() > 0 || IsPlaying(-1)) return false;
    return std::all_of(mChildren.begin(), mChildren.end(),
                       [](const std::shared_ptr<VSprite>& child) { return child->IsStill(); });
}

void VSprite::UpdatePendingAnimation() {
    if (mPendingAnimation.Length() == 0) return;
    if (mStartCountdown > 0) {
        mStartCountdown = std::max(0, mStartCountdown - static_cast<int>(GetFrameTime()));
        if (mStartCountdown == 0) Play(mPendingAnimation);
        return;
    }
    if (IsPlaying(-1) && !IsFinished(-1)) return;
    if (mRepeat) {
        Stop();
        Play(mPendingAnimation);
        return;
    }
    // The end is reported to the sprite itself, not to its listeners.
    TString name = mPendingAnimation;
    OnNamedEvent(name);
    mPendingAnimation = TString();
}

void VSprite::PruneEffects() {
    std::shared_ptr<VSprite> self = GetShared();
    std::vector<std::shared_ptr<VSpriteEffect>> removed;
    for (auto entry = mEffects.begin(); entry != mEffects.end();) {
        const EffectEntry& value = entry->second;
        if (value.effect && !value.effect->IsDone() && value.attachCount > 0) {
            ++entry;
            continue;
        }
        if (value.effect) removed.push_back(value.effect);
        entry = mEffects.erase(entry);
    }
    for (const std::shared_ptr<VSpriteEffect>& effect : removed) effect->OnRemoved(self);
}

void VSprite::ApplyListenerChanges() {
    for (const std::shared_ptr<VSpriteListener>& listener : mListeners) {
        if (!listener || listener->IsFinished()) mListenersToRemove.insert(listener);
    }
    for (const std::shared_ptr<VSpriteListener>& listener : mListenersToRemove) mListeners.erase(listener);
    mListeners.insert(mListenersToAdd.begin(), mListenersToAdd.end());
    mListenersToRemove.clear();
    mListenersToAdd.clear();
}
