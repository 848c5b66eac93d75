#include <gtest/gtest.h>

#include "task/SmartTask.h"

using namespace task;

namespace {

class Thing : public TObject {};

TEST(TaskParam, AbsentParameterReadsAsDefaultOfEachKind) {
  TSmartTask t;
  std::string s = "x";
  std::int32_t i = 7;
  Thing thing;
  TObject* o = &thing;
  t.GetParam("missing", s);
  t.GetParam("missing", i);
  t.GetParam("missing", o);
  EXPECT_EQ(s, "");
  EXPECT_EQ(i, 0);
  EXPECT_EQ(o, nullptr);
  EXPECT_EQ(t.GetParam("missing"), nullptr);
}

TEST(TaskParam, NamesAreCaseSensitive) {
  TSmartTask t;
  t.SetParam("Start", 1).SetParam("start", 2).SetParam("START", 3);
  std::int32_t a = 0, b = 0, c = 0;
  t.GetParam("Start", a);
  t.GetParam("start", b);
  t.GetParam("START", c);
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(t.ST_PARAMS.size(), 3u);
  EXPECT_EQ(t.GetParam("Star"), nullptr);
}

TEST(TaskParam, SlotsAreIndependentUnderOneName) {
  TSmartTask t;
  Thing thing;
  t.SetParam("P", 5).SetParam("P", "five").SetParam("P", &thing);
  ASSERT_EQ(t.ST_PARAMS.size(), 1u);
  std::int32_t i = 0;
  std::string s;
  TObject* o = nullptr;
  t.GetParam("P", i);
  t.GetParam("P", s);
  t.GetParam("P", o);
  EXPECT_EQ(i, 5);
  EXPECT_EQ(s, "five");
  EXPECT_EQ(o, &thing);
  EXPECT_EQ(t.ST_PARAMS[0]->TP_VALUE_TYPE, TValueType::vtNone);

  // A slot never given a value reads as its initial content.
  t.SetParam("Q", 9);
  std::string q = "stale";
  t.GetParam("Q", q);
  EXPECT_EQ(q, "");
}

TEST(TaskParam, SetParamKeepsFirstSetOrderAndOverwritesInPlace) {
  TSmartTask t;
  t.SetParam("A", 1).SetParam("B", 2).SetParam("A", 3);
  ASSERT_EQ(t.ST_PARAMS.size(), 2u);
  EXPECT_EQ(t.ST_PARAMS[0]->TP_ID, "A");
  EXPECT_EQ(t.ST_PARAMS[0]->TP_VALUE_INT, 3);
  EXPECT_EQ(t.ST_PARAMS[1]->TP_ID, "B");
}

TEST(TaskParam, AssignParamsMovesTheSameObjectsInOrder) {
  TTaskParamList source;
  for (const char* id : {"Start", "TaskCnt", "TaskIDX"}) {
    source.push_back(std::make_unique<TTaskParam>());
    source.back()->SetValue(id, 1);
  }
  std::vector<TTaskParam*> before;
  for (auto& p : source) before.push_back(p.get());

  TTaskThread thread(true);
  thread.AssignParams(source);

  EXPECT_TRUE(source.empty());
  ASSERT_EQ(thread.Parameters.size(), 3u);
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(thread.Parameters[i].get(), before[i]);
  EXPECT_EQ(thread.GetParam("TaskCnt"), before[1]);
}

}  // namespace
