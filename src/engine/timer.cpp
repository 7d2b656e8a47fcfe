#include "engine/timer.h"

#include <algorithm>
#include <thread>
#include <utility>

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
  const std::int64_t now = timer->now();
  timer_now.store(static_cast<std::int32_t>(now / 1000), std::memory_order_relaxed);
  if (timer->enabled.load(std::memory_order_relaxed)) fire_expired_alarms(now);
  const auto until = std::chrono::steady_clock::now() + wait_from(now);
  if (message* m = owner->wait_message_until(until)) handle(m);
}

std::chrono::milliseconds clock_watching::wait_from(std::int64_t now) const {
  std::int64_t wait = check_interval.count();
  for (const set_timer* alarm : alarms) wait = std::min(wait, alarm->deadline - now);
  return std::chrono::milliseconds(std::max<std::int64_t>(wait, 0));
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

void clock_watching::fire_expired_alarms(std::int64_t now) {
  auto expired = std::partition(alarms.begin(), alarms.end(),
                                [now](const set_timer* alarm) { return alarm->deadline > now; });
  for (auto it = expired; it != alarms.end(); ++it) {
    (*it)->target->post_message(new times_up((*it)->deadline));
    delete *it;
  }
  alarms.erase(expired, alarms.end());
}

mt_timer::mt_timer(std::chrono::milliseconds settle, clock_source read_clock)
    : mt_object(&clock, "Timer"), now(std::move(read_clock)), clock(this, this) {
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
