#pragma once
// Shared by the book tests: small book files written into a temporary
// directory, loaded with the engine's output captured, and a look-up of
// the position that a sequence of moves from the initial position reaches.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>

#include "base/flags.h"
#include "base/output.h"
#include "book/book_loader.h"
#include "book/opening_book.h"
#include "game/root.h"

namespace marlek {

inline constexpr const char* example_book =
    "# main line and two side lines\n"
    "1. e2e4 e7e5 2. g1f3 b8c6 3. f1b5\n"
    "2. f2f4\n"
    "1... c7c5 2. g1f3\n";

class BookTest : public testing::Test {
 protected:
  void SetUp() override {
    clear_book();
    use_book = true;
    set_output_stream(&out_);
    path_ = testing::TempDir() + "marlek_book_" +
            testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
  }
  void TearDown() override {
    set_output_stream(nullptr);
    std::remove(path_.c_str());
    clear_book();
    use_book = true;
    root::SetBoard(start_position_fen);
  }

  // Writes `text` byte for byte as a book file and loads it; returns what
  // the loader wrote.
  std::string load(const std::string& text) {
    std::ofstream(path_, std::ios::binary) << text;
    return load_file(path_);
  }

  std::string load_file(const std::string& path) {
    out_.str("");
    load_book(path.c_str());
    std::string written = out_.str();
    out_.str("");
    return written;
  }

  std::string parse_error(int line) const {
    return "Error parsing " + path_ + " at line " + std::to_string(line) + ".\n";
  }

  // Sets up the initial position and makes the moves.
  static void reach(std::initializer_list<const char*> moves) {
    root::SetBoard(start_position_fen);
    for (const char* text : moves) make_move(move(text));
  }

  static bool stored(std::initializer_list<const char*> moves) {
    reach(moves);
    return in_book();
  }

  std::ostringstream out_;
  std::string path_;
};

}  // namespace marlek
