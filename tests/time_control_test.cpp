// The clock commands and the time budget, in milliseconds.
#include "engine/time_control.h"

#include <gtest/gtest.h>

#include "engine/move_limits.h"
#include "output_capture.h"
#include "xboard/dispatcher.h"

namespace marlek {
namespace {

using lines = std::vector<std::string>;

// Runs the lines and returns what they printed.
lines run(std::initializer_list<const char*> input) {
  test::output_capture capture;
  for (const char* line : input) dispatch_text(line);
  return capture.lines();
}

class TimeControl : public ::testing::Test {
 protected:
  void SetUp() override { reset(); }
  void TearDown() override { reset(); }
  static void reset() {
    set_time_control(40, 300000, 0);
    move_limits.reset();
  }
};

constexpr std::int64_t overhead = 30;

std::int64_t budget(std::int64_t own, std::int64_t opp, std::int64_t increment,
                    std::int64_t moves_to_go = 0) {
  return time_budget_ms({own, opp, increment, moves_to_go}, overhead);
}

TEST_F(TimeControl, FirstMoveOfFiveMinutesForFortyMoves) {
  EXPECT_TRUE(run({"level 40 5 0", "time 30000", "otim 30000"}).empty());
  // 41 moves to go at ply 0 and 1: 300000 / 41; the lead is -5 s.
  for (int ply : {0, 1}) {
    const clock_reading reading = xboard_clock_reading(ply);
    EXPECT_EQ(reading.moves_to_go, 41);
    EXPECT_NEAR(reading.own_left, 300000, 100);
    EXPECT_NEAR(time_budget_ms(reading, overhead), 300000 / 41, 10);
  }
  EXPECT_EQ(xboard_clock_reading(20).moves_to_go, 31);
  EXPECT_EQ(xboard_clock_reading(78).moves_to_go, 2);   // the last move of the control
  EXPECT_EQ(xboard_clock_reading(80).moves_to_go, 41);  // a new control begins
}

TEST_F(TimeControl, SharingRuleInMilliseconds) {
  EXPECT_EQ(budget(60000, 60000, 3000), 2000 + 3000);  // a thirtieth plus the increment
  EXPECT_EQ(budget(400000, 300000, 0), 95000);         // the lead less 5 s, when more
  EXPECT_EQ(budget(400000, 390000, 0), 400000 / 30);
  EXPECT_EQ(budget(300000, 300000, 0, 41), 300000 / 41);
}

// The short end, where a budget in whole seconds was nothing at all.
TEST_F(TimeControl, ShortClocksStillGiveTimeToThink) {
  EXPECT_EQ(budget(29000, 29000, 0), 29000 / 30);       // sudden death, under half a minute
  EXPECT_EQ(budget(5000, 5000, 100), 5000 / 30 + 100);  // 10 s + 0.1 s, 5 s left: about 0.27 s
  const std::int64_t last_half_second = budget(500, 500, 100);
  EXPECT_EQ(last_half_second, 500 / 30 + 100);
  EXPECT_LT(last_half_second, 450);
  // An increment beyond the time left is not spent before it is earned.
  EXPECT_LE(budget(200, 200, 2000), 200 - overhead);
  EXPECT_EQ(budget(50, 50, 100), 0);
  EXPECT_EQ(budget(-20, 0, 0), 0);                         // already out of time: move now
  EXPECT_LE(budget(10000, -100000, 0), 10000 - overhead);  // the lead never overruns the clock
}

TEST_F(TimeControl, FixedTimeKeepsAMargin) {
  EXPECT_EQ(fixed_time_usable_ms(2000, 0), 2000 - 50 - 60);
  EXPECT_EQ(fixed_time_usable_ms(2000, overhead), 1970 - 50 - 59);
  EXPECT_EQ(fixed_time_usable_ms(60, 0), 30);  // a short move still gets half of its time
}

TEST_F(TimeControl, LevelKeepsItsBaseAndIncrementExactly) {
  EXPECT_TRUE(run({"level 0 0:10 0.1", "time 500"}).empty());
  const clock_reading reading = xboard_clock_reading(10);
  EXPECT_EQ(reading.increment, 100);
  EXPECT_EQ(reading.moves_to_go, 0);
  EXPECT_NEAR(reading.own_left, 5000, 100);
  run({"level 40 2:05 2.25"});
  EXPECT_EQ(xboard_clock_reading(0).increment, 2250);
  EXPECT_EQ(own_time_left_ms(), 125000);  // the engine's own clock, not running
}

TEST_F(TimeControl, LevelAndFixedTimePerMoveReplaceEachOther) {
  EXPECT_TRUE(run({"st 1.25"}).empty());
  EXPECT_EQ(move_limits.move_time_ms.load(), 1250);
  for (const char* bad : {"st", "st -1", "st 2s", "st .", "st 0"})
    EXPECT_EQ(run({bad}).size(), 1u) << bad;
  EXPECT_EQ(move_limits.move_time_ms.load(), 1250);
  run({"level 40 5 2.25"});
  EXPECT_EQ(move_limits.move_time_ms.load(), 0);
}

TEST_F(TimeControl, BadLevelsAreRefusedAndChangeNothing) {
  run({"level 40 5 0"});
  for (const char* bad : {"level", "level 40 5", "level 30  1 0", "level 30 1 0 ",
                          "level 1 2 3 4 5 6 7 8 9 10 11 12"})
    EXPECT_EQ(run({bad}), lines{"Error: level command format."}) << bad;
  EXPECT_EQ(
      run({"level 0 0 0", "level 40 0:70 0", "level -1 5 0", "level 0 5 -2"}),
      (lines{"Error (no time at all): level 0 0 0", "Error (bad time control): level 40 0:70 0",
             "Error (bad time control): level -1 5 0", "Error (bad time control): level 0 5 -2"}));
  const clock_reading reading = xboard_clock_reading(0);
  EXPECT_EQ(reading.moves_to_go, 41);
  EXPECT_EQ(reading.own_left, 300000);
}

TEST_F(TimeControl, TimeAndOtimTakeCentisecondsAndRefuseWhatIsNoNumber) {
  EXPECT_TRUE(run({"time 30000", "otim 12345"}).empty());
  EXPECT_NEAR(xboard_clock_reading(0).own_left, 300000, 100);
  EXPECT_NEAR(xboard_clock_reading(0).opp_left, 123450, 100);
  EXPECT_EQ(run({"time", "time 1 2", "otim", "otim 1 2", "otim x", "time 3x"}),
            (lines{"Error: Improper time format.", "Error: Improper time format.",
                   "Error: Improper otim format.", "Error: Improper otim format.",
                   "Error: Improper otim format.", "Error: Improper time format."}));
  EXPECT_NEAR(xboard_clock_reading(0).opp_left, 123450, 100);
  // Out of range clamps: nothing left, or far more than any game.
  EXPECT_TRUE(run({"time -5", "otim 99999999999"}).empty());
  EXPECT_LE(xboard_clock_reading(0).own_left, 0);
  EXPECT_GT(xboard_clock_reading(0).opp_left, std::int64_t{900000000000});
  EXPECT_EQ(time_budget_ms(xboard_clock_reading(0), overhead), 0);
  run({"otim 500", "otim "});  // an empty number reads as none left
  EXPECT_LE(xboard_clock_reading(0).opp_left, 0);
}

// Without `time` the engine keeps its own clock from the level.
TEST_F(TimeControl, OwnClockWhenTheGuiSendsNone) {
  run({"level 40 0 2"});
  own_move_started();
  const std::int64_t first = time_budget_ms(xboard_clock_reading(0), overhead);
  EXPECT_GT(first, 1500);  // about the increment
  EXPECT_LE(first, 2000);
  own_move_made();
  own_move_started();
  EXPECT_GT(time_budget_ms(xboard_clock_reading(2), overhead), 1500);
  own_move_made();
  // A `time` hands the clock to the GUI; `new` gives it back to the engine.
  run({"time 100"});
  EXPECT_LT(time_budget_ms(xboard_clock_reading(4), overhead), 1000);
  restart_clocks();
  EXPECT_EQ(own_time_left_ms(), 0);
  own_move_started();
  EXPECT_GT(time_budget_ms(xboard_clock_reading(0), overhead), 1500);
}

}  // namespace
}  // namespace marlek
