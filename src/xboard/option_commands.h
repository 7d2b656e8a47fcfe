#pragma once
// The engine's settings in the GUI's menus: the memory for its table and
// its options, announced as features and changed by commands.
namespace marlek {

// Writes the feature lines of the settings: the memory command, the node
// rate, and one line per option. Before "feature done=1".
void announce_settings();

// memory MEGABYTES: the size of the transposition table from the next game on.
void memory_command();
// cores N: the number of search threads.
void cores_command();
// option NAME[=VALUE]: changes one of the announced options.
void option_command();

}  // namespace marlek
