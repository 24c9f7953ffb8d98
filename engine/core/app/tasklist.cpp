#include "core/app/tasklist.h"

#include <algorithm>

#include "foundation/task.h"
#include "foundation/debuglog.h"

TTaskList::~TTaskList() {
    Clear();
}

namespace {

// For the task list and the pending vectors alike.
template <typename Tasks>
bool Contains(const Tasks& tasks, TTask* task) {
    return std::find(tasks.begin(), tasks.end(), task) != tasks.end();
}

template <typename Tasks>
bool Erase(Tasks& tasks, TTask* task) {
    auto found = std::find(tasks.begin(), tasks.end(), task);
    if (found == tasks.end()) return false;
    tasks.erase(found);
    return true;
}

}  // namespace

void TTaskList::Add(TTask* task) {
    if (!task) return;
    if (!Contains(mTasks, task)) {
        mTasks.push_back(task);
        return;
    }
    // Adding back a task that was removed or cleared during this run keeps it;
    // any other second add would make the list delete the task twice.
    bool revived = Erase(mPendingRemoval, task);
    revived = Erase(mPendingDelete, task) || revived;
    if (!revived) DebugLog("TTaskList::Add: task %p is already in the list", static_cast<void*>(task));
}

bool TTaskList::Remove(TTask* task) {
    if (!mRunning) return Erase(mTasks, task);
    if (!Contains(mTasks, task)) return false;
    if (!Contains(mPendingRemoval, task)) mPendingRemoval.push_back(task);
    // The caller owns the task again, so the end of the run must not delete it.
    Erase(mPendingDelete, task);
    return true;
}

void TTaskList::RunAll(int pass) {
    // A pass started from inside a step would unlink entries the outer pass
    // still walks, and would step the running task again.
    if (mRunning) {
        DebugLog("TTaskList::RunAll: pass %d started during a run, ignored", pass);
        return;
    }
    mRunning = true;
    // Entries are unlinked only here while running, so the successor is taken
    // after the step: a task the step appended is then reached in this pass.
    for (auto entry = mTasks.begin(); entry != mTasks.end();) {
        TTask* task = *entry;
        bool finished = !Contains(mPendingRemoval, task) && task->Ready(pass) && !task->DoTask();
        if (!finished) {
            ++entry;
            continue;
        }
        entry = mTasks.erase(entry);
        Finished(task);
    }
    mRunning = false;

    std::vector<TTask*> removed;
    removed.swap(mPendingRemoval);
    for (TTask* task : removed) Erase(mTasks, task);
    std::vector<TTask*> cleared;
    cleared.swap(mPendingDelete);
    DeleteAll(std::move(cleared));
}

// A finished task is deleted once, here, unless whoever removed it during
// the run took it back.
void TTaskList::Finished(TTask* task) {
    bool removed = Erase(mPendingRemoval, task);
    bool cleared = Erase(mPendingDelete, task);
    if (cleared || !removed) delete task;
}

void TTaskList::Clear() {
    if (mRunning) {
        for (TTask* task : mTasks) {
            if (Contains(mPendingRemoval, task)) continue;
            mPendingRemoval.push_back(task);
            mPendingDelete.push_back(task);
        }
        return;
    }
    std::vector<TTask*> doomed(mTasks.begin(), mTasks.end());
    mTasks.clear();
    DeleteAll(std::move(doomed));
}

// Callers detach the tasks from the list first, so a destructor that adds or
// removes tasks in this list finds it in a sound state.
void TTaskList::DeleteAll(std::vector<TTask*> tasks) {
    for (TTask* task : tasks) delete task;
}
