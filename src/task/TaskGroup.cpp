#include "task/TaskGroup.h"

namespace task {

void TTaskGroup::Start() {
  for (auto& t : TaskList) t->Start();
}

void TTaskGroup::Stop() {
  for (auto& t : TaskList) t->Stop();
}

bool TTaskGroup::TaskExists(const std::string& TaskID) const {
  for (const auto& t : TaskList)
    if (t->ID() == TaskID) return true;
  return false;
}

TTaskGroup& TTaskGroup::AddTask(std::unique_ptr<TSmartTask>&& SmartTask) {
  if (SmartTask && !TaskExists(SmartTask->ID())) TaskList.push_back(std::move(SmartTask));
  return *this;
}

void TTaskGroup::NotifyEvent(const std::string&) {}

}  // namespace task
