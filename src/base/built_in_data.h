#pragma once
// The shipped data files, the key file and the opening book, compiled into
// the program. The build generates their source from the files themselves
// (cmake/embed_data.cmake), so the copies hold the same bytes as the files
// installed beside the engine.
//
// They are the last place the engine looks (base/data_files.h): a file on
// disk still overrides them, and a broken one is still reported. What they
// buy is an engine that needs no folder of its own: a binary copied alone
// into an empty folder, as a testing harness does with each fresh build,
// plays, analyses and benches exactly as the installed engine.
#include <span>
#include <string_view>

namespace marlek {

struct built_in_file {
  std::string_view name;   // the file name the engine looks for
  std::string_view bytes;  // the whole file
};

// Every built-in file. A file missing from data/ when the build was
// configured has no copy.
std::span<const built_in_file> built_in_files();

}  // namespace marlek
