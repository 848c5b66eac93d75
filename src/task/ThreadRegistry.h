#pragma once
// Bookkeeping of live task threads, kept beside the main-thread queue so that a
// shut-down wait wakes both for queued calls and for threads that end.

namespace task::detail {

void ThreadStarted();  // a thread object was created
void ThreadEnded();    // its OS thread has done its last step

}  // namespace task::detail
