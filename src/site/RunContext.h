#pragma once
// What the retry loops and the discovery need of the window: the run's Working
// flag, the application's terminating flag and the fetch settings.

#include <atomic>

#include "site/Fetch.h"

namespace site {

struct TRunContext {
  const std::atomic<bool>& Working;      // true while a download run goes on
  const std::atomic<bool>& Terminating;  // true once the application shuts down
  TFetchOptions Fetch;
};

}  // namespace site
