// Runs that outlive what started them: superseded runs, and tasks, groups and
// managers destroyed while a run's thread is still winding down.
#include <gtest/gtest.h>

#include <atomic>

#include "task/TaskTestSupport.h"

using namespace task;
using namespace tasktest;

namespace {

struct Supersede {
  const char* name;
  void (*newRun)(TSmartTask&);
};

class SupersededRun : public ::testing::TestWithParam<Supersede> {};

TEST_P(SupersededRun, LateEndOfTheOldRunLeavesTheNewRunsStateAlone) {
  TTaskManager manager;
  TSmartTask& t = manager.CreateTask("LoadTask1");
  Gate firstStarted, secondStarted, releaseFirst;
  std::atomic<int> runs{0};
  std::atomic<const TTaskThread*> secondThread{nullptr};
  Log log;
  t.OnExecuteEvent([&](const TTaskThread& th) {
     if (++runs == 1) {
       firstStarted.Open();
       Poll([&] { return !th.Active; });
       releaseFirst.Wait();  // still winding down while the new run begins
     } else {
       secondThread = &th;
       secondStarted.Open();
       Poll([&] { return !th.Active; });
     }
   })
      .OnStopEvent([&](const TTaskThread& th) { log.Add(&th == secondThread ? "second stopped" : "first stopped"); });
  t.Start();
  ASSERT_TRUE(firstStarted.Wait());
  GetParam().newRun(t);
  ASSERT_TRUE(secondStarted.Wait());

  releaseFirst.Open();
  ASSERT_TRUE(Pump([&] { return log.Has("first stopped"); }));
  EXPECT_TRUE(t.Active);
  EXPECT_TRUE(manager.TaskActive("LoadTask1"));
  EXPECT_EQ(t.Thread(), secondThread.load());

  // So the new run can still be stopped.
  manager.StopTasks();
  ASSERT_TRUE(Pump([&] { return log.Has("second stopped"); }));
  EXPECT_FALSE(t.Active);
  EXPECT_TRUE(AllThreadsEnded());
}

INSTANTIATE_TEST_SUITE_P(
    Engine, SupersededRun,
    ::testing::Values(Supersede{"StartRightAfterStop",
                                [](TSmartTask& t) {
                                  t.Stop();
                                  t.Start();
                                }},
                      Supersede{"StartOnARunningTask", [](TSmartTask& t) { t.Start(); }},
                      Supersede{"StartAfterSetParamStopped",
                                [](TSmartTask& t) {
                                  t.SetParam("Start", 1);
                                  t.Start();
                                }}),
    [](const auto& info) { return std::string(info.param.name); });

// A run that has been told to stop and is held on its way out until released.
struct WindingDown {
  explicit WindingDown(Log* l) : log(l) {}
  Gate started, release;
  Log* log;
  TOnExecuteEvent Body() {
    return [this](const TTaskThread& th) {
      started.Open();
      Poll([&] { return !th.Active; });
      release.Wait();
      log->Add(th.SmartTask.load() == nullptr ? "detached" : "still linked");
    };
  }
};

TEST(TaskLifetime, DestroyingAManagerDetachesItsWindingDownRuns) {
  Log log;
  WindingDown run(&log);
  std::atomic<bool> handlerRan{false};
  {
    TTaskManager manager;
    manager.CreateTask("LoadTask1")
        .OnExecuteEvent(run.Body())
        .OnStopEvent([&](const TTaskThread& th) {
          handlerRan = true;
          log.Add(th.TaskManager.load() == nullptr ? "stop handler, no manager" : "stop handler, manager");
        })
        .Start();
    ASSERT_TRUE(run.started.Wait());
  }  // stops its tasks and frees them without waiting
  EXPECT_EQ(LiveThreadCount(), 1);
  run.release.Open();
  ASSERT_TRUE(AllThreadsEnded());
  EXPECT_EQ(log.Events(), (std::vector<std::string>{"detached", "stop handler, no manager"}));
}

TEST(TaskLifetime, DestroyingAGroupDetachesTheRunsOfItsTasks) {
  struct CountingGroup : TTaskGroup {
    std::atomic<int>* notices;
    void NotifyEvent(const std::string&) override { ++*notices; }
  };
  Log log;
  WindingDown run(&log);
  std::atomic<int> notices{0};
  {
    CountingGroup group;
    group.notices = &notices;
    auto t = std::make_unique<TSmartTask>();
    t->ID("member");
    t->TaskGroup = &group;
    t->OnExecuteEvent(run.Body());
    group.AddTask(std::move(t));
    group.Start();
    ASSERT_TRUE(run.started.Wait());
    group.Stop();
  }
  run.release.Open();
  ASSERT_TRUE(AllThreadsEnded());
  EXPECT_EQ(log.Events(), std::vector<std::string>{"detached"});
  EXPECT_EQ(notices, 0);
}

TEST(TaskLifetime, AFreeStandingTaskDestroyedWhileItsRunGoesOnIsNeverReached) {
  Log log;
  WindingDown run(&log);
  auto thumbnails = std::make_unique<TSmartTask>();
  thumbnails->OnExecuteEvent(run.Body()).OnTerminatedEvent([&](TObject*) { log.Add("terminated"); });
  thumbnails->Start();
  ASSERT_TRUE(run.started.Wait());
  thumbnails->Stop();
  thumbnails.reset();
  run.release.Open();
  ASSERT_TRUE(AllThreadsEnded());
  EXPECT_EQ(log.Events(), std::vector<std::string>{"detached"});
}

TEST(TaskLifetime, ShutDownWaitIsBoundedAndServesTheQueueMeanwhile) {
  Gate release;
  std::atomic<bool> handedOver{false};
  auto t = std::make_unique<TSmartTask>();
  t->OnExecuteEvent([&](const TTaskThread&) {
    // A worker hands a change to the main thread while shut-down waits.
    Synchronize([&] { handedOver = true; });
    release.Wait();
  });
  t->Start();
  EXPECT_FALSE(WaitForTaskThreads(std::chrono::milliseconds(50)));
  EXPECT_TRUE(handedOver);
  EXPECT_EQ(LiveThreadCount(), 1);
  t->Stop();
  t.reset();
  release.Open();
  EXPECT_TRUE(AllThreadsEnded());
  EXPECT_EQ(LiveThreadCount(), 0);
}

}  // namespace
