#pragma once
// What the retry loops and the discovery need of the window: the run's Working
// flag, the application's terminating flag, the flag of the work the fetches
// serve, and the fetch settings.

#include <atomic>

#include "site/Fetch.h"

namespace site {

struct TRunContext {
  const std::atomic<bool>& Working;      // true while a download run goes on: failed tries are repeated
  const std::atomic<bool>& Terminating;  // true once the application shuts down
  TFetchOptions Fetch;
  // The flag of the work these fetches serve (a run's own Working, a pass's
  // thread Active). Once it is false the loops end and a fetch in progress
  // gives up within one poll slice. None: only Terminating ends a fetch early.
  const std::atomic<bool>* Alive = nullptr;

  TFetchStop Stop() const { return {Terminating, Alive}; }
  bool Stopped() const { return Alive && !Alive->load(); }
};

}  // namespace site
