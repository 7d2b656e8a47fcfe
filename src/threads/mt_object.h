#pragma once
// A worker thread with a first-in-first-out queue of messages. Other threads
// talk to a worker only by posting messages; the worker's thread runs its
// current state for as long as the object lives.
//
// A derived class builds its states as members, so it starts the thread
// with start() as the last step of its constructor (before that the states
// do not exist yet), and calls stop() first thing in its destructor (after
// that its states are gone while the thread might still use them).
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <queue>
#include <string>
#include <thread>

#include "threads/message.h"
#include "threads/message_count.h"
#include "threads/state.h"

namespace marlek {

class mt_object {
 public:
  virtual ~mt_object();
  mt_object(const mt_object&) = delete;
  mt_object& operator=(const mt_object&) = delete;

  // Appends `m` to the queue; the worker owns it from now on. Any thread.
  void post_message(message* m);
  // Blocks until a message is queued, then removes and returns the oldest.
  // Owner's thread only.
  message* wait_message();
  // Whether a message is queued. Any thread.
  bool has_message();
  // The oldest message, or nullptr at once when none is queued. Owner's
  // thread only.
  message* try_message();
  // wait_message(), giving up at `until`: nullptr when nothing came by then.
  // Owner's thread only.
  message* wait_message_until(std::chrono::steady_clock::time_point until);
  // The oldest message if `wanted(message)` says so, removed from the
  // queue; nullptr, and the queue as it was, otherwise. Owner's thread only.
  template <typename Wanted>
  message* take_oldest_if(Wanted wanted) {
    message* oldest = nullptr;
    {
      std::lock_guard<std::mutex> hold(lock);
      if (queue.empty() || !wanted(*queue.front())) return nullptr;
      oldest = queue.front();
      queue.pop();
    }
    semaphore.acquire();  // the post has counted it, or is about to
    return oldest;
  }

  const std::string& name() const { return thread_name; }

 protected:
  mt_object(state* initial, std::string name);
  // Runs on the worker's own thread before its first state: what the thread
  // keeps of its own is set up here.
  virtual void thread_started() {}
  // Runs on the worker's own thread after its last state, before it ends:
  // what the thread keeps of its own and must free is freed here.
  virtual void thread_ending() {}
  // Starts the thread on the initial state.
  void start();
  // Ends the thread: clears `running`, wakes the thread with a quit message
  // and waits for it to end. Safe to call more than once.
  void stop();

 private:
  friend class state;  // change_state() sets `current`
  void run();
  // Removes the oldest message; the semaphore has counted it.
  message* take_oldest();

  std::mutex lock;  // guards `queue` only, for one operation at a time
  std::queue<message*, std::deque<message*>> queue;
  message_count semaphore;  // counts queued messages
  std::thread thread;
  std::string thread_name;
  std::atomic<bool> running{true};
  state* current;  // the worker's own thread reads and writes it
};

}  // namespace marlek
