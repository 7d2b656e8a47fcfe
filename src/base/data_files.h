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
//      unpacked archive;
//   4. last, the copy built into the program (base/built_in_data.h), for a
//      binary that was moved away from its files.
// Only a file missing everywhere on disk is replaced by the built-in copy:
// one that is there but cannot be read is the player's to mend, so it is
// opened and fails as it would without a copy.
#include <filesystem>
#include <ios>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace marlek {

// The folders searched after the working directory, in order.
std::vector<std::filesystem::path> data_folders();

// The path to open for the data file `name`: the first place that has it,
// or `name` alone when none does, so that opening fails in the working
// directory. A path, not a string: on Windows a folder name need not fit
// the narrow code page.
std::filesystem::path find_data_file(const std::string& name);

// The first place on disk that has `name`, if any.
std::optional<std::filesystem::path> find_data_file_on_disk(const std::string& name);

// The copy of `name` built into the program, if it has one.
std::optional<std::string_view> built_in_data_file(std::string_view name);

// Opens the data file `name` for reading with `mode`: the first file on
// disk, else the built-in copy. The stream has failed when neither exists,
// or when the file on disk cannot be opened.
std::unique_ptr<std::istream> open_data_file(const std::string& name,
                                             std::ios_base::openmode mode = std::ios_base::in);

}  // namespace marlek
