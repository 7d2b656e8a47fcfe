#pragma once
// The engine as a UCI engine: the same engine thread, search, clock and
// book as under xboard, driven by UCI commands and answering in UCI words.
// A session starts when the engine is started with --uci, or when the
// first command it reads is `uci`.
#include <string_view>

namespace marlek {

// Whether `line` is the GUI's `uci`, which picks this protocol when it is
// the first command of the process.
bool is_uci_greeting(std::string_view line);

// Makes UCI's words the engine's (an engine started as a UCI engine does so
// before it loads its data files, so that a fault in them is told in UCI).
void speak_uci();

// Runs UCI commands from standard input until `quit` or the end of input.
// `greeted`: the GUI's `uci` has been read already and is answered first.
[[noreturn]] void run_uci_session(bool greeted);

// Runs one command line. Bad input gets an "info string" line that says
// what is wrong, and changes nothing else.
void run_uci_line(std::string_view line);

}  // namespace marlek
