#include "xboard/protocol_commands.h"

#include "engine/engine_interface.h"

namespace marlek {

void post_command() { engine_api::set_posting(true); }

void nopost_command() { engine_api::set_posting(false); }

void hard_command() { engine_api::set_pondering(true); }

void easy_command() { engine_api::set_pondering(false); }

void ignored_command() {}

void quit_command() { engine_api::quit(); }

}  // namespace marlek
