#include "task/TaskManager.h"

namespace task {

TTaskManager::~TTaskManager() {
  StopTasks();
  TM_TASK_LIST.clear();
}

bool TTaskManager::GetTask(const std::string& ID, TSmartTask*& SmartTask) const {
  SmartTask = nullptr;
  for (const auto& t : TM_TASK_LIST) {
    if (t->ID() == ID) {
      SmartTask = t.get();
      return true;
    }
  }
  return false;
}

TSmartTask& TTaskManager::CreateTask(const std::string& TaskID) {
  TSmartTask* found = nullptr;
  if (GetTask(TaskID, found)) return *found;
  auto created = std::make_unique<TSmartTask>();
  created->ID(TaskID);
  created->TaskManager = this;
  TM_TASK_LIST.push_back(std::move(created));
  return *TM_TASK_LIST.back();
}

bool TTaskManager::TaskActive(const std::string& TaskID) const {
  for (const auto& t : TM_TASK_LIST)
    if (t->ID() == TaskID && t->Active) return true;
  return false;
}

void TTaskManager::StopTask(const std::string& TaskID) {
  TSmartTask* found = nullptr;
  if (GetTask(TaskID, found)) found->Stop();
}

void TTaskManager::StopTasks() {
  for (auto& t : TM_TASK_LIST) t->Stop();
}

void TTaskManager::StopTasks(const std::vector<std::string>& TaskIDs) {
  for (const auto& id : TaskIDs) StopTask(id);
}

}  // namespace task
