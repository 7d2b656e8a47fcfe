// The book loader on arbitrary file contents. Whatever the file holds, the
// loader must stay within its buffers, store only positions reached by
// legal moves (so the side that just moved is never left in check), leave
// a consistent position with the moves of its line on the board, and stop
// at the first fault with one error line.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "book/book_loader.h"
#include "book/opening_book.h"
#include "fuzz_support.h"
#include "game/root.h"
#include "search/search_state.h"

namespace {

using namespace marlek;

constexpr std::string_view book_full_error = "Error: Book either full";

// One file per process, so that fuzzers running side by side do not share
// it; in memory when the system offers a memory file system, since the file
// is rewritten for every input.
const std::string& book_path() {
  static const std::string path = [] {
    const std::filesystem::path memory_dir = "/dev/shm";
    std::error_code error;
    const std::filesystem::path dir = std::filesystem::is_directory(memory_dir, error)
                                          ? memory_dir
                                          : std::filesystem::temp_directory_path();
    return (dir / ("marlek_book_fuzz." + std::to_string(getpid()) + ".txt")).string();
  }();
  return path;
}

void write_book(const std::uint8_t* data, std::size_t size) {
  std::ofstream file(book_path(), std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// Every stored position was reached by a move token, and a move token holds
// two file letters.
std::size_t most_positions(const std::uint8_t* data, std::size_t size) {
  return std::count_if(data, data + size, [](std::uint8_t c) { return c >= 'a' && c <= 'h'; }) / 2;
}

void check_loaded(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> lines = fuzz::take_output();
  FUZZ_REQUIRE(lines.size() <= 1);
  const bool error = lines.size() == 1;
  if (error) FUZZ_REQUIRE(lines[0].starts_with("Error"));

  const int stored = opening_book::stored_positions();
  FUZZ_REQUIRE(stored >= 0 && static_cast<std::uint32_t>(stored) <= opening_book::slot_count);
  FUZZ_REQUIRE(static_cast<std::size_t>(stored) <= most_positions(data, size));

  fuzz::require_sound_position();
  FUZZ_REQUIRE(static_cast<std::size_t>(position::ply) == book_line.size());
  FUZZ_REQUIRE(global_moves.size() == root_moves_end);
  // The position the replay stopped at was stored when a move reached it,
  // unless the book had no room for it.
  if (position::ply > 0 && !(error && lines[0].starts_with(book_full_error)))
    FUZZ_REQUIRE(in_book());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::initialize();
  // The path is built before the handler is registered, so that it is
  // destroyed after the handler has run.
  book_path();
  std::atexit([] { std::filesystem::remove(book_path()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  write_book(data, size);
  clear_book();
  load_book(book_path().c_str());
  check_loaded(data, size);
  // Free this input's pieces within its run, for libFuzzer's leak check.
  root::clear_board();
  return 0;
}
