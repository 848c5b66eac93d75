#pragma once
// One named value handed from the code that starts a task to the code that runs in it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "task/TObject.h"

namespace task {

enum class TValueType { vtNone, vtInteger, vtString, vtObject };

class TTaskParam {
 public:
  std::string TP_ID;                             // compared exactly
  TValueType TP_VALUE_TYPE = TValueType::vtNone;  // carried, never set or read
  std::string TP_VALUE_STR;
  std::int32_t TP_VALUE_INT = 0;
  TObject* TP_VALUE_OBJ = nullptr;  // not owned

  // The id is accepted for symmetry with SetValue and not consulted.
  void GetValue(const std::string& ID, std::string& Value) const;
  void GetValue(const std::string& ID, std::int32_t& Value) const;
  void GetValue(const std::string& ID, TObject*& Value) const;

  // Each sets the id and its own slot; the other slots keep their contents.
  void SetValue(const std::string& ID, const std::string& Value);
  void SetValue(const std::string& ID, std::int32_t Value);
  void SetValue(const std::string& ID, TObject* Value);
};

// An owning, ordered list of parameters.
using TTaskParamList = std::vector<std::unique_ptr<TTaskParam>>;

// The first parameter whose id equals `ID` exactly, or none.
TTaskParam* FindParam(const TTaskParamList& list, const std::string& ID);

// Typed reads with defaults: the value's kind's default (empty, 0, none) when
// the parameter is absent, else its slot of that kind.
void ReadParam(const TTaskParamList& list, const std::string& ID, std::string& Value);
void ReadParam(const TTaskParamList& list, const std::string& ID, std::int32_t& Value);
void ReadParam(const TTaskParamList& list, const std::string& ID, TObject*& Value);

}  // namespace task
