#pragma once
// The task engine: named tasks with typed parameters that run a handler on a
// thread of their own and report their end on the main thread.
#include "MainThread.h"
#include "TaskGroup.h"
#include "TaskInterface.h"
#include "TaskManager.h"
#include "TaskParam.h"
#include "TaskThread.h"
