#pragma once
// A task: a reusable, named description of a unit of work (id, parameters,
// priority, handlers). Each Start begins a run on a fresh TTaskThread.
// Every operation here belongs to the main thread.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "task/TaskParam.h"
#include "task/TaskThread.h"

namespace task {

class TTaskGroup;
class TTaskManager;

class TTaskInterface : public TObject {
 public:
  TTaskInterface() = default;
  ~TTaskInterface() override = default;

  std::string ST_ID;
  TTaskParamList ST_PARAMS;  // for the next run, in the order first set
  TThreadPriority ST_PRIORITY = TThreadPriority::tpNormal;
  TNotifyEvent fOnTerminatedEvent;
  TOnExecuteEvent fOnStopEvent;
  TOnExecuteEvent fOnExecuteEvent;
  TOnExecuteEvent fOnBeforeTerminatedEvent;
  std::atomic<bool> Active{false};
  // The current run's thread, not owned. Valid while Active; cleared when the
  // run is stopped or reported.
  TTaskThread* TaskThread = nullptr;
  TTaskManager* TaskManager = nullptr;  // not owned

  TTaskThread* Thread() const { return TaskThread; }
  const std::string& ID() const { return ST_ID; }
  const std::string& ID(const std::string& Value) { return ST_ID = Value; }

  virtual void Start() {}
  virtual void Stop() {}

  // Each stops a running run first; the value serves the next run.
  TTaskInterface& SetParam(const std::string& ID, const std::string& Value);
  TTaskInterface& SetParam(const std::string& ID, const char* Value) { return SetParam(ID, std::string(Value)); }
  TTaskInterface& SetParam(const std::string& ID, std::int32_t Value);
  TTaskInterface& SetParam(const std::string& ID, TObject* Value);

  void GetParam(const std::string& ID, std::string& Value) const { ReadParam(ST_PARAMS, ID, Value); }
  void GetParam(const std::string& ID, std::int32_t& Value) const { ReadParam(ST_PARAMS, ID, Value); }
  void GetParam(const std::string& ID, TObject*& Value) const { ReadParam(ST_PARAMS, ID, Value); }
  TTaskParam* GetParam(const std::string& ID) const { return FindParam(ST_PARAMS, ID); }

  // Ignored while a run is going.
  virtual TTaskInterface& Priority(TThreadPriority Value);
  virtual TTaskInterface& OnExecuteEvent(TOnExecuteEvent ExecuteEvent);
  virtual TTaskInterface& OnStopEvent(TOnExecuteEvent ExecuteEvent);
  virtual TTaskInterface& OnTerminatedEvent(TNotifyEvent ExecuteEvent);
  virtual TTaskInterface& OnBeforeTerminatedEvent(TOnExecuteEvent ExecuteEvent);

 protected:
  bool Running() const { return TaskThread != nullptr && Active; }

 private:
  template <typename T>
  TTaskInterface& Set(const std::string& ID, const T& Value);
};

class TSmartTask : public TTaskInterface {
 public:
  TSmartTask() = default;
  // Runs still winding down are detached: they end without reaching this task.
  ~TSmartTask() override;

  TTaskGroup* TaskGroup = nullptr;  // not owned; set by whoever builds the group

  // Stops a run that is still going (without waiting) and begins a new one
  // with the parameters set since the last Start. Throws std::system_error
  // when no thread can be made; the task then stays idle with its parameters.
  void Start() override;
  // Tells the current run to stop; returns at once.
  void Stop() override;

 private:
  friend class TTaskThread;
  // Called by a run's termination handling, before its handlers.
  void RunReported(TTaskThread& run);

  std::vector<TTaskThread*> LiveRuns_;  // started and not yet reported
};

}  // namespace task
