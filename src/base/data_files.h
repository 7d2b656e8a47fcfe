#pragma once
// Where the engine finds its data files, the key file and the opening book.
//
// A player starts the engine from a GUI, whose working directory is rarely
// the engine's own, so a file is looked for in three kinds of places, and
// the first that has it wins:
//   1. the working directory, so that a file put there overrides the others;
//   2. the data folder of the installation, fixed when the build was
//      configured, and the same folder found from the executable's own
//      place, for a tree installed under another prefix;
//   3. the folder that holds the executable, as in the build folder or an
//      unpacked archive.
#include <filesystem>
#include <string>
#include <vector>

namespace marlek {

// The folders searched after the working directory, in order.
std::vector<std::filesystem::path> data_folders();

// The path to open for the data file `name`: the first place that has it,
// or `name` alone when none does, so that opening fails in the working
// directory. A path, not a string: on Windows a folder name need not fit
// the narrow code page.
std::filesystem::path find_data_file(const std::string& name);

}  // namespace marlek
