#include "task/ThreadPlatform.h"

#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace task::platform {

#if defined(__linux__)

long CurrentThreadId() { return static_cast<long>(::syscall(SYS_gettid)); }

void NameThread(std::thread& thread, const char* name) {
  (void)::pthread_setname_np(thread.native_handle(), name);
}

namespace {
// Linux schedules ordinary threads by their nice value; the idle level has a
// policy of its own.
int NiceFor(TThreadPriority priority) {
  switch (priority) {
    case TThreadPriority::tpIdle: return 19;
    case TThreadPriority::tpLowest: return 10;
    case TThreadPriority::tpLower: return 5;
    case TThreadPriority::tpNormal: return 0;
    case TThreadPriority::tpHigher: return -5;
    case TThreadPriority::tpHighest: return -10;
    case TThreadPriority::tpTimeCritical: return -20;
  }
  return 0;
}
}  // namespace

void ApplyPriority(long osThreadId, TThreadPriority priority) {
  if (osThreadId <= 0) return;
  const sched_param param{};
  const int policy = priority == TThreadPriority::tpIdle ? SCHED_IDLE : SCHED_OTHER;
  (void)::sched_setscheduler(static_cast<pid_t>(osThreadId), policy, &param);
  (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(osThreadId), NiceFor(priority));
}

#else

long CurrentThreadId() { return 0; }
void NameThread(std::thread&, const char*) {}
void ApplyPriority(long, TThreadPriority) {}

#endif

}  // namespace task::platform
