#pragma once
// Reading the opening book file at start-up.
//
// The file lists opening lines as numbered moves in coordinate notation,
// written as a tree: a move number that goes back to an earlier point of
// the line starts a side line from there.
//
//     # main line and two side lines
//     1. e2e4 e7e5 2. g1f3 b8c6 3. f1b5
//     2. f2f4
//     1... c7c5 2. g1f3
//
// "N." means White's move N follows, "N..." Black's. '#' starts a comment
// that runs to the end of the line. Space, tab and line ends (LF or CR LF)
// are skipped anywhere, even inside a token. Each line is replayed on the
// global position from the initial position, and the key of every position
// that a book move reaches goes into the opening book.
#include <filesystem>
#include <string>

#include "board/move.h"

namespace marlek {

inline constexpr const char* book_file_name = "MarlekBook.txt";

// The moves made on the board for the line being replayed, oldest first;
// empty once loading is over.
inline move::move_vector book_line;

// Sets up the initial position and replays the book file on it. A fault in
// the file ends the loading with one line on standard output; the positions
// stored before it stay. At the end the initial position is set up afresh,
// with its root move list, for a game that begins without `new`. The file is
// opened at `path` and named `name` in the messages: the engine reports the
// file as the player knows it, wherever it was found.
void load_book(const std::filesystem::path& path, const std::string& name);
inline void load_book(const std::string& path = book_file_name) { load_book(path, path); }

// Loads the book from the first place the engine looks for its data
// (base/data_files.h), the built-in copy when no place on disk has one. A
// faulty file found on disk is reported as above and not replaced.
void find_and_load_book();

}  // namespace marlek
