// Worker threads: queue order, polling, state changes and shut-down.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "recording_worker.h"
#include "threads/message.h"
#include "threads/mt_object.h"

namespace marlek {
namespace {

using namespace std::chrono_literals;
using test::message_log;
using test::received;

constexpr auto patience = 5s;

TEST(Threads, PostingOrderIsKept) {
  message_log log;
  test::recording_worker worker(log);
  constexpr int count = 200;
  for (int n = 1; n <= count; ++n) worker.post_message(new ping(n));
  ASSERT_TRUE(log.wait_for(count, patience));
  std::vector<received> got = log.snapshot();
  for (int n = 1; n <= count; ++n) {
    EXPECT_EQ(got[n - 1].kind, ping::kind_id);
    EXPECT_EQ(got[n - 1].value, n);
  }
}

TEST(Threads, EachSendersOrderIsKeptWhenTwoPost) {
  message_log log;
  test::recording_worker worker(log);
  constexpr int per_sender = 500;
  auto send = [&](int tag) {
    for (int n = 0; n < per_sender; ++n) worker.post_message(new ping(tag * 1000 + n));
  };
  std::thread first(send, 1);
  std::thread second(send, 2);
  first.join();
  second.join();
  ASSERT_TRUE(log.wait_for(2 * per_sender, patience));
  int next[3] = {0, 0, 0};
  for (const received& r : log.snapshot()) {
    int tag = r.value / 1000;
    ASSERT_TRUE(tag == 1 || tag == 2);
    EXPECT_EQ(r.value % 1000, next[tag]++);
  }
  EXPECT_EQ(next[1], per_sender);
  EXPECT_EQ(next[2], per_sender);
}

TEST(Threads, TryMessageOnEmptyQueueReturnsAtOnce) {
  test::idle_worker worker;
  auto before = std::chrono::steady_clock::now();
  EXPECT_EQ(worker.try_message(), nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);  // no wait, even on a busy machine
  EXPECT_FALSE(worker.has_message());

  worker.post_message(new go);
  worker.post_message(new undo);
  EXPECT_TRUE(worker.has_message());
  message* first = worker.try_message();
  message* second = worker.try_message();
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->kind, go::kind_id);
  EXPECT_EQ(second->kind, undo::kind_id);
  delete first;
  delete second;
  EXPECT_EQ(worker.try_message(), nullptr);
}

// A recording worker whose state tells when its thread has begun to wait
// for a message. Such a thread is past the worker's test of `running`, so
// it waits until a message comes, whatever happens meanwhile.
class waiting_worker : public mt_object {
 public:
  explicit waiting_worker(message_log& log) : mt_object(&waiting, "Waiter"), waiting(this, log) {
    start();
  }
  ~waiting_worker() override { stop(); }

  bool wait_until_waiting() {
    std::unique_lock<std::mutex> hold(waiting.lock);
    return waiting.began.wait_for(hold, patience, [&] { return waiting.waits > 0; });
  }

 private:
  struct announcing_state : test::recording_state {
    using recording_state::recording_state;
    void execute() override {
      {
        std::lock_guard<std::mutex> hold(lock);
        ++waits;
        began.notify_all();
      }
      state::execute();
    }
    std::mutex lock;
    std::condition_variable began;
    int waits = 0;
  } waiting;
};

TEST(Threads, BlockedWorkerWakesAndEndsWhenDestroyed) {
  message_log log;
  {
    waiting_worker worker(log);
    ASSERT_TRUE(worker.wait_until_waiting());
    EXPECT_EQ(worker.name(), "Waiter");
  }
  // The destructor returned, so the thread has ended; the message that woke
  // it was the worker's own quit, handled like any other.
  std::vector<received> got = log.snapshot();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].kind, -99);
}

TEST(Threads, MessagesLeftInTheQueueAreFreedWithTheWorker) {
  std::atomic<int> deleted{0};
  {
    test::idle_worker worker;
    for (int n = 0; n < 3; ++n) worker.post_message(new test::counted_message(deleted));
  }
  EXPECT_EQ(deleted.load(), 3);
}

// Records the calls of enter() and leave() as text.
class tracing_state : public state {
 public:
  tracing_state(mt_object* owner_object, std::string label, std::string& into)
      : state(owner_object), name(std::move(label)), trace(into) {}
  void enter() override { trace += "enter " + name + ";"; }
  void leave() override { trace += "leave " + name + ";"; }

 private:
  std::string name;
  std::string& trace;
};

TEST(Threads, ChangeStateLeavesTheOldStateThenEntersTheNew) {
  std::string trace;
  test::idle_worker worker;
  tracing_state a(&worker, "a", trace);
  tracing_state b(&worker, "b", trace);
  worker.idle.change_state(&a);
  a.change_state(&b);
  b.change_state(&b);  // the same state is still left and entered again
  EXPECT_EQ(trace, "enter a;leave a;enter b;leave b;enter b;");
}

// A worker that starts in a state which hands over to a recording state on
// its first message, so the second message reaches the new state.
class switching_state : public state {
 public:
  switching_state(mt_object* owner_object, state* then) : state(owner_object), next(then) {}
  void handle(message* m) override {
    delete m;
    change_state(next);
  }

 private:
  state* next;
};

class switching_worker : public mt_object {
 public:
  explicit switching_worker(message_log& log)
      : mt_object(&first, "Switching"), first(this, &second), second(this, log) {
    start();
  }
  ~switching_worker() override { stop(); }

 private:
  switching_state first;
  test::recording_state second;
};

TEST(Threads, StateChangedInHandleRunsFromTheNextMessage) {
  message_log log;
  switching_worker worker(log);
  worker.post_message(new ping(1));
  worker.post_message(new ping(2));
  ASSERT_TRUE(log.wait_for(1, patience));
  std::vector<received> got = log.snapshot();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].value, 2);
}

TEST(Threads, SetboardHoldsAWholeCommandLine) {
  std::string fen(max_line_length, 'p');
  setboard whole(fen);
  EXPECT_EQ(std::string(whole.text), fen);
  setboard cut(fen + "extra");
  EXPECT_EQ(std::strlen(cut.text), setboard::text_size - 1);
  setboard empty("");
  EXPECT_STREQ(empty.text, "");
  EXPECT_EQ(empty.kind, 15);
}

}  // namespace
}  // namespace marlek
