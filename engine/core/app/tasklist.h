// An ordered list of tasks run one step per pass. The list owns its tasks:
// it deletes a task when its step reports it finished and when the list is
// cleared. Adding, removing and clearing are safe from inside a task's step.
#pragma once

#include <list>
#include <vector>

class TTask;

class TTaskList {
public:
    TTaskList() = default;
    ~TTaskList();
    TTaskList(const TTaskList&) = delete;
    TTaskList& operator=(const TTaskList&) = delete;

    // Appends the task; during a run it is reached later in the same pass.
    // A task already in the list is not added again.
    void Add(TTask* task);
    // Takes the task out without deleting it (the caller owns it again);
    // false when it is not in the list.
    bool Remove(TTask* task);
    // One pass: 0 for the idle tick and restore runs, 1 for the frame pass.
    // A pass started from inside a step is ignored (and logged).
    void RunAll(int pass);
    // Deletes every task (at the end of the run when called during one).
    void Clear();

private:
    void Finished(TTask* task);
    static void DeleteAll(std::vector<TTask*> tasks);

    bool mRunning = false;
    std::list<TTask*> mTasks;
    // Tasks taken out during a run: skipped now, unlinked when it ends.
    std::vector<TTask*> mPendingRemoval;
    // Tasks cleared during a run: deleted when it ends.
    std::vector<TTask*> mPendingDelete;
};
