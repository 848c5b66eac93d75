#pragma once
// Lets GoogleTest print batch entries in its failure messages.
#include <ostream>

#include "control/BatchList.h"

// In the entry's namespace, where GoogleTest finds it.
namespace control {

inline void PrintTo(const control::TBatchEntry& e, std::ostream* os) {
  *os << '{' << e.Name.toStdString() << ", " << e.Found.toStdString() << ", " << e.Done.toStdString() << ", "
      << (e.Checked ? "ticked" : "unticked") << '}';
}

}  // namespace control
