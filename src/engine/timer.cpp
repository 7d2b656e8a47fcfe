#include "engine/timer.h"

#include <algorithm>
#include <thread>

namespace marlek {

namespace {
// The longest the timer sleeps between checks, so that `enabled` is looked
// at even when no alarm is near.
constexpr std::chrono::milliseconds check_interval{200};
}  // namespace

clock_watching::clock_watching(mt_object* owner_object, mt_timer* watched_timer)
    : state(owner_object), timer(watched_timer) {}

clock_watching::~clock_watching() {
  for (set_timer* alarm : alarms) delete alarm;
}

void clock_watching::execute() {
  if (message* m = owner->wait_message_until(next_check())) handle(m);
  if (timer->enabled.load(std::memory_order_relaxed)) fire_expired_alarms();
}

std::chrono::steady_clock::time_point clock_watching::next_check() const {
  // Compared in milliseconds first: a deadline as far ahead as the clock can
  // count would overflow the clock's own finer unit.
  const std::int64_t now = clock_millis();
  std::int64_t next = now + check_interval.count();
  for (const set_timer* alarm : alarms) next = std::min(next, alarm->deadline);
  return std::chrono::steady_clock::time_point(std::chrono::milliseconds(next));
}

void clock_watching::handle(message* m) {
  if (m->kind == set_timer::kind_id) {
    if (auto* alarm = dynamic_cast<set_timer*>(m)) {
      alarms.push_back(alarm);
      return;
    }
  }
  delete m;
}

void clock_watching::fire_expired_alarms() {
  const std::int64_t now = clock_millis();
  timer_now.store(static_cast<std::int32_t>(now / 1000), std::memory_order_relaxed);
  auto expired = std::partition(alarms.begin(), alarms.end(),
                                [now](const set_timer* alarm) { return alarm->deadline > now; });
  for (auto it = expired; it != alarms.end(); ++it) {
    (*it)->target->post_message(new times_up((*it)->deadline));
    delete *it;
  }
  alarms.erase(expired, alarms.end());
}

mt_timer::mt_timer(std::chrono::milliseconds settle)
    : mt_object(&clock, "Timer"), clock(this, this) {
  the_timer.store(this);
  start();
  std::this_thread::sleep_for(settle);
}

mt_timer::~mt_timer() {
  stop();
  mt_timer* self = this;
  the_timer.compare_exchange_strong(self, nullptr);
}

}  // namespace marlek
