#include "cli/Interrupt.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <stdexcept>
#include <system_error>

namespace cli {

namespace {

// Shared with the handler, which may run on any thread at any moment: only
// lock-free atomics, and only async-signal-safe calls in it.
std::atomic<int> StopSignalSeen{0};
std::atomic<int> WriteFd{-1};
std::atomic<bool> Installed{false};
static_assert(std::atomic<int>::is_always_lock_free);

constexpr int kSignals[] = {SIGINT, SIGTERM};
struct sigaction Former[std::size(kSignals)];
bool Handled[std::size(kSignals)];

extern "C" void OnSignal(int signal) {
  int none = 0;
  if (!StopSignalSeen.compare_exchange_strong(none, signal)) _exit(TInterrupt::kExitAtOnce);
  const int savedErrno = errno;
  const char byte = 1;
  // Non-blocking, and written once: it cannot fill the pipe.
  [[maybe_unused]] const ssize_t written = write(WriteFd.load(), &byte, 1);
  errno = savedErrno;
}

void SetFlags(int fd, int command, int getCommand, int flags) {
  if (fcntl(fd, command, fcntl(fd, getCommand) | flags) == -1)
    throw std::system_error(errno, std::generic_category(), "fcntl");
}

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

TInterrupt::TInterrupt() {
  if (Installed.exchange(true)) throw std::logic_error("TInterrupt: one object at a time");
  int fds[2];
  if (pipe(fds) == -1) {
    Installed = false;
    throw std::system_error(errno, std::generic_category(), "pipe");
  }
  try {
    for (const int fd : fds) {
      SetFlags(fd, F_SETFL, F_GETFL, O_NONBLOCK);
      SetFlags(fd, F_SETFD, F_GETFD, FD_CLOEXEC);
    }
  } catch (...) {
    close(fds[0]);
    close(fds[1]);
    Installed = false;
    throw;
  }
  ReadFd_ = fds[0];
  WriteFd = fds[1];
  StopSignalSeen = 0;

  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // Fetches and file writes go on undisturbed; the pipe wakes whoever waits.
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    sigaction(kSignals[i], nullptr, &Former[i]);
    Handled[i] = Former[i].sa_handler != SIG_IGN;
    if (Handled[i]) sigaction(kSignals[i], &action, nullptr);
  }
}

TInterrupt::~TInterrupt() {
  for (std::size_t i = 0; i < std::size(kSignals); ++i)
    if (Handled[i]) sigaction(kSignals[i], &Former[i], nullptr);
  close(WriteFd.exchange(-1));
  close(ReadFd_);
  Installed = false;
}

bool TInterrupt::StopRequested() const { return StopSignalSeen.load() != 0; }

int TInterrupt::StopSignal() const { return StopSignalSeen.load(); }

bool TInterrupt::WaitForStop(std::chrono::milliseconds bound) const {
  const long long start = NowMs();
  // The longest bound waits as long as the clock goes, with no overflow.
  const long long end = bound.count() > LLONG_MAX - start ? LLONG_MAX : start + std::max<long long>(bound.count(), 0);
  while (!StopRequested()) {
    const long long left = end - NowMs();
    if (left <= 0) break;
    pollfd watched{ReadFd_, POLLIN, 0};
    // A signal handled on this very thread cuts the poll short (EINTR); the loop looks again.
    if (poll(&watched, 1, int(std::min<long long>(left, INT_MAX))) == -1 && errno != EINTR) break;
  }
  return StopRequested();
}

}  // namespace cli
