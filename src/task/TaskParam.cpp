#include "task/TaskParam.h"

namespace task {

void TTaskParam::GetValue(const std::string&, std::string& Value) const { Value = TP_VALUE_STR; }
void TTaskParam::GetValue(const std::string&, std::int32_t& Value) const { Value = TP_VALUE_INT; }
void TTaskParam::GetValue(const std::string&, TObject*& Value) const { Value = TP_VALUE_OBJ; }

void TTaskParam::SetValue(const std::string& ID, const std::string& Value) {
  TP_ID = ID;
  TP_VALUE_STR = Value;
}
void TTaskParam::SetValue(const std::string& ID, std::int32_t Value) {
  TP_ID = ID;
  TP_VALUE_INT = Value;
}
void TTaskParam::SetValue(const std::string& ID, TObject* Value) {
  TP_ID = ID;
  TP_VALUE_OBJ = Value;
}

TTaskParam* FindParam(const TTaskParamList& list, const std::string& ID) {
  for (const auto& param : list)
    if (param->TP_ID == ID) return param.get();
  return nullptr;
}

namespace {
template <typename T>
void ReadWithDefault(const TTaskParamList& list, const std::string& ID, T& Value) {
  Value = T{};
  if (const TTaskParam* param = FindParam(list, ID)) param->GetValue(ID, Value);
}
}  // namespace

void ReadParam(const TTaskParamList& list, const std::string& ID, std::string& Value) {
  ReadWithDefault(list, ID, Value);
}
void ReadParam(const TTaskParamList& list, const std::string& ID, std::int32_t& Value) {
  ReadWithDefault(list, ID, Value);
}
void ReadParam(const TTaskParamList& list, const std::string& ID, TObject*& Value) {
  ReadWithDefault(list, ID, Value);
}

}  // namespace task
