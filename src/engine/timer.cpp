#include "engine/timer.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace marlek {

namespace {
// How often the alarms are checked.
constexpr std::chrono::milliseconds check_interval{200};
}  // namespace

clock_watching::clock_watching(mt_object* owner_object, mt_timer* watched_timer)
    : state(owner_object), timer(watched_timer) {}

clock_watching::~clock_watching() {
  for (set_timer* alarm : alarms) delete alarm;
}

void clock_watching::execute() {
  if (message* m = owner->try_message()) {
    handle(m);
    return;
  }
  const std::int32_t now = timer->now();
  timer_now.store(now, std::memory_order_relaxed);
  if (timer->enabled.load(std::memory_order_relaxed)) fire_expired_alarms(now);
  std::this_thread::sleep_for(check_interval);
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

void clock_watching::fire_expired_alarms(std::int32_t now) {
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
