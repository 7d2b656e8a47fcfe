#pragma once
// The command words the engine knows, each with its handler. Words are
// compared exactly, case included.
#include <functional>
#include <map>
#include <string>

namespace marlek {

using command_handler = void (*)();
using command_map = std::map<std::string, command_handler, std::less<>>;

// Built on first use and never changed afterwards.
const command_map& command_table();

}  // namespace marlek
