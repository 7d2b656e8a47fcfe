#pragma once
// The UCI commands. Each runs on the main thread, reads its words, and
// hands them to the engine (engine/engine_interface.h); none waits for a
// search.
#include <string_view>
#include <vector>

namespace marlek {

using uci_handler = void (*)(const std::vector<std::string_view>& words);

// The handler of the command word `word`, or null for a word UCI does not have.
uci_handler find_uci_command(std::string_view word);

}  // namespace marlek
