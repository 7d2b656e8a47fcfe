#pragma once
// A state is what a worker thread does while it is current: the worker calls
// execute() again and again, and a state changes the worker's behaviour by
// handing over to another state with change_state().
#include "threads/message.h"

namespace marlek {

class mt_object;

class state {
 public:
  explicit state(mt_object* owner_object) : owner(owner_object) {}
  virtual ~state() = default;
  state(const state&) = delete;
  state& operator=(const state&) = delete;

  // One unit of work. By default: wait for the next message and handle it.
  virtual void execute();
  // Reacts to one message and disposes of it. By default: deletes it.
  virtual void handle(message* m);
  // Called when the state becomes current, and when it stops being current.
  virtual void enter() {}
  virtual void leave() {}

  // Makes `next` the owner's current state: leave() of the old state, then
  // enter() of the new one, even when both are the same. Owner's thread only.
  void change_state(state* next);

 protected:
  mt_object* owner;
};

}  // namespace marlek
