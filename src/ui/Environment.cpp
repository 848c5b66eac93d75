#include "ui/Environment.h"

namespace ui {

TEnvironment CompiledEnvironment(const QString& dir, TPlatform& platform) {
  TEnvironment environment;
  environment.Dir = dir;
  environment.Site = site::TSiteUrls();
  environment.MakerWebAddress = "www.tamro.example";
  environment.DonationPageUrl = "http://www.tamro.example/donate";
  environment.Platform = &platform;
  return environment;
}

}  // namespace ui
