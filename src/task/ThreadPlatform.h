#pragma once
// The platform's side of a thread: naming and scheduling priority.
#include <thread>

#include "task/Thread.h"

namespace task::platform {

// Id of the calling OS thread as the scheduler knows it (0 where there is none).
long CurrentThreadId();
// Gives a thread a name for debuggers and process viewers; failures are ignored.
void NameThread(std::thread& thread, const char* name);
// Applies a priority to the OS thread `osThreadId`; a level the process may
// not take (raising needs privileges on Linux) is ignored.
void ApplyPriority(long osThreadId, TThreadPriority priority);

}  // namespace task::platform
