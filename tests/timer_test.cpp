// The timer thread: alarms fire at their deadline to their target, and not
// at all while the timer is disabled.
#include "engine/timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "base/clock.h"
#include "recording_worker.h"

namespace marlek {
namespace {

using namespace std::chrono_literals;
using test::message_log;
using test::received;

constexpr auto patience = 5s;
// Several timer checks: long enough for an expired alarm to have fired.
constexpr auto a_few_checks = 700ms;

// An alarm that counts its deletion.
struct counted_alarm : set_timer {
  counted_alarm(mt_object* to, std::int64_t when, std::atomic<int>& deletions)
      : set_timer(to, when), deleted(deletions) {}
  ~counted_alarm() override { ++deleted; }
  std::atomic<int>& deleted;
};

TEST(Timer, ConstructionPublishesTheTimer) {
  {
    mt_timer timer(0ms);
    EXPECT_EQ(the_timer.load(), &timer);
    EXPECT_TRUE(timer.enabled.load());
    EXPECT_EQ(timer.name(), "Timer");
  }
  EXPECT_EQ(the_timer.load(), nullptr);
}

TEST(Timer, ExpiredAlarmsPostTimesUpWithTheirDeadlines) {
  message_log log;
  test::recording_worker target(log);
  mt_timer timer(0ms);
  std::int64_t now = clock_millis();
  timer.post_message(new set_timer(&target, now - 1));
  timer.post_message(new set_timer(&target, now - 2));
  ASSERT_TRUE(log.wait_for(2, patience));
  std::vector<received> got = log.snapshot();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].kind, times_up::kind_id);
  EXPECT_EQ(got[1].kind, times_up::kind_id);
  EXPECT_EQ(got[0].value + got[1].value, 2 * now - 3);  // one of each, any order
  EXPECT_NE(got[0].value, got[1].value);
}

TEST(Timer, AlarmFiresAtItsDeadlineToTheMillisecond) {
  message_log log;
  test::recording_worker target(log);
  mt_timer timer(0ms);
  // Between two checks of a timer that would only look five times a second.
  const std::int64_t deadline = clock_millis() + 1130;
  timer.post_message(new set_timer(&target, deadline));
  std::this_thread::sleep_for(500ms);
  EXPECT_TRUE(log.snapshot().empty());
  ASSERT_TRUE(log.wait_for(1, patience));
  const std::int64_t arrived = clock_millis();
  EXPECT_GE(arrived, deadline);
  EXPECT_LT(arrived, deadline + 100) << "late by " << arrived - deadline << " ms";
  EXPECT_EQ(log.snapshot()[0].value, deadline);
}

TEST(Timer, DisabledTimerPostsNothingButKeepsItsAlarms) {
  message_log log;
  test::recording_worker target(log);
  mt_timer timer(0ms);
  timer.enabled.store(false);
  std::int64_t deadline = clock_millis() - 1;
  timer.post_message(new set_timer(&target, deadline));
  std::this_thread::sleep_for(a_few_checks);
  EXPECT_TRUE(log.snapshot().empty());

  timer.enabled.store(true);
  ASSERT_TRUE(log.wait_for(1, patience));
  EXPECT_EQ(log.snapshot()[0].value, deadline);
}

TEST(Timer, OtherMessagesAreDeleted) {
  std::atomic<int> deleted{0};
  mt_timer timer(0ms);
  timer.post_message(new test::counted_message(deleted));
  auto give_up = std::chrono::steady_clock::now() + patience;
  while (deleted.load() == 0 && std::chrono::steady_clock::now() < give_up)
    std::this_thread::sleep_for(10ms);
  EXPECT_EQ(deleted.load(), 1);
}

TEST(Timer, PendingAlarmsAreFreedWithTheTimer) {
  message_log log;
  test::recording_worker target(log);
  std::atomic<int> deleted{0};
  {
    mt_timer timer(0ms);
    timer.post_message(new counted_alarm(&target, clock_millis() + 3600 * 1000, deleted));
    std::this_thread::sleep_for(a_few_checks);
    EXPECT_EQ(deleted.load(), 0);
  }
  EXPECT_EQ(deleted.load(), 1);
  EXPECT_TRUE(log.snapshot().empty());
}

}  // namespace
}  // namespace marlek
