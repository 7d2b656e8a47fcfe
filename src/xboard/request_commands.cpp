#include "xboard/request_commands.h"

#include "engine/engine.h"
#include "engine/requests.h"

namespace marlek {

// The position belongs to the engine thread, which answers.
void hint_command() { post_to_engine(new hint_request); }

void bk_command() { post_to_engine(new book_request); }

// Answered here from what the search publishes, so that the analysis goes
// on undisturbed.
void status_command() { report_analysis_status(); }

void noted_command() {}

}  // namespace marlek
