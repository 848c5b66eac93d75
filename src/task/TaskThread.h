#pragma once
// The worker thread of one run of a task: it holds the run's own parameters and
// copies of the task's handlers, runs the execute handler, and reports the end
// of the run on the main thread, telling a stopped run from one that ended by itself.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "task/TaskParam.h"
#include "task/Thread.h"

namespace task {

class TSmartTask;
class TTaskGroup;
class TTaskManager;
class TTaskThread;

using TOnExecuteEvent = std::function<void(const TTaskThread& TaskThread)>;

class TTaskThread final : public TThread {
 public:
  explicit TTaskThread(bool CreateSuspended);
  ~TTaskThread() override;

  std::atomic<bool> Active{false};  // the run's go-on flag; handlers poll it
  bool UserStop = false;            // main thread only
  // Back-links, not owned. They are cleared when the task, its group or its
  // manager is destroyed before the run has been reported, so a run that
  // outlives them never reaches them.
  std::atomic<TSmartTask*> SmartTask{nullptr};
  std::atomic<TTaskGroup*> TaskGroup{nullptr};
  std::atomic<TTaskManager*> TaskManager{nullptr};
  TTaskParamList Parameters;

  TNotifyEvent fOnTerminatedEvent;
  TOnExecuteEvent fOnStopEvent;
  TOnExecuteEvent fOnExecuteEvent;
  TOnExecuteEvent fOnBeforeTerminatedEvent;

  // The end of the run, on the main thread while the worker waits.
  void OnTerminateEvent(TObject* Sender);
  // Names the thread "SmartTask".
  void SetID();
  // Moves every parameter of `Source` here, in order; `Source` ends up empty.
  void AssignParams(TTaskParamList& Source);

  void GetParam(const std::string& ID, std::string& Value) const;
  void GetParam(const std::string& ID, std::int32_t& Value) const;
  void GetParam(const std::string& ID, TObject*& Value) const;
  TTaskParam* GetParam(const std::string& ID) const;

 protected:
  void Execute() override;
};

}  // namespace task
