#include "scriptedsprites/spritescripttask.h"

#include <algorithm>

#include "core/app/tasklist.h"
#include "core/scripting/script.h"
#include "scriptedsprites/animatedsprite.h"
#include "scriptedsprites/animationhost.h"
#include "lua/lua.h"

namespace {

// Counts a step or resume for as long as it runs.
class TRunningScope {
public:
    explicit TRunningScope(int& running) : mRunning(running) { ++mRunning; }
    ~TRunningScope() { --mRunning; }
    TRunningScope(const TRunningScope&) = delete;
    TRunningScope& operator=(const TRunningScope&) = delete;

private:
    int& mRunning;
};

}  // namespace

TSpriteScriptTask::TSpriteScriptTask(const std::shared_ptr<TAnimatedSprite>& sprite)
    : mSprite(sprite), mScript(std::make_shared<TScript>()) {}

TSpriteScriptTask::TSpriteScriptTask(const std::shared_ptr<TAnimatedSprite>& sprite, const TSpriteScriptTask& script)
    : mSprite(sprite), mOwner(script.mScript), mScript(script.mScript->NewThread()) {}

TSpriteScriptTask::~TSpriteScriptTask() {
    if (std::shared_ptr<TAnimatedSprite> sprite = mSprite.lock()) sprite->ForgetTask(this);
}

bool TSpriteScriptTask::Ready(int pass) {
    return mScript->Ready(pass);
}

// The sprite may let go of itself during the step (its parent dropping it
// from the script); it is then destroyed as the hold ends, which may delete
// this task: nothing here is touched after that.
bool TSpriteScriptTask::DoTask() {
    std::shared_ptr<TAnimatedSprite> hold = mSprite.lock();
    TRunningScope running(mRunning);
    return mScript->DoTask();
}

void TSpriteScriptTask::Schedule() {
    TAnimationHost* host = GetAnimationHost();
    if (!host || mList) return;
    mList = &host->GetTaskList();
    mList->Add(this);
}

void TSpriteScriptTask::Unschedule() {
    if (mList) mList->Remove(this);
    mList = nullptr;
}

int TSpriteScriptTask::Resume(TString& error) {
    TRunningScope running(mRunning);
    return mScript->Resume(0, &error);
}

bool TSpriteScriptTask::IsBusy() const {
    lua_Debug frame;
    return mRunning > 0 || lua_getstack(mScript->GetState(), 0, &frame) != 0;
}

std::vector<TSpriteScriptTask*>& TSpriteScriptTask::Graveyard() {
    static std::vector<TSpriteScriptTask*> graveyard;
    return graveyard;
}

void TSpriteScriptTask::Bury(TSpriteScriptTask* task) {
    if (task) Graveyard().push_back(task);
    Sweep();
}

void TSpriteScriptTask::Sweep() {
    std::vector<TSpriteScriptTask*>& graveyard = Graveyard();
    std::vector<TSpriteScriptTask*> ready;
    auto busy = std::stable_partition(graveyard.begin(), graveyard.end(), [](TSpriteScriptTask* t) { return t->IsBusy(); });
    ready.assign(busy, graveyard.end());
    graveyard.erase(busy, graveyard.end());
    // A deleted task's script may run a collector hook that buries more.
    for (TSpriteScriptTask* task : ready) delete task;
}
