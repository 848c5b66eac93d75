// Ctrl-C and SIGTERM: the first asks for a stop and wakes whoever waits, the
// second ends the process at once, and a signal the process was started with
// ignored stays ignored.

#include <gtest/gtest.h>
#include <poll.h>

#include <csignal>
#include <thread>

#include "cli/Interrupt.h"

namespace {

using namespace std::chrono_literals;

bool Readable(int fd) {
  pollfd watched{fd, POLLIN, 0};
  return poll(&watched, 1, 0) == 1 && (watched.revents & POLLIN);
}

// Each test starts from the default handling, whatever the test runner was
// started with (a background job may have SIGINT ignored), and puts back what it found.
class Interrupt : public testing::Test {
 protected:
  void SetUp() override {
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    for (int i = 0; i < 2; ++i) ASSERT_EQ(sigaction(kSignals[i], &byDefault, &Found[i]), 0);
  }
  void TearDown() override {
    for (int i = 0; i < 2; ++i) sigaction(kSignals[i], &Found[i], nullptr);
  }

  static constexpr int kSignals[2] = {SIGINT, SIGTERM};
  struct sigaction Found[2] {};
};

TEST_F(Interrupt, FirstSignalAsksForAStop) {
  for (const int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    cli::TInterrupt interrupt;
    EXPECT_FALSE(interrupt.StopRequested());
    EXPECT_EQ(interrupt.StopSignal(), 0);
    EXPECT_FALSE(Readable(interrupt.NotifyFd()));
    EXPECT_FALSE(interrupt.WaitForStop(0ms));
    EXPECT_FALSE(interrupt.WaitForStop(-5ms));

    ASSERT_EQ(raise(signal), 0);
    EXPECT_TRUE(interrupt.StopRequested());
    EXPECT_EQ(interrupt.StopSignal(), signal);
    // Readable for every watcher, and it stays so.
    EXPECT_TRUE(Readable(interrupt.NotifyFd()));
    EXPECT_TRUE(Readable(interrupt.NotifyFd()));
    EXPECT_TRUE(interrupt.WaitForStop(0ms));
  }
}

TEST_F(Interrupt, WakesAThreadThatWaits) {
  cli::TInterrupt interrupt;
  bool stopped = false;
  const auto start = std::chrono::steady_clock::now();
  // Far beyond the signal: a lost wake-up would show as a wait to the bound.
  std::thread waiter([&] { stopped = interrupt.WaitForStop(120s); });
  ASSERT_EQ(raise(SIGINT), 0);
  waiter.join();
  EXPECT_TRUE(stopped);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 60s);
  // The longest bound is no overflow.
  EXPECT_TRUE(interrupt.WaitForStop(std::chrono::milliseconds::max()));
}

TEST_F(Interrupt, AnotherObjectStartsAfresh) {
  { cli::TInterrupt first; }
  {
    cli::TInterrupt first;
    raise(SIGTERM);
    EXPECT_TRUE(first.StopRequested());
    EXPECT_THROW(cli::TInterrupt second, std::logic_error);
  }
  cli::TInterrupt next;
  EXPECT_FALSE(next.StopRequested());
  EXPECT_FALSE(next.WaitForStop(1ms));
}

TEST_F(Interrupt, LeavesAnIgnoredSignalIgnoredAndPutsBackTheFormerHandling) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ASSERT_EQ(sigaction(SIGTERM, &ignore, nullptr), 0);
  {
    cli::TInterrupt interrupt;
    raise(SIGTERM);
    EXPECT_FALSE(interrupt.StopRequested());
    raise(SIGINT);
    EXPECT_EQ(interrupt.StopSignal(), SIGINT);
  }
  struct sigaction now {};
  sigaction(SIGINT, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);
  sigaction(SIGTERM, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_IGN);
}

using InterruptDeathTest = Interrupt;

TEST_F(InterruptDeathTest, SecondSignalEndsTheProcessAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        cli::TInterrupt interrupt;
        raise(SIGINT);
        raise(SIGTERM);
        std::fputs("still running\n", stderr);
      },
      testing::ExitedWithCode(cli::TInterrupt::kExitAtOnce), "^$");
}

}  // namespace
