// An animated sprite's script, or a coroutine thread of it, as it runs on
// the platform task list. A step holds the sprite, so that the sprite
// outlives every step of its own animation, whatever the script does to it.
// A thread keeps the script whose state it runs on, so a script's state is
// closed only after its threads, whoever deletes them in whatever order.
#pragma once

#include <memory>
#include <vector>

#include "foundation/task.h"
#include "foundation/tstring.h"

class TAnimatedSprite;
class TScript;
class TTaskList;

class TSpriteScriptTask : public TTask {
public:
    // A new script with its own state.
    explicit TSpriteScriptTask(const std::shared_ptr<TAnimatedSprite>& sprite);
    // A new coroutine thread of the script's state.
    TSpriteScriptTask(const std::shared_ptr<TAnimatedSprite>& sprite, const TSpriteScriptTask& script);
    // Tells a live sprite that still points here, so it never reaches a task
    // the task list deleted.
    ~TSpriteScriptTask() override;
    TSpriteScriptTask(const TSpriteScriptTask&) = delete;
    TSpriteScriptTask& operator=(const TSpriteScriptTask&) = delete;

    bool Ready(int pass) override;
    bool DoTask() override;

    TScript& GetScript() const { return *mScript; }
    // Adds the task to the host's task list, which owns it from then on.
    void Schedule();
    // Takes the task off its list; the caller owns it again.
    void Unschedule();
    // Resumes the coroutine with no values; a failure's text goes to error.
    int Resume(TString& error);
    // The task's Lua code is running: a step or resume is under way, or a
    // call on its state has not returned.
    bool IsBusy() const;

    // Deletes the task once it is no longer busy: at once, or at a later
    // burial. Unscheduled tasks only.
    static void Bury(TSpriteScriptTask* task);

private:
    static std::vector<TSpriteScriptTask*>& Graveyard();
    static void Sweep();

    std::weak_ptr<TAnimatedSprite> mSprite;
    std::shared_ptr<TScript> mOwner;   // the script whose state a thread shares
    std::shared_ptr<TScript> mScript;  // released before mOwner
    TTaskList* mList = nullptr;        // the list that owns the task, if any
    int mRunning = 0;
};
