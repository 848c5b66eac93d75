#include "ChildLauncher.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <type_traits>

namespace bench {

namespace {

// A request: this head, then Strings times a length and its bytes: the output
// file, then the program's argv. The answer is a TChildRun as it lies in memory:
// both ends are the same program.
struct TRequestHead {
  std::int64_t BoundMs = 0;
  std::uint32_t Strings = 0;
};
static_assert(std::is_trivially_copyable_v<TChildRun>);

bool WriteAll(int fd, const void* data, size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= size_t(n);
  }
  return true;
}

bool ReadAll(int fd, void* data, size_t size) {
  char* p = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = read(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    size -= size_t(n);
  }
  return true;
}

double Seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

// In the grandchild: never returns.
[[noreturn]] void Exec(const std::vector<std::string>& argv, const std::string& outputFile) {
  const int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (out < 0 || dup2(out, STDOUT_FILENO) < 0 || dup2(out, STDERR_FILENO) < 0) _exit(127);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execv(args[0], args.data());
  _exit(127);
}

TChildRun RunOne(const std::vector<std::string>& argv, const std::string& outputFile,
                 std::chrono::milliseconds bound) {
  TChildRun run;
  run.Start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) {
    run.End = run.Start;
    return run;
  }
  if (pid == 0) Exec(argv, outputFile);

  // The bound is kept with a pidfd, which becomes readable when the child ends;
  // wait4 then reaps it with its own usage. (Debian 12's <sys/pidfd.h> lacks
  // C linkage, hence the system call itself.)
  const int pidFd = int(syscall(SYS_pidfd_open, pid, 0));
  int ready = 0;
  if (pidFd >= 0) {
    pollfd p{pidFd, POLLIN, 0};
    do ready = poll(&p, 1, int(bound.count()));
    while (ready < 0 && errno == EINTR);
    close(pidFd);
  }
  run.Ended = ready > 0;
  if (!run.Ended) kill(pid, SIGKILL);
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  run.End = std::chrono::steady_clock::now();
  if (WIFEXITED(status)) run.ExitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.Signal = WTERMSIG(status);
  run.CpuS = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  run.PeakRssMb = double(usage.ru_maxrss) / 1024;  // KiB on Linux
  return run;
}

// The launcher's loop: one program per request, until the benchmark closes its end.
[[noreturn]] void Serve(int requestFd, int resultFd) {
  for (;;) {
    TRequestHead head;
    if (!ReadAll(requestFd, &head, sizeof head)) _exit(0);
    std::vector<std::string> strings(head.Strings);
    for (std::string& s : strings) {
      std::uint32_t size = 0;
      if (!ReadAll(requestFd, &size, sizeof size)) _exit(1);
      s.resize(size);
      if (!ReadAll(requestFd, s.data(), size)) _exit(1);
    }
    if (strings.size() < 2) _exit(1);
    const std::string outputFile = strings.front();
    strings.erase(strings.begin());
    const TChildRun run = RunOne(strings, outputFile, std::chrono::milliseconds(head.BoundMs));
    if (!WriteAll(resultFd, &run, sizeof run)) _exit(1);
  }
}

}  // namespace

TChildLauncher::TChildLauncher() {
  int request[2], result[2];
  if (pipe2(request, O_CLOEXEC) != 0) throw std::runtime_error("no pipe for the launcher");
  if (pipe2(result, O_CLOEXEC) != 0) {
    close(request[0]);
    close(request[1]);
    throw std::runtime_error("no pipe for the launcher");
  }
  Launcher_ = fork();
  if (Launcher_ == 0) {
    close(request[1]);
    close(result[0]);
    Serve(request[0], result[1]);
  }
  close(request[0]);
  close(result[1]);
  RequestFd_ = request[1];
  ResultFd_ = result[0];
  if (Launcher_ < 0) {
    close(RequestFd_);
    close(ResultFd_);
    throw std::runtime_error("the launcher could not be forked");
  }
}

TChildLauncher::~TChildLauncher() {
  close(RequestFd_);  // the launcher reads the end of its requests and exits
  close(ResultFd_);
  while (waitpid(Launcher_, nullptr, 0) < 0 && errno == EINTR) {
  }
}

TChildRun TChildLauncher::Run(const std::vector<std::string>& argv, const std::string& outputFile,
                              std::chrono::milliseconds bound) {
  std::vector<const std::string*> strings{&outputFile};
  for (const std::string& a : argv) strings.push_back(&a);
  const TRequestHead head{bound.count(), std::uint32_t(strings.size())};
  bool sent = WriteAll(RequestFd_, &head, sizeof head);
  for (const std::string* s : strings) {
    const auto size = std::uint32_t(s->size());
    sent = sent && WriteAll(RequestFd_, &size, sizeof size) && WriteAll(RequestFd_, s->data(), size);
  }
  TChildRun run;
  if (!sent || !ReadAll(ResultFd_, &run, sizeof run)) throw std::runtime_error("the launcher did not answer");
  return run;
}

}  // namespace bench
