#pragma once
// Worker threads for the thread and timer tests: one that records every
// message it receives, and one whose thread is never started, so that the
// test's own thread can take its messages.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "threads/mt_object.h"

namespace marlek::test {

struct received {
  std::int32_t kind;
  std::int64_t value;  // a times_up's deadline, a ping's number, else 0
};

// Filled on the worker's thread, read on the test's; outlives the worker.
class message_log {
 public:
  void add(const message& m) {
    std::int64_t value = 0;
    if (auto* alarm = dynamic_cast<const times_up*>(&m)) value = alarm->deadline;
    if (auto* p = dynamic_cast<const ping*>(&m)) value = p->number;
    std::lock_guard<std::mutex> hold(lock);
    entries.push_back({m.kind, value});
    arrived.notify_all();
  }

  // Waits until at least `count` messages have arrived; false on timeout.
  bool wait_for(std::size_t count, std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> hold(lock);
    return arrived.wait_for(hold, wait, [&] { return entries.size() >= count; });
  }

  std::vector<received> snapshot() {
    std::lock_guard<std::mutex> hold(lock);
    return entries;
  }

 private:
  std::mutex lock;
  std::condition_variable arrived;
  std::vector<received> entries;
};

class recording_state : public state {
 public:
  recording_state(mt_object* owner_object, message_log& into) : state(owner_object), log(into) {}
  void handle(message* m) override {
    log.add(*m);
    delete m;
  }

 private:
  message_log& log;
};

class recording_worker : public mt_object {
 public:
  explicit recording_worker(message_log& log)
      : mt_object(&recorder, "Recorder"), recorder(this, log) {
    start();
  }
  ~recording_worker() override { stop(); }

 private:
  recording_state recorder;
};

// Never started: the test's thread plays the owner's thread.
class idle_worker : public mt_object {
 public:
  idle_worker() : mt_object(&idle, "Idle"), idle(this) {}
  state idle;
};

// A message that counts its deletion, on whichever thread deletes it.
struct counted_message : message {
  static constexpr std::int32_t kind_id = 18;  // a kind no receiver uses
  explicit counted_message(std::atomic<int>& deletions) : message(kind_id), deleted(deletions) {}
  ~counted_message() override { ++deleted; }
  std::atomic<int>& deleted;
};

}  // namespace marlek::test
