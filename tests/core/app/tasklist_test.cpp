#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "foundation/task.h"
#include "core/app/tasklist.h"
#include "tests/support/luatesting.h"

namespace {

// What happened to one task, kept outside it so it survives the deletion.
struct Record {
    int steps = 0;
    int deletions = 0;
};

// A task whose step runs a test's action and answers its result.
class ScriptedTask : public TTask {
public:
    ScriptedTask(Record& record, std::function<bool()> step = [] { return true; })
        : mRecord(record), mStep(std::move(step)) {}
    ~ScriptedTask() override { ++mRecord.deletions; }
    bool DoTask() override {
        ++mRecord.steps;
        return mStep();
    }

private:
    Record& mRecord;
    std::function<bool()> mStep;
};

class TaskListTest : public ::testing::Test {
protected:
    ScriptedTask* Add(const char* name, std::function<bool()> step = [] { return true; }) {
        auto* task = new ScriptedTask(records[name], std::move(step));
        list.Add(task);
        return task;
    }

    std::map<std::string, Record> records;
    TTaskList list;
};

TEST_F(TaskListTest, RunsTasksInOrderAndDeletesFinishedOnes) {
    std::string order;
    Add("a", [&] { order += 'a'; return true; });
    Add("b", [&] { order += 'b'; return false; });
    Add("c", [&] { order += 'c'; return true; });
    list.RunAll(0);
    list.RunAll(0);
    EXPECT_EQ(order, "abcac");
    EXPECT_EQ(records["b"].deletions, 1);
    EXPECT_EQ(records["a"].deletions, 0);
}

TEST_F(TaskListTest, TaskAddedDuringARunIsReachedInTheSamePass) {
    Add("first", [&] {
        Add("late");
        return false;
    });
    list.RunAll(0);
    EXPECT_EQ(records["late"].steps, 1);
}

TEST_F(TaskListTest, RemovedDuringARunIsSkippedAndNotDeleted) {
    ScriptedTask* victim = nullptr;
    ScriptedTask* earlier = Add("earlier");
    Add("remover", [&] {
        EXPECT_TRUE(list.Remove(victim));
        EXPECT_TRUE(list.Remove(earlier));
        return true;
    });
    victim = Add("victim");
    list.RunAll(0);
    EXPECT_EQ(records["victim"].steps, 0);
    EXPECT_EQ(records["earlier"].steps, 1);

    // Both are out of the list once the run has ended, and still alive.
    EXPECT_FALSE(list.Remove(victim));
    EXPECT_FALSE(list.Remove(earlier));
    list.Clear();
    EXPECT_EQ(records["victim"].deletions, 0);
    EXPECT_EQ(records["earlier"].deletions, 0);
    delete victim;
    delete earlier;
}

TEST_F(TaskListTest, RemoveOutsideARunUnlinksAtOnce) {
    ScriptedTask* task = Add("task");
    EXPECT_TRUE(list.Remove(task));
    EXPECT_FALSE(list.Remove(task));
    list.RunAll(0);
    EXPECT_EQ(records["task"].steps, 0);
    delete task;
}

TEST_F(TaskListTest, FinishedAfterClearInTheSameRunIsDeletedOnce) {
    Add("before");
    Add("clearer", [&] {
        list.Clear();
        return false;
    });
    Add("after");
    list.RunAll(0);
    EXPECT_EQ(records["clearer"].deletions, 1);
    EXPECT_EQ(records["before"].deletions, 1);
    EXPECT_EQ(records["after"].deletions, 1);
    EXPECT_EQ(records["after"].steps, 0);  // skipped once cleared
    list.RunAll(0);
    EXPECT_EQ(records["before"].steps, 1);
}

TEST_F(TaskListTest, ClearLeavesTasksRemovedInTheSameRunToTheirOwner) {
    ScriptedTask* kept = Add("kept");
    Add("clearer", [&] {
        list.Remove(kept);
        list.Clear();
        return true;
    });
    list.RunAll(0);
    EXPECT_EQ(records["clearer"].deletions, 1);
    EXPECT_EQ(records["kept"].deletions, 0);
    delete kept;
}

TEST_F(TaskListTest, RemovingACancelsAPendingDeleteOfAClearedTask) {
    ScriptedTask* rescued = nullptr;
    Add("clearer", [&] {
        list.Clear();
        EXPECT_TRUE(list.Remove(rescued));
        return true;
    });
    rescued = Add("rescued");
    list.RunAll(0);
    EXPECT_EQ(records["rescued"].deletions, 0);
    delete rescued;
}

TEST_F(TaskListTest, TaskThatRemovesItselfAndFinishesIsLeftToItsOwner) {
    ScriptedTask* self = nullptr;
    self = Add("self", [&] {
        list.Remove(self);
        return false;
    });
    list.RunAll(0);
    EXPECT_EQ(records["self"].deletions, 0);
    delete self;
}

TEST_F(TaskListTest, SecondAddIsIgnoredAndReported) {
    TestLog log;
    ScriptedTask* task = Add("twice", [] { return false; });
    list.Add(task);
    EXPECT_TRUE(log.Contains("is already in the list"));
    list.RunAll(0);
    EXPECT_EQ(records["twice"].steps, 1);
    EXPECT_EQ(records["twice"].deletions, 1);
}

TEST_F(TaskListTest, AddingBackDuringTheRunKeepsARemovedOrClearedTask) {
    for (bool clear : {false, true}) {
        SCOPED_TRACE(clear);
        records.clear();
        ScriptedTask* task = nullptr;
        Add("changer", [&] {
            if (clear) {
                list.Clear();
            } else {
                list.Remove(task);
            }
            list.Add(task);
            return false;
        });
        task = Add("task");
        list.RunAll(0);
        EXPECT_EQ(records["task"].deletions, 0);
        list.RunAll(0);
        EXPECT_EQ(records["task"].steps, 2);
        list.Clear();
        EXPECT_EQ(records["task"].deletions, 1);
    }
}

TEST_F(TaskListTest, PassStartedFromInsideAStepDoesNothing) {
    TestLog log;
    Add("nested", [&] {
        list.RunAll(0);
        return true;
    });
    Add("other");
    list.RunAll(0);
    EXPECT_EQ(records["nested"].steps, 1);
    EXPECT_EQ(records["other"].steps, 1);
    EXPECT_TRUE(log.Contains("started during a run"));
}

TEST_F(TaskListTest, ClearAndDestructionDeleteEveryTask) {
    Add("a");
    Add("b");
    list.Clear();
    EXPECT_EQ(records["a"].deletions, 1);
    EXPECT_EQ(records["b"].deletions, 1);
    {
        TTaskList scoped;
        scoped.Add(new ScriptedTask(records["c"]));
    }
    EXPECT_EQ(records["c"].deletions, 1);
}

TEST_F(TaskListTest, PlainTaskRunsInEveryPass) {
    Add("plain");
    list.RunAll(0);
    list.RunAll(1);
    EXPECT_EQ(records["plain"].steps, 2);
}

}  // namespace
