// The timer thread: alarms fire at their deadline to their target, and not
// at all while the timer is disabled.
#include "engine/timer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
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

// A clock the test sets. The timer reads it once at each check, so the
// reads are the evidence that the timer has looked: after three more reads
// than when an alarm was posted, the timer has taken the alarm and then
// finished a whole check with it (the first read may belong to a check that
// began before the post).
class test_clock {
 public:
  explicit test_clock(std::int64_t start) : millis(start) {}

  mt_timer::clock_source source() {
    return [this] {
      std::lock_guard<std::mutex> hold(lock);
      ++reads;
      read.notify_all();
      return millis;
    };
  }
  void set(std::int64_t now) {
    std::lock_guard<std::mutex> hold(lock);
    millis = now;
  }
  // Waits until the timer has finished a check with everything posted
  // before the call; false on timeout.
  bool wait_for_a_whole_check() {
    std::unique_lock<std::mutex> hold(lock);
    const std::uint64_t until = reads + 3;
    return read.wait_for(hold, patience, [&] { return reads >= until; });
  }

 private:
  std::mutex lock;
  std::condition_variable read;
  std::int64_t millis;
  std::uint64_t reads = 0;
};

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

// Deadlines count milliseconds: nothing a millisecond before, the alarm at
// the deadline.
TEST(Timer, AlarmWaitsForItsDeadline) {
  message_log log;
  test::recording_worker target(log);
  test_clock clock(1000);
  mt_timer timer(0ms, clock.source());
  timer.post_message(new set_timer(&target, 1002));
  for (std::int64_t before : {1000, 1001}) {
    clock.set(before);
    ASSERT_TRUE(clock.wait_for_a_whole_check());
    EXPECT_TRUE(log.snapshot().empty()) << "fired at " << before;
  }
  clock.set(1002);
  ASSERT_TRUE(log.wait_for(1, patience));
  EXPECT_EQ(log.snapshot()[0].value, 1002);
}

TEST(Timer, DisabledTimerPostsNothingButKeepsItsAlarms) {
  message_log log;
  test::recording_worker target(log);
  test_clock clock(1000);
  mt_timer timer(0ms, clock.source());
  timer.enabled.store(false);
  std::int64_t deadline = 999;
  timer.post_message(new set_timer(&target, deadline));
  ASSERT_TRUE(clock.wait_for_a_whole_check());
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
  test_clock clock(1000);
  {
    mt_timer timer(0ms, clock.source());
    timer.post_message(new counted_alarm(&target, 1000 + 3600, deleted));
    ASSERT_TRUE(clock.wait_for_a_whole_check());
    EXPECT_EQ(deleted.load(), 0);
  }
  EXPECT_EQ(deleted.load(), 1);
  EXPECT_TRUE(log.snapshot().empty());
}

}  // namespace
}  // namespace marlek
