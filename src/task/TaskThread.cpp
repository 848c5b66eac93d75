#include "task/TaskThread.h"

#include "task/TaskGroup.h"
#include "task/TaskInterface.h"

namespace task {

TTaskThread::TTaskThread(bool CreateSuspended) {
  SetID();
  OnTerminate = [this](TObject* Sender) { OnTerminateEvent(Sender); };
  if (!CreateSuspended) Resume();
}

TTaskThread::~TTaskThread() { EndBeforeDestruction(); }

void TTaskThread::SetID() { SetName("SmartTask"); }

void TTaskThread::AssignParams(TTaskParamList& Source) {
  Parameters.clear();
  Parameters.reserve(Source.size());
  for (auto& param : Source) Parameters.push_back(std::move(param));
  Source.clear();
}

void TTaskThread::GetParam(const std::string& ID, std::string& Value) const { ReadParam(Parameters, ID, Value); }
void TTaskThread::GetParam(const std::string& ID, std::int32_t& Value) const { ReadParam(Parameters, ID, Value); }
void TTaskThread::GetParam(const std::string& ID, TObject*& Value) const { ReadParam(Parameters, ID, Value); }
TTaskParam* TTaskThread::GetParam(const std::string& ID) const { return FindParam(Parameters, ID); }

void TTaskThread::Execute() {
  // A handler's exception ends that handler and nothing else.
  if (fOnExecuteEvent) {
    try {
      fOnExecuteEvent(*this);
    } catch (...) {
    }
  }
  if (fOnBeforeTerminatedEvent) {
    try {
      fOnBeforeTerminatedEvent(*this);
    } catch (...) {
    }
  }
}

void TTaskThread::OnTerminateEvent(TObject* Sender) {
  // Only the task's current run may mark the task idle: a run that was stopped
  // and superseded by a newer one leaves the newer run's state alone.
  if (TSmartTask* task = SmartTask.load()) task->RunReported(*this);
  Active = false;

  // Handlers may destroy the task, its group or its manager; the back-links are
  // read afresh after each of them.
  if (UserStop) {
    try {
      if (fOnStopEvent) fOnStopEvent(*this);
      if (TTaskGroup* group = TaskGroup.load()) group->NotifyEvent("TaskStopped");
    } catch (...) {
    }
    UserStop = false;
  } else {
    try {
      if (fOnTerminatedEvent) fOnTerminatedEvent(Sender);
    } catch (...) {
    }
    try {
      if (TTaskGroup* group = TaskGroup.load()) group->NotifyEvent("TaskEnded");
    } catch (...) {
    }
  }
}

}  // namespace task
