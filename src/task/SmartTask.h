#pragma once
// The task engine: named tasks with typed parameters that run a handler on a
// thread of their own and report their end on the main thread.
#include "task/MainThread.h"
#include "task/TaskGroup.h"
#include "task/TaskInterface.h"
#include "task/TaskManager.h"
#include "task/TaskParam.h"
#include "task/TaskThread.h"
