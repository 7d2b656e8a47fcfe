#include "xboard/protocol_commands.h"

#include "base/flags.h"
#include "engine/engine.h"

namespace marlek {

void post_command() { post_thinking.store(true, std::memory_order_relaxed); }

void nopost_command() { post_thinking.store(false, std::memory_order_relaxed); }

void hard_command() { ponder_enabled.store(true, std::memory_order_relaxed); }

void easy_command() { ponder_enabled.store(false, std::memory_order_relaxed); }

void ignored_command() {}

void quit_command() { quit_engine(); }

}  // namespace marlek
