// One run of a task, from Start to its report on the main thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <stdexcept>

#if defined(__linux__)
#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include "task/TaskTestSupport.h"

using namespace task;
using namespace tasktest;

namespace {

class TaskRun : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(AllThreadsEnded()); }
  TSmartTask task;
  Log log;
};

TEST_F(TaskRun, EndsOnTheTerminatedPathWithTheThreadAsSender) {
  const TTaskThread* executed = nullptr;
  TObject* sender = nullptr;
  std::atomic<bool> ranOnWorker{false};
  task.OnExecuteEvent([&](const TTaskThread& t) {
        executed = &t;
        ranOnWorker = !IsMainThread();
        log.Add("execute");
      })
      .OnBeforeTerminatedEvent([&](const TTaskThread&) { log.Add("before"); })
      .OnStopEvent([&](const TTaskThread&) { log.Add("stop"); })
      .OnTerminatedEvent([&](TObject* s) {
        sender = s;
        log.Add(IsMainThread() ? "terminated on main" : "terminated elsewhere");
      });
  task.Start();
  EXPECT_TRUE(task.Active);
  ASSERT_TRUE(Pump([&] { return log.Has("terminated on main"); }));
  EXPECT_EQ(log.Events(), (std::vector<std::string>{"execute", "before", "terminated on main"}));
  EXPECT_TRUE(ranOnWorker);
  EXPECT_EQ(sender, executed);
  EXPECT_FALSE(task.Active);
  EXPECT_EQ(task.Thread(), nullptr);
}

TEST_F(TaskRun, ExceptionInExecuteStillRunsBeforeTerminatedAndTheTerminatedPath) {
  task.OnExecuteEvent([&](const TTaskThread&) { throw std::runtime_error("boom"); })
      .OnBeforeTerminatedEvent([&](const TTaskThread&) { log.Add("before"); })
      .OnTerminatedEvent([&](TObject*) { log.Add("terminated"); });
  task.Start();
  ASSERT_TRUE(Pump([&] { return log.Has("terminated"); }));
  EXPECT_EQ(log.Events(), (std::vector<std::string>{"before", "terminated"}));
}

TEST_F(TaskRun, ExceptionsInTheEndHandlersReachNoOne) {
  task.OnBeforeTerminatedEvent([&](const TTaskThread&) { throw 1; })
      .OnTerminatedEvent([&](TObject*) {
        log.Add("terminated");
        throw std::runtime_error("late");
      });
  task.Start();
  ASSERT_TRUE(Pump([&] { return log.Has("terminated"); }));
  EXPECT_FALSE(task.Active);
}

TEST_F(TaskRun, StoppedRunEndsOnTheStopPathOnly) {
  Gate started;
  const TTaskThread* stoppedThread = nullptr;
  const TTaskThread* runThread = nullptr;
  task.OnExecuteEvent([&](const TTaskThread& t) {
        runThread = &t;
        started.Open();
        Poll([&] { return !t.Active; });
      })
      .OnBeforeTerminatedEvent([&](const TTaskThread&) { log.Add("before"); })
      .OnTerminatedEvent([&](TObject*) { log.Add("terminated"); })
      .OnStopEvent([&](const TTaskThread& t) {
        stoppedThread = &t;
        log.Add(t.UserStop ? "stop" : "stop without UserStop");
      });
  task.Start();
  ASSERT_TRUE(started.Wait());
  task.Stop();
  EXPECT_FALSE(task.Active);
  EXPECT_EQ(task.Thread(), nullptr);
  ASSERT_TRUE(Pump([&] { return log.Has("stop"); }));
  EXPECT_EQ(log.Events(), (std::vector<std::string>{"before", "stop"}));
  EXPECT_EQ(stoppedThread, runThread);
}

TEST_F(TaskRun, RunStoppedBeforeItsThreadBeganSkipsBothWorkerHandlers) {
  // Kept by the test (not freed on terminate) so UserStop can be read afterwards.
  auto thread = std::make_unique<TTaskThread>(true);
  thread->fOnExecuteEvent = [&](const TTaskThread&) { log.Add("execute"); };
  thread->fOnBeforeTerminatedEvent = [&](const TTaskThread&) { log.Add("before"); };
  thread->fOnStopEvent = [&](const TTaskThread&) { log.Add("stop"); };
  thread->fOnTerminatedEvent = [&](TObject*) { log.Add("terminated"); };
  thread->UserStop = true;
  thread->Terminate();
  thread->Resume();
  ASSERT_TRUE(Pump([&] { return log.Has("stop"); }));
  EXPECT_EQ(log.Events(), std::vector<std::string>{"stop"});
  EXPECT_FALSE(thread->UserStop);
  EXPECT_FALSE(thread->Active);
}

TEST_F(TaskRun, TaskAlreadyReadsIdleInsideTheTerminatedHandler) {
  bool activeInside = true;
  bool started = false;
  task.OnTerminatedEvent([&](TObject*) { activeInside = task.Active; });
  task.Start();
  ASSERT_TRUE(Pump([&] { return !task.Active; }));
  EXPECT_FALSE(activeInside);
  // A terminated handler may start the task again: the hand-over from one stage to the next.
  task.OnTerminatedEvent([&](TObject*) {
    if (!started) {
      started = true;
      task.OnTerminatedEvent([&](TObject*) { log.Add("second run ended"); });
      task.Start();
    }
  });
  task.Start();
  ASSERT_TRUE(Pump([&] { return log.Has("second run ended"); }));
}

TEST_F(TaskRun, ThreadsAreNamedSmartTask) {
#if defined(__linux__)
  char name[32] = {};
  task.OnExecuteEvent([&](const TTaskThread&) { pthread_getname_np(pthread_self(), name, sizeof name); })
      .OnTerminatedEvent([&](TObject*) { log.Add("done"); });
  task.Start();
  ASSERT_TRUE(Pump([&] { return log.Has("done"); }));
  EXPECT_STREQ(name, "SmartTask");
#else
  GTEST_SKIP() << "thread names are read back on Linux only";
#endif
}

TEST_F(TaskRun, PriorityMapsOntoTheSchedulersNiceValue) {
#if defined(__linux__)
  struct Case {
    TThreadPriority priority;
    int nice;
  };
  // Lowering needs no privilege; raising is checked only where the process may.
  std::vector<Case> cases{{TThreadPriority::tpLowest, 10}, {TThreadPriority::tpLower, 5}, {TThreadPriority::tpNormal, 0}};
  if (geteuid() == 0) cases.push_back({TThreadPriority::tpHighest, -10});
  for (const Case& c : cases) {
    std::atomic<int> seen{99};
    task.Priority(c.priority).OnExecuteEvent([&](const TTaskThread&) {
      seen = getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
    });
    task.Start();
    ASSERT_TRUE(Pump([&] { return !task.Active; }));
    EXPECT_EQ(seen, c.nice) << static_cast<int>(c.priority);
  }
#else
  GTEST_SKIP() << "priorities are read back on Linux only";
#endif
}

}  // namespace
