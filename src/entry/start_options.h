#pragma once
// The command line of the process: which protocol the engine starts in.
// Started plain it is an xboard engine that still turns to UCI when the
// first command it reads is `uci`.
namespace marlek {

enum class start_mode { xboard, uci };

// Reads the arguments. --help prints the usage and ends the process with
// status 0; an argument it does not know prints the usage and ends it with
// status 2.
start_mode read_start_options(int argc, char* argv[]);

}  // namespace marlek
