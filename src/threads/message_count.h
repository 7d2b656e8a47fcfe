#pragma once
// A counting semaphore made of a mutex and a condition variable: the count
// of messages posted to a worker and not yet taken. std::counting_semaphore
// would do, but the one in MinGW-w64's libstdc++ 12 (an atomic wait without
// futexes) can miss a release: a worker blocked in acquire() then sleeps
// for good, and the engine neither answers a command nor lets the process
// end on `quit`.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>

namespace marlek {

class message_count {
 public:
  // Notifies under the lock: the waiter that takes the message then comes
  // after the whole release, so the count can be destroyed as soon as its
  // owner's thread has ended, even while another thread has just posted.
  void release() {
    std::lock_guard<std::mutex> hold(lock);
    ++count;
    raised.notify_one();
  }

  void acquire() {
    std::unique_lock<std::mutex> hold(lock);
    raised.wait(hold, [this] { return count > 0; });
    --count;
  }

  // acquire(), giving up at `until`: false when nothing was counted by then.
  bool acquire_until(std::chrono::steady_clock::time_point until) {
    std::unique_lock<std::mutex> hold(lock);
    if (!raised.wait_until(hold, until, [this] { return count > 0; })) return false;
    --count;
    return true;
  }

 private:
  std::mutex lock;
  std::condition_variable raised;
  std::ptrdiff_t count = 0;
};

}  // namespace marlek
