// Tasks as the program uses them: created and found by id, reused run after run,
// stopped one by one or all at once.
#include <gtest/gtest.h>

#include <atomic>

#include "task/TaskTestSupport.h"

using namespace task;
using namespace tasktest;

namespace {

// A handler that runs until its thread is told to stop, like a download worker.
struct Worker {
  Gate started;
  void operator()(const TTaskThread& t) {
    started.Open();
    Poll([&] { return !t.Active; });
  }
};

class Manager : public ::testing::Test {
 protected:
  void TearDown() override {
    manager.StopTasks();
    EXPECT_TRUE(AllThreadsEnded());
  }
  TTaskManager manager;
  Log log;
};

TEST_F(Manager, CreateTaskFindsByExactId) {
  TSmartTask& find = manager.CreateTask("FindTask");
  EXPECT_EQ(&manager.CreateTask("FindTask"), &find);
  EXPECT_NE(&manager.CreateTask("findtask"), &find);
  EXPECT_EQ(find.TaskManager, &manager);
  EXPECT_EQ(manager.TM_TASK_LIST.size(), 2u);

  TSmartTask* found = &find;
  EXPECT_FALSE(manager.GetTask("LoadTask1", found));
  EXPECT_EQ(found, nullptr);
  EXPECT_TRUE(manager.GetTask("findtask", found));
  EXPECT_EQ(found->ID(), "findtask");
  EXPECT_FALSE(manager.TaskActive("nothing"));
  manager.StopTask("nothing");
}

TEST_F(Manager, EachRunGetsExactlyTheParametersSetForIt) {
  std::vector<std::int32_t> seen;
  std::atomic<int> runs{0};
  TSmartTask& worker = manager.CreateTask("LoadTask1");
  worker.OnExecuteEvent([&](const TTaskThread& t) {
    std::int32_t start = -1, cnt = -1, idx = -1;
    t.GetParam("Start", start);
    t.GetParam("TaskCnt", cnt);
    t.GetParam("TaskIDX", idx);
    seen.insert(seen.end(), {start, cnt, idx});
    ++runs;
  });
  worker.SetParam("Start", 0).SetParam("TaskCnt", 3).SetParam("TaskIDX", 1).SetParam("Extra", 9);
  worker.Start();
  // Started: its parameters went to the run's thread.
  std::int32_t extra = -1;
  worker.GetParam("Extra", extra);
  EXPECT_EQ(extra, 0);
  EXPECT_TRUE(worker.ST_PARAMS.empty());
  ASSERT_TRUE(Pump([&] { return runs == 1 && !worker.Active; }));

  // The reused task keeps its handler; the new run reads only what was set for it.
  manager.CreateTask("LoadTask1").SetParam("TaskCnt", 5).Start();
  ASSERT_TRUE(Pump([&] { return runs == 2 && !worker.Active; }));
  EXPECT_EQ(seen, (std::vector<std::int32_t>{0, 3, 1, 0, 5, 0}));
}

TEST_F(Manager, ReusedTaskKeepsHandlersAndPriority) {
  TSmartTask& t = manager.CreateTask("T");
  t.Priority(TThreadPriority::tpLower).OnTerminatedEvent([&](TObject*) { log.Add("ended"); });
  t.Start();
  ASSERT_TRUE(Pump([&] { return log.Events().size() == 1; }));
  TSmartTask& again = manager.CreateTask("T");
  EXPECT_EQ(again.ST_PRIORITY, TThreadPriority::tpLower);
  again.Start();
  ASSERT_TRUE(Pump([&] { return log.Events().size() == 2; }));
}

TEST_F(Manager, SetParamOnARunningTaskStopsTheRunAndServesTheNext) {
  Worker body;
  std::atomic<std::int32_t> secondRunValue{-1};
  std::atomic<bool> second{false};
  TSmartTask& t = manager.CreateTask("T");
  t.OnExecuteEvent([&](const TTaskThread& th) {
     if (second) {
       std::int32_t v = -1;
       th.GetParam("V", v);
       secondRunValue = v;
       return;
     }
     body(th);
   })
      .OnStopEvent([&](const TTaskThread&) { log.Add("stopped"); })
      .OnTerminatedEvent([&](TObject*) { log.Add("ended"); });
  t.Start();
  ASSERT_TRUE(body.started.Wait());
  t.SetParam("V", 42);
  EXPECT_FALSE(t.Active);
  EXPECT_FALSE(manager.TaskActive("T"));
  ASSERT_TRUE(Pump([&] { return log.Has("stopped"); }));
  second = true;
  t.Start();
  ASSERT_TRUE(Pump([&] { return log.Has("ended"); }));
  EXPECT_EQ(secondRunValue, 42);
  EXPECT_EQ(log.Events(), (std::vector<std::string>{"stopped", "ended"}));
}

TEST_F(Manager, PriorityOnARunningTaskChangesNothing) {
  Worker body;
  TSmartTask& t = manager.CreateTask("T");
  t.Priority(TThreadPriority::tpLower).OnExecuteEvent(std::ref(body));
  t.Start();
  ASSERT_TRUE(body.started.Wait());
  t.Priority(TThreadPriority::tpIdle);
  EXPECT_EQ(t.Thread()->Priority(), TThreadPriority::tpLower);
  t.Stop();
  EXPECT_EQ(t.ST_PRIORITY, TThreadPriority::tpLower);
  EXPECT_TRUE(AllThreadsEnded());
}

TEST_F(Manager, StartOnARunningTaskStopsTheOldRunAndRunsTheNew) {
  Worker first;
  std::atomic<int> run{0};
  TSmartTask& t = manager.CreateTask("T");
  t.OnExecuteEvent([&](const TTaskThread& th) {
     if (++run == 1) first(th);
   })
      .OnStopEvent([&](const TTaskThread&) { log.Add("old run stopped"); })
      .OnTerminatedEvent([&](TObject*) { log.Add("new run ended"); });
  t.Start();
  ASSERT_TRUE(first.started.Wait());
  t.Start();
  ASSERT_TRUE(Pump([&] { return log.Events().size() == 2; }));
  EXPECT_TRUE(log.Has("old run stopped"));
  EXPECT_TRUE(log.Has("new run ended"));
}

TEST_F(Manager, StoppingWhatIsNotRunningDoesNothing) {
  TSmartTask& t = manager.CreateTask("T");
  t.OnStopEvent([&](const TTaskThread&) { log.Add("stop"); });
  t.Stop();
  manager.StopTasks();
  manager.StopTasks({"T", "absent"});
  EXPECT_FALSE(t.Active);
  EXPECT_TRUE(log.Events().empty());
}

TEST_F(Manager, RightAfterStopTheTaskReadsIdleWhileItsThreadWindsDown) {
  Worker body;
  Gate release;
  TSmartTask& t = manager.CreateTask("T");
  t.OnExecuteEvent([&](const TTaskThread& th) {
     body(th);
     release.Wait();  // still winding down after the stop
   })
      .OnStopEvent([&](const TTaskThread&) { log.Add("stop"); });
  t.Start();
  ASSERT_TRUE(body.started.Wait());
  EXPECT_TRUE(manager.TaskActive("T"));
  manager.StopTasks({"T"});
  EXPECT_FALSE(t.Active);
  EXPECT_FALSE(manager.TaskActive("T"));
  EXPECT_EQ(LiveThreadCount(), 1);
  release.Open();
  ASSERT_TRUE(Pump([&] { return log.Has("stop"); }));
}

TEST_F(Manager, TerminatedHandlerNeverRunsForAStoppedRunHoweverLateItNoticed) {
  Gate stopped;
  TSmartTask& t = manager.CreateTask("FindTask");
  // Like the search: it ignores Active and returns normally, only later.
  t.OnExecuteEvent([&](const TTaskThread&) { stopped.Wait(); })
      .OnStopEvent([&](const TTaskThread&) { log.Add("stop"); })
      .OnTerminatedEvent([&](TObject*) { log.Add("terminated"); });
  t.Start();
  manager.StopTasks();
  stopped.Open();
  ASSERT_TRUE(Pump([&] { return log.Has("stop"); }));
  EXPECT_EQ(log.Events(), std::vector<std::string>{"stop"});
}

TEST_F(Manager, StopTasksStopsEveryRunningTaskAndReturnsAtOnce) {
  constexpr int kWorkers = 12;
  std::vector<std::unique_ptr<Worker>> bodies;
  std::atomic<int> stops{0};
  for (int i = 1; i <= kWorkers; ++i) {
    bodies.push_back(std::make_unique<Worker>());
    manager.CreateTask("LoadTask" + std::to_string(i))
        .OnExecuteEvent(std::ref(*bodies.back()))
        .OnStopEvent([&](const TTaskThread&) { ++stops; })
        .Start();
  }
  for (auto& b : bodies) ASSERT_TRUE(b->started.Wait());
  manager.StopTasks();
  for (int i = 1; i <= kWorkers; ++i) EXPECT_FALSE(manager.TaskActive("LoadTask" + std::to_string(i)));
  ASSERT_TRUE(Pump([&] { return stops == kWorkers; }));
}

TEST(TaskGroup, HoldsOneTaskPerIdAndLeavesARefusedTaskWithTheCaller) {
  TTaskGroup group;
  auto first = std::make_unique<TSmartTask>();
  first->ID("A");
  TSmartTask* kept = first.get();
  group.AddTask(std::move(first));
  auto duplicate = std::make_unique<TSmartTask>();
  duplicate->ID("A");
  group.AddTask(std::move(duplicate));
  ASSERT_EQ(group.TaskList.size(), 1u);
  EXPECT_EQ(group.TaskList[0].get(), kept);
  EXPECT_NE(duplicate, nullptr);
  EXPECT_TRUE(group.TaskExists("A"));
  EXPECT_FALSE(group.TaskExists("a"));
}

TEST(TaskGroup, StartsStopsAndHearsFromItsTasks) {
  struct RecordingGroup : TTaskGroup {
    Log* log;
    void NotifyEvent(const std::string& id) override { log->Add(id); }
  };
  Log log;
  RecordingGroup group;
  group.log = &log;
  Worker body;
  auto ends = std::make_unique<TSmartTask>();
  ends->ID("ends");
  auto waits = std::make_unique<TSmartTask>();
  waits->ID("waits");
  waits->OnExecuteEvent(std::ref(body));
  for (auto* t : {ends.get(), waits.get()}) t->TaskGroup = &group;
  group.AddTask(std::move(ends)).AddTask(std::move(waits));
  group.Start();
  EXPECT_FALSE(group.Active);
  ASSERT_TRUE(Pump([&] { return log.Has("TaskEnded"); }));
  ASSERT_TRUE(body.started.Wait());
  group.Stop();
  ASSERT_TRUE(Pump([&] { return log.Has("TaskStopped"); }));
  EXPECT_EQ(log.Events(), (std::vector<std::string>{"TaskEnded", "TaskStopped"}));
  EXPECT_TRUE(AllThreadsEnded());
}

}  // namespace
