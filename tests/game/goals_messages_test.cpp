// Goals (destroy, keep alive, rescue; timed or not), mission completion and failure, the
// message texts and the message line's queue.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "content/ini.h"
#include "content/mission_def.h"
#include "content/scene_object.h"
#include "game/messages.h"
#include "game/mission_instance.h"

namespace {

// A mission whose section holds `goalLines`, with a scene of root objects "A" and "B" and a
// child "Child" of "A".
class GoalBench {
 public:
  explicit GoalBench(const std::string& goalLines) : definition_(nullptr, u"list.ini") {
    const std::string text = "[M]\n" + goalLines;
    IniDocument document;
    document.LoadFromBuffer(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()));
    definition_.ReadSection(*document.FindSection(u"M"));
    a = new SceneObject(&scene, u"A");
    b = new SceneObject(&scene, u"B");
    auto* child = new SceneObject(&scene, u"Child");
    a->AddChild(child);
    mission = std::make_unique<MissionInstance>(&definition_);
    missing = mission->ResolveObjects(scene);
  }

  uint32_t Status(uint16_t goal) const { return mission->goals[goal]->status; }

  MissionScene scene;
  SceneObject* a;
  SceneObject* b;
  std::unique_ptr<MissionInstance> mission;
  uint16_t missing = 0;

 private:
  MissionDef definition_;
};

TEST(Goals, TimedGoalsAreJudgedWhenTheirTimeRunsOut) {
  // Each goal on A, with a 60 s limit; A dies (or not) after `deathMs` of play, and the
  // goal's status is read after `totalMs`.
  const struct {
    const char* goal;
    int deathMs;  // -1: never
    int totalMs;
    uint32_t status;
  } cases[] = {
      {"Destroy A 60", 59900, 59900, GoalAchieved},
      {"Destroy A 60", -1, 59900, GoalPending},
      {"Destroy A 60", -1, 60000, GoalFailed},
      {"KeepAlive A 60", -1, 59900, GoalPending},
      {"KeepAlive A 60", -1, 60000, GoalAchieved},
      {"KeepAlive A 60", 30000, 30000, GoalFailed},
      {"Rescue A 60", 10000, 10000, GoalAchieved},
      {"Rescue A 60", -1, 60000, GoalFailed},
      {"Destroy A", -1, 600000, GoalPending},
      {"KeepAlive A", -1, 600000, GoalPending},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.goal) + " death " + std::to_string(c.deathMs) + " at " + std::to_string(c.totalMs));
    GoalBench bench(std::string("Goal = ") + c.goal + "\n");
    ASSERT_EQ(bench.mission->goals.Count(), 1);
    int elapsed = 0;
    while (elapsed < c.totalMs) {
      const int step = std::min(100, c.totalMs - elapsed);
      elapsed += step;
      if (elapsed == c.deathMs) bench.a->alive = 0;
      bench.mission->Update(static_cast<uint32_t>(step));
    }
    EXPECT_EQ(bench.Status(0), c.status);
  }
}

TEST(Goals, StatusNeverMovesBack) {
  // A rescued person stays rescued, a failed KeepAlive stays failed, whatever follows.
  GoalBench bench("Goal = Rescue A\nGoal = KeepAlive B\n");
  bench.a->alive = 0;
  bench.b->alive = 0;
  bench.mission->Update(33);
  bench.a->alive = 1;
  bench.b->alive = 1;
  bench.mission->Update(33);
  EXPECT_EQ(bench.Status(0), GoalAchieved);
  EXPECT_EQ(bench.Status(1), GoalFailed);
  EXPECT_TRUE(bench.mission->IsFailed());
  EXPECT_FALSE(bench.mission->IsComplete());
}

TEST(Goals, CompletionWaitsForEveryGoalButAnUntimedKeepAlive) {
  GoalBench bench("Goal = KeepAlive B\nGoal = Destroy A\n");
  bench.mission->Update(33);
  EXPECT_FALSE(bench.mission->IsComplete());
  bench.a->alive = 0;
  bench.mission->Update(33);
  EXPECT_TRUE(bench.mission->IsComplete());
  EXPECT_FALSE(bench.mission->IsFailed());
  EXPECT_EQ(bench.Status(0), GoalPending);  // B still lives and is still watched
  bench.b->alive = 0;
  bench.mission->Update(33);
  EXPECT_FALSE(bench.mission->IsComplete());
  EXPECT_TRUE(bench.mission->IsFailed());

  GoalBench timed("Goal = KeepAlive B 10\n");
  timed.mission->Update(5000);
  EXPECT_FALSE(timed.mission->IsComplete());

  GoalBench none("");
  EXPECT_TRUE(none.mission->IsComplete());
  EXPECT_FALSE(none.mission->IsFailed());
}

TEST(Goals, OnlyRootObjectsCanBeGoalsAndAMissingOneCountsAsAchieved) {
  GoalBench bench("Goal = Destroy child\nGoal = Destroy nobody\nGoal = destroy a\n");
  EXPECT_EQ(bench.missing, 2);
  EXPECT_EQ(bench.mission->goals[0]->object, nullptr);
  EXPECT_EQ(bench.Status(0), GoalAchieved);
  EXPECT_EQ(bench.Status(1), GoalAchieved);
  EXPECT_EQ(bench.mission->goals[2]->object, bench.a);  // names match ignoring case
  bench.mission->Update(33);
  EXPECT_FALSE(bench.mission->IsComplete());
}

TEST(Messages, TextsAsTheGameShowsThem) {
  const struct {
    uint32_t id;
    const char16_t* text;
  } cases[] = {{0, u"Cleared for takeoff"},
               {12, u"No room for more passengers"},
               {14, u"Target aquired"},
               {18, u"%s selected"},
               {29, u"Mission complete. Return to base"},
               {30, u"Mission failed"}};
  for (const auto& c : cases) EXPECT_EQ(std::u16string(MessageText(c.id)), c.text) << c.id;
  EXPECT_EQ(MessageText(31), nullptr);
  EXPECT_EQ(MessageText(0xFFFFFFFF), nullptr);

  char16_t text[40];
  FormatWeaponSelected(u"Rocket Pod", text, 40);
  EXPECT_EQ(std::u16string(text), u"Rocket Pod selected");
  FormatWeaponSelected(u"A weapon name far too long for it", text, 40);
  EXPECT_EQ(std::u16string(text), u"A weapon name far too long for it selec");
}

TEST(MessageQueue, KeepsTheLastThreeFor6Seconds) {
  MessageQueue queue;
  for (const char16_t* text : {u"one", u"two", u"three", u"four"}) queue.Add(text);
  ASSERT_EQ(queue.entries.Count(), 3);
  EXPECT_EQ(std::u16string(queue.entries[0]->text), u"two");
  EXPECT_EQ(std::u16string(queue.entries[2]->text), u"four");

  queue.Age(3000);
  queue.Add(u"five");  // pushes "two" out
  queue.Age(2999);
  ASSERT_EQ(queue.entries.Count(), 3);
  queue.Age(1);  // "three" and "four" reach 6000 ms
  ASSERT_EQ(queue.entries.Count(), 1);
  EXPECT_EQ(std::u16string(queue.entries[0]->text), u"five");
  EXPECT_EQ(queue.entries[0]->age, 3000u);
}

TEST(MessageQueue, CutsLongTextsTo39Characters) {
  MessageQueue queue;
  const std::u16string longText = u"This message is forty-five characters long!!";
  ASSERT_EQ(longText.size(), 44u);
  queue.Add((longText + u"!").c_str());
  EXPECT_EQ(std::u16string(queue.entries[0]->text), longText.substr(0, 39));
}

}  // namespace
