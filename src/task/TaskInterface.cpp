#include "task/TaskInterface.h"

#include <algorithm>
#include <memory>

namespace task {

template <typename T>
TTaskInterface& TTaskInterface::Set(const std::string& ID, const T& Value) {
  if (Running()) Stop();
  if (TTaskParam* param = FindParam(ST_PARAMS, ID)) {
    param->SetValue(ID, Value);
  } else {
    auto created = std::make_unique<TTaskParam>();
    created->SetValue(ID, Value);
    ST_PARAMS.push_back(std::move(created));
  }
  return *this;
}

TTaskInterface& TTaskInterface::SetParam(const std::string& ID, const std::string& Value) { return Set(ID, Value); }
TTaskInterface& TTaskInterface::SetParam(const std::string& ID, std::int32_t Value) { return Set(ID, Value); }
TTaskInterface& TTaskInterface::SetParam(const std::string& ID, TObject* Value) { return Set(ID, Value); }

TTaskInterface& TTaskInterface::Priority(TThreadPriority Value) {
  if (!Running()) ST_PRIORITY = Value;
  return *this;
}

TTaskInterface& TTaskInterface::OnExecuteEvent(TOnExecuteEvent ExecuteEvent) {
  fOnExecuteEvent = std::move(ExecuteEvent);
  return *this;
}
TTaskInterface& TTaskInterface::OnStopEvent(TOnExecuteEvent ExecuteEvent) {
  fOnStopEvent = std::move(ExecuteEvent);
  return *this;
}
TTaskInterface& TTaskInterface::OnTerminatedEvent(TNotifyEvent ExecuteEvent) {
  fOnTerminatedEvent = std::move(ExecuteEvent);
  return *this;
}
TTaskInterface& TTaskInterface::OnBeforeTerminatedEvent(TOnExecuteEvent ExecuteEvent) {
  fOnBeforeTerminatedEvent = std::move(ExecuteEvent);
  return *this;
}

TSmartTask::~TSmartTask() {
  for (TTaskThread* run : LiveRuns_) {
    run->SmartTask = nullptr;
    run->TaskGroup = nullptr;
    run->TaskManager = nullptr;
  }
}

void TSmartTask::Start() {
  if (TaskThread) Stop();

  auto run = std::make_unique<TTaskThread>(true);
  run->FreeOnTerminate = true;
  run->SmartTask = this;
  run->TaskGroup = TaskGroup;
  run->TaskManager = TaskManager;
  run->fOnTerminatedEvent = fOnTerminatedEvent;
  run->fOnStopEvent = fOnStopEvent;
  run->fOnExecuteEvent = fOnExecuteEvent;
  run->fOnBeforeTerminatedEvent = fOnBeforeTerminatedEvent;
  run->SetPriority(ST_PRIORITY);
  LiveRuns_.reserve(LiveRuns_.size() + 1);
  // AssignParams throws only before it moves anything, and nothing after it
  // throws: a failure anywhere above leaves the parameters with the task.
  run->AssignParams(ST_PARAMS);
  LiveRuns_.push_back(run.get());
  TaskThread = run.get();
  run->UserStop = false;
  run->Active = true;
  Active = true;
  run.release()->Resume();
}

void TSmartTask::Stop() {
  if (!Active) return;
  Active = false;
  if (TaskThread) {
    TaskThread->UserStop = true;
    TaskThread->Active = false;
    TaskThread->Terminate();
  }
  TaskThread = nullptr;
}

void TSmartTask::RunReported(TTaskThread& run) {
  std::erase(LiveRuns_, &run);
  if (TaskThread == &run) {
    Active = false;
    TaskThread = nullptr;
  }
}

}  // namespace task
