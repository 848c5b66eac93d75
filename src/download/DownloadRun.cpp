#include "download/DownloadRun.h"

namespace download {

std::mutex& TDownloadRun::WriteGate() {
  static std::mutex gate;
  return gate;
}

void TDownloadRun::Stop() {
  std::lock_guard gate(WriteGate());
  Working = false;
}

}  // namespace download
