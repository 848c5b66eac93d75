#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "task/TaskTestSupport.h"

using namespace task;
using namespace tasktest;

namespace {

TEST(MainThreadQueue, SynchronizeOnTheMainThreadRunsAtOnce) {
  bool ran = false;
  Synchronize([&] { ran = true; });
  EXPECT_TRUE(ran);
  EXPECT_FALSE(CheckSynchronize());
}

TEST(MainThreadQueue, WorkersBlockUntilTheMainThreadHasRunTheirCalls) {
  constexpr int kWorkers = 8, kCalls = 50;
  std::vector<std::thread::id> ranOn;
  std::atomic<int> returned{0};
  std::atomic<int> wakeUps{0};
  SetWakeUpHook([&] { ++wakeUps; });
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back([&] {
      for (int i = 0; i < kCalls; ++i) {
        bool done = false;
        Synchronize([&] {
          ranOn.push_back(std::this_thread::get_id());  // main thread only: no lock needed
          done = true;
        });
        EXPECT_TRUE(done);  // the call has run by the time Synchronize returns
        ++returned;
      }
    });
  }
  ASSERT_TRUE(Pump([&] { return returned == kWorkers * kCalls; }));
  for (auto& w : workers) w.join();
  SetWakeUpHook({});
  EXPECT_EQ(ranOn.size(), static_cast<size_t>(kWorkers * kCalls));
  for (auto id : ranOn) EXPECT_EQ(id, std::this_thread::get_id());
  // At least one wake-up, and never more than one per call.
  EXPECT_GE(wakeUps, 1);
  EXPECT_LE(wakeUps, kWorkers * kCalls);
}

TEST(MainThreadQueue, ACallsExceptionReturnsToTheWorkerThatMadeIt) {
  std::atomic<bool> caught{false};
  std::thread worker([&] {
    try {
      Synchronize([] { throw std::runtime_error("from the main thread"); });
    } catch (const std::runtime_error&) {
      caught = true;
    }
  });
  ASSERT_TRUE(Pump([&] { return caught.load(); }));
  worker.join();
}

}  // namespace
