#include "scriptedsprites/animatedsprite.h"

#include <cstdint>
#include <cstring>

#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "foundation/debuglog.h"
#include "scriptedsprites/animationhost.h"
#include "scriptedsprites/animationlibrary.h"
#include "scriptedsprites/spritescripttask.h"
#include "lua/lua.h"
#include "lua/numbercast.h"

const TSpriteClassId TAnimatedSprite::ClassId = &TAnimatedSprite::ClassId;

namespace {

// The registry key of the block that the sprite's functions share: it holds
// the sprite, and is emptied when the script is buried, so a script that
// outlives its sprite finds no sprite rather than a deleted one.
const char kSpriteLinkKey = 0;
const char kTempEnvironment[] = "_tempGlobalEnv";

TAnimatedSprite* LinkedSprite(lua_State* L) {
    TAnimatedSprite* sprite = nullptr;
    if (void* block = lua_touserdata(L, lua_upvalueindex(1))) std::memcpy(&sprite, block, sizeof(sprite));
    return sprite;
}

void ClearLink(lua_State* L) {
    lua_pushlightuserdata(L, const_cast<char*>(&kSpriteLinkKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (void* block = lua_touserdata(L, -1)) std::memset(block, 0, sizeof(TAnimatedSprite*));
    lua_pop(L, 1);
}

// Calls the function with the sprite held, so the sprite outlives the call
// even when the call makes its parent drop it.
template <int (*Function)(TAnimatedSprite&, lua_State*)>
int SpriteCall(lua_State* L) {
    TAnimatedSprite* sprite = LinkedSprite(L);
    if (!sprite) return 0;
    std::shared_ptr<TSprite> hold = sprite->weak_from_this().lock();
    if (!hold) return 0;
    return Function(*sprite, L);
}

int IntArgument(lua_State* L, int index) {
    return script::truncateNumber<int>(lua_tonumber(L, index));
}

int SetCurrentFrame(TAnimatedSprite& sprite, lua_State* L) {
    sprite.SetCurrentFrame(IntArgument(L, 1));
    return 0;
}

int WaitLuaNextFrame(TAnimatedSprite& sprite, lua_State* L) {
    return sprite.WaitNextFrame(L);
}

int Die(TAnimatedSprite& sprite, lua_State*) {
    sprite.Die();
    return 0;
}

int Pause(TAnimatedSprite& sprite, lua_State* L) {
    sprite.Pause(lua_toboolean(L, 1) != 0, IntArgument(L, 2));
    return 0;
}

int IsPlaying(TAnimatedSprite& sprite, lua_State* L) {
    lua_pushboolean(L, sprite.IsPlaying(IntArgument(L, 1)));
    return 1;
}

int Load(TAnimatedSprite& sprite, lua_State* L) {
    lua_pushboolean(L, sprite.Load(LuaToString(L, 1), LuaToString(L, 2), LuaToString(L, 3)));
    return 1;
}

int GetScript(TAnimatedSprite& sprite, lua_State* L) {
    std::shared_ptr<TAnimatedTexture> texture = sprite.GetAnimatedTexture();
    PushLuaString(L, texture ? texture->GetScript() : TString());
    return 1;
}

int SetAlpha(TAnimatedSprite& sprite, lua_State* L) {
    sprite.GetDrawState().alpha = static_cast<float>(lua_tonumber(L, 1));
    return 0;
}

int SetLayer(TAnimatedSprite& sprite, lua_State* L) {
    sprite.SetLayer(IntArgument(L, 1));
    return 0;
}

int RemoveSprite(TAnimatedSprite& sprite, lua_State*) {
    if (TSprite* parent = sprite.GetParent()) parent->RemoveChild(sprite.shared_from_this());
    return 0;
}

// a + (random modulo (b - a)); a alone when b is not above a, which has no
// number to draw from.
int Random(TAnimatedSprite&, lua_State* L) {
    int a = IntArgument(L, 1);
    int b = IntArgument(L, 2);
    TAnimationHost* host = GetAnimationHost();
    int64_t result = a;
    if (b > a && host) result += host->Rand() % static_cast<uint64_t>(static_cast<int64_t>(b) - a);
    lua_pushnumber(L, static_cast<lua_Number>(result));
    return 1;
}

struct TSpriteFunction {
    const char* name;
    lua_CFunction function;
};

const TSpriteFunction kSpriteFunctions[] = {
    {"SetCurrentFrame", SpriteCall<SetCurrentFrame>},
    {"WaitLuaNextFrame", SpriteCall<WaitLuaNextFrame>},
    {"Die", SpriteCall<Die>},
    {"Pause", SpriteCall<Pause>},
    {"IsPlaying", SpriteCall<IsPlaying>},
    {"Load", SpriteCall<Load>},
    {"GetScript", SpriteCall<GetScript>},
    {"SetAlpha", SpriteCall<SetAlpha>},
    {"SetLayer", SpriteCall<SetLayer>},
    {"RemoveSprite", SpriteCall<RemoveSprite>},
    {"Random", SpriteCall<Random>},
};

// The script whose globals L shares.
const void* GlobalsOwner(lua_State* L) {
    lua_pushstring(L, "_SCRIPT");
    lua_rawget(L, LUA_GLOBALSINDEX);
    const void* script = lua_touserdata(L, -1);
    lua_pop(L, 1);
    return script;
}

template <typename Visit>
void ForAnimatedChildren(const TSprite& sprite, int depth, Visit visit) {
    if (depth == 0) return;
    for (const std::shared_ptr<TSprite>& child : sprite.GetChildren()) {
        if (child->IsA(TAnimatedSprite::ClassId) && !visit(static_cast<TAnimatedSprite&>(*child))) return;
    }
}

}  // namespace

std::shared_ptr<TAnimatedSprite> TAnimatedSprite::Create(int layer) {
    return std::make_shared<TAnimatedSprite>(layer);
}

// The tasks leave the task list first, so it never runs or deletes them again.
TAnimatedSprite::~TAnimatedSprite() {
    for (TSpriteScriptTask* task : {mCoroutine, mScript}) {
        if (task) task->Unschedule();
    }
    for (TSpriteScriptTask* script : {mScript, mRetiredScript}) {
        if (script) ClearLink(script->GetScript().GetState());
    }
    TSpriteScriptTask* tasks[] = {mRetiredCoroutine, mCoroutine, mRetiredScript, mScript};
    mRetiredCoroutine = mCoroutine = mRetiredScript = mScript = nullptr;
    for (TSpriteScriptTask* task : tasks) TSpriteScriptTask::Bury(task);
}

std::shared_ptr<TAnimatedSprite> TAnimatedSprite::Self() {
    return std::static_pointer_cast<TAnimatedSprite>(weak_from_this().lock());
}

void TAnimatedSprite::Draw(const TDrawState& parentState, int depth) {
    if (mAnimatedTexture) mAnimatedTexture->SetFrame(mCurrentFrame);
    TSprite::Draw(parentState, depth);
}

bool TAnimatedSprite::HitTest(const TPoint& point, const TDrawState& parentState, int threshold, int depth) {
    if (mAnimatedTexture) mAnimatedTexture->SetFrame(mCurrentFrame);
    return TSprite::HitTest(point, parentState, threshold, depth);
}

TRect TAnimatedSprite::GetBounds(const TDrawState& parentState, int depth) {
    bool pivotForCall = !(mDrawState.flags & TDrawState::kUsePivot) && mAnimatedTexture;
    if (pivotForCall) {
        const TAnimationFrame* frame = mAnimatedTexture->GetFrame(mCurrentFrame);
        TPoint registration = mAnimatedTexture->GetRegistrationPoint(mCurrentFrame);
        int width = frame ? frame->w : 0;
        int height = frame ? frame->h : 0;
        if (mDrawState.flags & TDrawState::kMirrorHorizontal) registration.x = width - registration.x;
        if (mDrawState.flags & TDrawState::kMirrorVertical) registration.y = height - registration.y;
        mDrawState.pivot = TVec2(static_cast<float>(registration.x), static_cast<float>(registration.y));
        mDrawState.flags |= TDrawState::kUsePivot;
    }
    if (mAnimatedTexture) mAnimatedTexture->SetFrame(mCurrentFrame);
    TRect bounds = TSprite::GetBounds(parentState, depth);
    if (pivotForCall) mDrawState.flags &= ~TDrawState::kUsePivot;
    return bounds;
}

void TAnimatedSprite::SetTexture(const std::shared_ptr<TTexture>& texture) {
    TSprite::SetTexture(texture);
    bool animated = texture && texture->IsA(TAnimatedTexture::ClassId);
    mAnimatedTexture = animated ? std::static_pointer_cast<TAnimatedTexture>(texture) : nullptr;
}

void TAnimatedSprite::SetCurrentFrame(int frame) {
    if (frame < -1) return;
    mCurrentFrame = frame;
    if (mAnimatedTexture && frame < mAnimatedTexture->GetFrameCount()) mAnimatedTexture->SetFrame(frame);
}

int TAnimatedSprite::GetFrameCount() const {
    return mAnimatedTexture ? mAnimatedTexture->GetFrameCount() : 1;
}

void TAnimatedSprite::SetClock(TClock* clock) {
    mClock = clock;
    if (mCoroutine) mCoroutine->GetScript().SetClock(clock);
}

bool TAnimatedSprite::Load(const TString& name, const TString& image, const TString& mask) {
    mAnimatedTexture = TAnimatedTexture::Get(name, image, mask);
    return mAnimatedTexture != nullptr;
}

void TAnimatedSprite::InitScript() {
    Stop();
    BuryRetiredScript();
    if (mScript) RetireScript();
    std::shared_ptr<TAnimatedSprite> self = Self();
    if (!self) {
        DebugLog("TAnimatedSprite::InitScript: the sprite is not shared");
        return;
    }
    mScript = new TSpriteScriptTask(self);
    TScript& script = mScript->GetScript();
    script.SetClock(mClock);
    mScript->Schedule();
    RunAnimationLibrary(script.GetState());
    RegisterFunctions(script.GetState());
    if (mAnimatedTexture) {
        const TString& text = mAnimatedTexture->GetScript();
        script.DoLuaString(text.c_str(), text.Length());
    }
}

void TAnimatedSprite::RegisterFunctions(lua_State* L) {
    LuaPopState guard(L);
    TAnimatedSprite* self = this;
    std::memcpy(lua_newuserdata(L, sizeof(self)), &self, sizeof(self));
    lua_pushlightuserdata(L, const_cast<char*>(&kSpriteLinkKey));
    lua_pushvalue(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
    for (const TSpriteFunction& entry : kSpriteFunctions) {
        lua_pushstring(L, entry.name);
        lua_pushvalue(L, -2);
        lua_pushcclosure(L, entry.function, 1);
        lua_rawset(L, LUA_GLOBALSINDEX);
    }
}

TScript* TAnimatedSprite::GetScript() {
    if (mCoroutine) return &mCoroutine->GetScript();
    if (!mScript) InitScript();
    return mScript ? &mScript->GetScript() : nullptr;
}

void TAnimatedSprite::Play(const TString& functionName) {
    std::shared_ptr<TAnimatedSprite> hold = Self();
    if (!hold) {
        DebugLog("TAnimatedSprite::Play: the sprite is not shared");
        return;
    }
    if (!mScript) {
        if (!mAnimatedTexture) return;
        InitScript();
    }
    Stop();
    mCoroutine = new TSpriteScriptTask(hold, *mScript);
    if (mClock) mCoroutine->GetScript().SetClock(mClock);
    mCoroutine->Schedule();
    if (functionName.Length() == 0) return;
    lua_State* thread = mCoroutine->GetScript().GetState();
    lua_pushvalue(thread, LUA_GLOBALSINDEX);
    PushLuaString(thread, functionName);
    if (!LuaGetTableProtected(thread)) return;
    if (!lua_isfunction(thread, -1)) {
        lua_pop(thread, 1);
        DebugLog("TAnimatedSprite::Play: lua_resume error: %s",
                 TString::Format("no function %s", functionName.c_str()).c_str());
        return;
    }
    TString error;
    if (mCoroutine->Resume(error) != 0) DebugLog("TAnimatedSprite::Play: lua_resume error: %s", error.c_str());
}

void TAnimatedSprite::Stop() {
    if (!mCoroutine) return;
    BuryRetiredCoroutine();
    if (mScript) {
        // The script's own environment becomes the coroutine's globals.
        lua_State* script = mScript->GetScript().GetState();
        lua_State* thread = mCoroutine->GetScript().GetState();
        LuaPopState scriptGuard(script);
        LuaPopState threadGuard(thread);
        lua_pushvalue(thread, LUA_GLOBALSINDEX);
        lua_pushstring(thread, "_G");
        if (LuaGetTableProtected(thread)) {
            lua_xmove(thread, script, 1);
            LuaSetGlobalProtected(script, kTempEnvironment);
            lua_pushvalue(script, LUA_GLOBALSINDEX);
            lua_pushstring(script, "setfenv");
            if (LuaGetTableProtected(script)) {
                lua_pushnumber(script, 0);
                lua_pushstring(script, kTempEnvironment);
                lua_rawget(script, LUA_GLOBALSINDEX);
                if (lua_pcall(script, 2, 0, 0) != 0) {
                    DebugLog("TAnimatedSprite::Stop: %s", LuaToString(script, -1).c_str());
                }
            }
            lua_pushnil(script);
            LuaSetGlobalProtected(script, kTempEnvironment);
        }
    }
    RetireCoroutine();
    mSpeed = 1.0f;
}

void TAnimatedSprite::Die() {
    Stop();
    BuryRetiredScript();
    if (mScript) RetireScript();
}

void TAnimatedSprite::RetireCoroutine() {
    mCoroutine->Unschedule();
    mCoroutine->GetScript().GoIdle();
    mRetiredCoroutine = mCoroutine;
    mCoroutine = nullptr;
}

void TAnimatedSprite::RetireScript() {
    mScript->Unschedule();
    mScript->GetScript().GoIdle();
    mRetiredScript = mScript;
    mScript = nullptr;
}

void TAnimatedSprite::BuryRetiredCoroutine() {
    TSpriteScriptTask* retired = mRetiredCoroutine;
    mRetiredCoroutine = nullptr;
    TSpriteScriptTask::Bury(retired);
}

// A parked coroutine keeps the state of the script it ran on; it goes with it.
void TAnimatedSprite::BuryRetiredScript() {
    BuryRetiredCoroutine();
    TSpriteScriptTask* retired = mRetiredScript;
    mRetiredScript = nullptr;
    if (retired) ClearLink(retired->GetScript().GetState());
    TSpriteScriptTask::Bury(retired);
}

void TAnimatedSprite::ForgetTask(TSpriteScriptTask* task) {
    for (TSpriteScriptTask** slot : {&mScript, &mCoroutine, &mRetiredScript, &mRetiredCoroutine}) {
        if (*slot == task) *slot = nullptr;
    }
}

void TAnimatedSprite::PauseOwn(bool pause) {
    TScript& coroutine = mCoroutine->GetScript();
    if (pause) {
        coroutine.GoIdle();
    } else {
        coroutine.Start(1, true, true, false);
    }
}

void TAnimatedSprite::Pause(bool pause, int depth) {
    if (mCoroutine && mScript) PauseOwn(pause);
    ForAnimatedChildren(*this, depth, [&](TAnimatedSprite& child) {
        child.Pause(pause, depth - 1);
        return true;
    });
}

bool TAnimatedSprite::IsPlaying(int depth) {
    if (mCoroutine && mCoroutine->GetScript().IsYielded()) return true;
    bool playing = false;
    ForAnimatedChildren(*this, depth, [&](TAnimatedSprite& child) {
        playing = child.IsPlaying(depth - 1);
        return !playing;
    });
    return playing;
}

bool TAnimatedSprite::IsFinished(int depth) {
    if (mScript) return false;
    bool finished = true;
    ForAnimatedChildren(*this, depth, [&](TAnimatedSprite& child) {
        finished = child.IsFinished(depth - 1);
        return finished;
    });
    return finished;
}

// A yield passes no native call on the coroutine's stack.
bool TAnimatedSprite::YieldsHere(lua_State* L) const {
    lua_Debug frame;
    for (int level = 1; lua_getstack(L, level, &frame); ++level) {
        if (lua_getinfo(L, "S", &frame) && std::strcmp(frame.what, "C") == 0) return false;
    }
    return true;
}

// The animation coroutines are the coroutine threads of this sprite's
// coroutine tasks; the running one is scheduled and yields, one left over
// from an earlier Play or Die only yields, never to be resumed. Called
// anywhere else, the running coroutine is scheduled and the call returns.
int TAnimatedSprite::WaitNextFrame(lua_State* L) {
    TScript* owner = TScript::Owner(L);
    bool animation = owner && L != owner->GetState() && owner != GlobalsOwner(L);
    bool running = animation && mCoroutine && owner == &mCoroutine->GetScript();
    if (mCoroutine && (running || !animation)) {
        TScript& coroutine = mCoroutine->GetScript();
        if (lua_isnumber(L, 1)) {
            coroutine.Start(IntArgument(L, 1), true, true, false);
        } else {
            coroutine.GoIdle();
        }
    }
    if (animation && YieldsHere(L)) return lua_yield(L, 0);
    return 0;
}
