#pragma once
// The engine thread, as the rest of the program sees it.
#include "threads/message.h"

namespace marlek {

// Posts `m` to the engine thread, which owns it from then on. Any thread.
void post_to_engine(message* m);

}  // namespace marlek
