#pragma once
// The timer thread: it keeps the alarms that the engine asks for and tells
// each alarm's target when its deadline has come.
//
// To ask for an alarm, post a set_timer to the timer:
//   the_timer.load()->post_message(new set_timer(target, deadline));
// The target then receives a times_up carrying the same deadline as soon as
// the clock (clock_millis) reaches it: the timer sleeps until the nearest
// deadline, and at most 200 ms between checks. While `enabled` is cleared
// no alarm fires.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

#include "base/clock.h"
#include "threads/mt_object.h"

namespace marlek {

class mt_timer;

// The timer thread's only state.
class clock_watching : public state {
 public:
  clock_watching(mt_object* owner_object, mt_timer* timer);
  ~clock_watching() override;  // deletes the alarms that never fired

  // Waits for a message until the nearest deadline or the next check,
  // handles it if one came, then fires the expired alarms.
  void execute() override;
  // Keeps set_timer messages as alarms; deletes everything else.
  void handle(message* m) override;

 private:
  void fire_expired_alarms();
  // When to look at the alarms again.
  std::chrono::steady_clock::time_point next_check() const;

  mt_timer* timer;
  std::vector<set_timer*> alarms;  // pending, owned
};

class mt_timer : public mt_object {
 public:
  // The main thread pauses a moment after starting the timer, as the
  // engine always has; tests pass a shorter pause.
  static constexpr std::chrono::milliseconds default_settle{500};

  explicit mt_timer(std::chrono::milliseconds settle = default_settle);
  ~mt_timer() override;

  // Alarms fire only while set; `quit` clears it.
  std::atomic<bool> enabled{true};

 private:
  clock_watching clock;
};

// The engine's one timer, set by its constructor (cleared again if it is
// destroyed).
inline std::atomic<mt_timer*> the_timer{nullptr};

// Clock seconds of the timer's last check.
inline std::atomic<std::int32_t> timer_now{clock_seconds()};

}  // namespace marlek
