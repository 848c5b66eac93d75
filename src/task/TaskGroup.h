#pragma once
// A list of tasks started and stopped together. The group owns its tasks; it
// has no thread of its own.

#include <memory>
#include <string>
#include <vector>

#include "task/TaskInterface.h"

namespace task {

class TTaskGroup : public TTaskInterface {
 public:
  TTaskGroup() = default;
  ~TTaskGroup() override = default;  // frees every task in TaskList

  std::vector<std::unique_ptr<TSmartTask>> TaskList;

  void Start() override;
  void Stop() override;
  bool TaskExists(const std::string& TaskID) const;
  // Takes the task when no task of the group has its id; otherwise the group
  // stays as it was and the caller keeps the task (`SmartTask` is not moved from).
  TTaskGroup& AddTask(std::unique_ptr<TSmartTask>&& SmartTask);
  // A run of a task whose TaskGroup is this group reports "TaskStopped" or
  // "TaskEnded" here, on the main thread. The group itself acts on neither;
  // a group that wants to can override this.
  virtual void NotifyEvent(const std::string& EventID);
};

}  // namespace task
