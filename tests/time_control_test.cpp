// The clock commands and the time budget.
#include "engine/time_control.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/clock.h"
#include "engine/move_limits.h"
#include "output_capture.h"
#include "xboard/dispatcher.h"

namespace marlek {
namespace {

class TimeControl : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }

  static void reset() {
    for (auto* variable : {&moves_per_control, &time_increment, &increment_fraction_ms, &own_time,
                           &own_stamp, &opp_time, &opp_stamp})
      variable->store(0);
    move_limits.reset();
  }

  // Both clocks as just received, and the budget, all within one clock
  // second, so that a tick of the clock cannot shift the result.
  static std::int32_t budget_with(std::int32_t own, std::int32_t opp, std::int32_t ply) {
    for (;;) {
      std::int32_t second = clock_seconds();
      own_time.store(own);
      own_stamp.store(second);
      opp_time.store(opp);
      opp_stamp.store(second);
      std::int32_t budget = time_budget(ply);
      if (clock_seconds() == second) return budget;
    }
  }

  // Runs the lines and returns what they printed.
  static std::vector<std::string> run(std::initializer_list<const char*> lines) {
    test::output_capture capture;
    for (const char* line : lines) dispatch_text(line);
    return capture.lines();
  }
};

TEST_F(TimeControl, FirstMoveOfFiveMinutesForFortyMoves) {
  EXPECT_TRUE(run({"level 40 5 0", "time 30000", "otim 30000"}).empty());
  EXPECT_EQ(moves_per_control.load(), 40);
  // 41 moves to go at ply 0 and 1: 300 / 41 = 7; the surplus is -5.
  EXPECT_EQ(budget_with(300, 300, 0), 7);
  EXPECT_EQ(budget_with(300, 300, 1), 7);
}

TEST_F(TimeControl, MovesToGoCountDownThroughTheControl) {
  moves_per_control.store(40);
  EXPECT_EQ(budget_with(300, 300, 2), 300 / 40);
  EXPECT_EQ(budget_with(300, 300, 20), 300 / 31);
  EXPECT_EQ(budget_with(300, 300, 78), 300 / 2);   // last move of the control
  EXPECT_EQ(budget_with(300, 300, 80), 300 / 41);  // a new control begins
}

TEST_F(TimeControl, WholeGameShareIsAThirtiethPlusIncrement) {
  time_increment.store(3);
  EXPECT_EQ(budget_with(60, 60, 10), 2 + 3);
}

TEST_F(TimeControl, LeadOverTheOpponentIsSpentWhenLarger) {
  EXPECT_EQ(budget_with(400, 300, 10), 95);  // share 13, surplus 95
  EXPECT_EQ(budget_with(400, 390, 10), 13);  // share 13, surplus 5
}

TEST_F(TimeControl, BudgetNeverOverrunsTheClock) {
  time_increment.store(30);
  EXPECT_EQ(budget_with(10, 10, 10), 9);  // share 30, capped at 10 - 1
  time_increment.store(0);
  EXPECT_EQ(budget_with(10, -100, 10), 9);  // surplus 105, capped
  EXPECT_EQ(budget_with(1, 1, 10), 0);
  EXPECT_EQ(budget_with(0, 0, 10), 0);
  EXPECT_EQ(budget_with(-20, 0, 10), 0);  // already out of time: move now
}

TEST_F(TimeControl, MillisecondShareFollowsTheSameRule) {
  EXPECT_EQ(clock_share_ms(300000, 300000, 0, 40, 50), 300000 / 41);  // 40 moves to go
  EXPECT_EQ(clock_share_ms(60000, 60000, 2000, 0, 50), 2000 + 2000);  // a thirtieth
  EXPECT_EQ(clock_share_ms(400000, 300000, 0, 0, 50), 95000);         // the lead less 5 s
  EXPECT_EQ(clock_share_ms(1000, 1000, 30000, 0, 50), 950);           // the overhead is kept
  EXPECT_EQ(clock_share_ms(30, 1000, 0, 0, 50), 0);
}

TEST_F(TimeControl, ExtremeControlsStayDefined) {
  moves_per_control.store(-1);  // read as a whole-game control
  EXPECT_EQ(budget_with(300, 300, 10), 10);
  moves_per_control.store(std::numeric_limits<std::int32_t>::max());
  time_increment.store(std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(budget_with(std::numeric_limits<std::int32_t>::max(), 0, 10),
            std::numeric_limits<std::int32_t>::max() - 1);
}

TEST_F(TimeControl, LevelSetsControlTimesAndStamps) {
  EXPECT_TRUE(run({"level 0 2 12"}).empty());
  EXPECT_EQ(moves_per_control.load(), 0);
  EXPECT_EQ(own_time.load(), 120);
  EXPECT_EQ(opp_time.load(), 120);
  EXPECT_EQ(time_increment.load(), 12);
  // Stamped now, so the remaining times mean something at once.
  EXPECT_GE(own_time_left(), 119);
  EXPECT_GE(opp_time_left(), 119);
}

TEST_F(TimeControl, LevelBaseMayBeMinutesAndSeconds) {
  run({"level 40 0:30 0"});
  EXPECT_EQ(own_time.load(), 30);
  run({"level 40 2:05 0"});
  EXPECT_EQ(opp_time.load(), 125);
  run({"level 40 99999999 0"});  // saturates instead of overflowing
  EXPECT_EQ(own_time.load(), std::numeric_limits<std::int32_t>::max());
}

TEST_F(TimeControl, LevelAndFixedTimePerMoveReplaceEachOther) {
  EXPECT_TRUE(run({"level 0 1 0.5"}).empty());
  EXPECT_EQ(time_increment.load(), 0);
  EXPECT_EQ(increment_fraction_ms.load(), 500);
  EXPECT_TRUE(run({"st 1.25"}).empty());
  EXPECT_EQ(move_limits.move_time_ms.load(), 1250);
  for (const char* bad : {"st", "st -1", "st 2s", "st .", "st 0"})
    EXPECT_EQ(run({bad}).size(), 1u) << bad;
  EXPECT_EQ(move_limits.move_time_ms.load(), 1250);
  run({"level 40 5 2.25"});
  EXPECT_EQ(move_limits.move_time_ms.load(), 0);
  EXPECT_EQ(time_increment.load(), 2);
  EXPECT_EQ(increment_fraction_ms.load(), 250);
}

TEST_F(TimeControl, LevelWithWrongWordCountChangesNothing) {
  run({"level 40 5 0"});
  for (const char* bad : {"level", "level 40 5", "level 30  1 0", "level 30 1 0 ",
                          "level 1 2 3 4 5 6 7 8 9 10 11 12"}) {
    EXPECT_EQ(run({bad}), std::vector<std::string>{"Error: level command format."}) << bad;
    EXPECT_EQ(moves_per_control.load(), 40) << bad;
    EXPECT_EQ(own_time.load(), 300) << bad;
  }
}

TEST_F(TimeControl, DeadlineStopsAtTheEndOfTheClock) {
  constexpr std::int32_t longest = std::numeric_limits<std::int32_t>::max();
  std::int32_t before = clock_seconds();
  std::int32_t deadline = deadline_after(7);
  EXPECT_GE(deadline, before + 7);
  EXPECT_LE(deadline, clock_seconds() + 7);
  // All the time in the world: the level saturates, the opponent has none,
  // and the whole lead becomes the budget.
  run({"level 0 99999999 0", "otim 0"});
  EXPECT_EQ(deadline_after(time_budget(0)), longest);
  EXPECT_EQ(deadline_after(longest), longest);
}

TEST_F(TimeControl, TimeAndOtimTakeCentiseconds) {
  EXPECT_TRUE(run({"time 30000", "otim 12345"}).empty());
  EXPECT_EQ(own_time.load(), 300);
  EXPECT_EQ(opp_time.load(), 123);
  EXPECT_GE(own_time_left(), 299);
  run({"time 99"});
  EXPECT_EQ(own_time.load(), 0);
  run({"otim 500"});
  run({"otim "});  // an empty number reads as 0
  EXPECT_EQ(opp_time.load(), 0);
  run({"time abc"});
  EXPECT_EQ(own_time.load(), 0);
}

TEST_F(TimeControl, ClockErrorsKeepTheClocks) {
  run({"time 30000", "otim 30000"});
  EXPECT_EQ(
      run({"time", "time 1 2", "otim", "otim 1 2"}),
      (std::vector<std::string>{"Error: Improper time format.", "Error: Improper time format.",
                                "Error: Improper otim format.", "Error: Improper otim format."}));
  EXPECT_EQ(own_time.load(), 300);
  EXPECT_EQ(opp_time.load(), 300);
}

}  // namespace
}  // namespace marlek
