#pragma once
// The options a UCI GUI can set, as the `uci` handshake lists them, and
// `setoption` applied to them.
#include <cstdint>
#include <string>

#include "uci/uci_parser.h"

namespace marlek {

// Writes one "option name ..." line per option.
void list_uci_options();

// Applies `setoption`; false, with the reason in `error`, for an unknown
// option or a value the option cannot take (nothing changes then).
bool apply_uci_option(const uci_setoption& option, std::string& error);

// Milliseconds the engine keeps back from every time budget for the GUI's
// and the pipes' lag (Move Overhead). Main thread only.
std::int64_t move_overhead_ms();

}  // namespace marlek
