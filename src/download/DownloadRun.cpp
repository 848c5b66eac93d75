#include "download/DownloadRun.h"

std::mutex& DownloadRun::WriteGate() {
  static std::mutex gate;
  return gate;
}

void DownloadRun::Stop() {
  std::lock_guard gate(WriteGate());
  Working = false;
}
