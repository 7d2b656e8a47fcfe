#include "xboard/request_commands.h"

#include "engine/engine_interface.h"

namespace marlek {

// The position belongs to the engine thread, which answers.
void hint_command() { engine_api::ask_hint(); }

void bk_command() { engine_api::ask_book_moves(); }

// Answered from what the search publishes, so that the analysis goes on
// undisturbed.
void status_command() { engine_api::ask_status(); }

void noted_command() {}

}  // namespace marlek
