#pragma once
// The registry of named tasks: creates or finds a task by id, stops one, some
// or all. It owns every task it created. Main thread only.

#include <memory>
#include <string>
#include <vector>

#include "task/TaskInterface.h"

namespace task {

class TTaskManager : public TObject {
 public:
  TTaskManager() = default;
  // Stops every task, then frees them; does not wait for their threads
  // (their runs are detached from the freed tasks).
  ~TTaskManager() override;

  std::vector<std::unique_ptr<TSmartTask>> TM_TASK_LIST;

  bool GetTask(const std::string& ID, TSmartTask*& SmartTask) const;
  // The task with this id, created on first use.
  TSmartTask& CreateTask(const std::string& TaskID);
  bool TaskActive(const std::string& TaskID) const;
  void StopTask(const std::string& TaskID);
  void StopTasks();
  void StopTasks(const std::vector<std::string>& TaskIDs);
};

}  // namespace task
