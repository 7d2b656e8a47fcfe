#include "threads/state.h"

#include "threads/mt_object.h"

namespace marlek {

void state::execute() { handle(owner->wait_message()); }

void state::handle(message* m) { delete m; }

void state::change_state(state* next) {
  owner->current->leave();
  owner->current = next;
  next->enter();
}

}  // namespace marlek
