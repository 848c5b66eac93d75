#pragma once
#include <functional>

namespace task {

// The root of objects handed around by reference: task threads pass themselves
// as a notify event's Sender, and parameters may carry a reference to one.
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
};

// A notification that names the object it comes from.
using TNotifyEvent = std::function<void(TObject* Sender)>;

}  // namespace task
