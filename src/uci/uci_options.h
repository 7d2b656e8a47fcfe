#pragma once
// The engine's settings as a UCI GUI sees them: listed in the `uci`
// handshake and changed by `setoption`, both from the engine's one table of
// settings.
#include <string>

#include "uci/uci_parser.h"

namespace marlek {

// Writes one "option name ..." line per setting UCI offers.
void list_uci_options();

// Applies `setoption`; false, with the reason in `error`, for an unknown
// option or a value the option cannot take (nothing changes then).
bool apply_uci_option(const uci_setoption& option, std::string& error);

}  // namespace marlek
