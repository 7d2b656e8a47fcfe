#include "threads/mt_object.h"

#include <utility>

namespace marlek {

namespace {

// Posted by the destructor to wake a thread blocked in wait_message(); no
// state handles it, so it is simply deleted.
struct quit : message {
  static constexpr std::int32_t kind_id = -99;
  quit() : message(kind_id) {}
};

}  // namespace

mt_object::mt_object(state* initial, std::string name)
    : thread_name(std::move(name)), current(initial) {}

mt_object::~mt_object() {
  stop();
  // Nothing reads what is still queued; free it.
  while (!queue.empty()) {
    delete queue.front();
    queue.pop();
  }
}

void mt_object::start() { thread = std::thread(&mt_object::run, this); }

void mt_object::stop() {
  if (!running.exchange(false, std::memory_order_relaxed)) return;
  post_message(new quit);
  if (thread.joinable()) thread.join();
}

void mt_object::run() {
  thread_started();
  while (running.load(std::memory_order_relaxed)) current->execute();
  thread_ending();
}

void mt_object::post_message(message* m) {
  {
    std::lock_guard<std::mutex> hold(lock);
    queue.push(m);
  }
  semaphore.release();
}

message* mt_object::wait_message() {
  semaphore.acquire();
  return take_oldest();
}

message* mt_object::wait_message_until(std::chrono::steady_clock::time_point until) {
  return semaphore.acquire_until(until) ? take_oldest() : nullptr;
}

message* mt_object::take_oldest() {
  std::lock_guard<std::mutex> hold(lock);
  message* oldest = queue.front();
  queue.pop();
  return oldest;
}

bool mt_object::has_message() {
  std::lock_guard<std::mutex> hold(lock);
  return !queue.empty();
}

message* mt_object::try_message() { return has_message() ? wait_message() : nullptr; }

}  // namespace marlek
