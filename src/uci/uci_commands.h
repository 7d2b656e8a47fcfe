#pragma once
// The UCI commands. Each runs on the main thread, reads its words, and
// hands the game to the engine thread as messages; none waits for a search.
#include <string_view>
#include <vector>

namespace marlek {

using uci_handler = void (*)(const std::vector<std::string_view>& words);

// The handler of the command word `word`, or null for a word UCI does not have.
uci_handler find_uci_command(std::string_view word);

// Puts the engine into UCI ways: its output in UCI words, the start
// position set up.
void start_uci_engine();

// Ends the process with status 0, as `quit` does.
[[noreturn]] void quit_uci();

}  // namespace marlek
