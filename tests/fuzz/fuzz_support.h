#pragma once
// What the fuzz targets share: loading the keys once, holding the engine's
// output lines in memory instead of printing them, a snapshot of the whole
// position, the soundness check of a position, and the check that stops
// the run when an invariant breaks.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/output.h"
#include "board/attacks.h"
#include "board/consistency.h"
#include "board/keys.h"
#include "board/position.h"

namespace marlek::fuzz {

// Prints what broke and traps, so that libFuzzer keeps the input as a crash.
[[noreturn]] inline void fail(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, condition);
  __builtin_trap();
}

#define FUZZ_REQUIRE(condition) \
  ((condition) ? (void)0 : ::marlek::fuzz::fail(#condition, __FILE__, __LINE__))

// The engine's output lines of the current input; nothing reaches stdout.
inline std::ostringstream& engine_output() {
  static std::ostringstream stream;
  return stream;
}

// Returns the lines written since the last call and forgets them.
inline std::vector<std::string> take_output() {
  std::vector<std::string> lines;
  std::istringstream in(engine_output().str());
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  engine_output().str("");
  engine_output().clear();
  return lines;
}

// A position play can go on from: lists, counters and key agree with the
// board, both kings stand, and the side that just moved is not in check.
inline void require_sound_position() {
  FUZZ_REQUIRE(position_fault().empty());
  FUZZ_REQUIRE(position::kings[white] && position::kings[black]);
  FUZZ_REQUIRE(!in_check(1 - position::side_to_move));
}

// For LLVMFuzzerInitialize: the keys, then the output kept in memory.
inline void initialize() {
  load_keys(MARLEK_BUILD_DIR "/marlekkeys.bin");
  set_output_stream(&engine_output());
}

// A NUL-terminated copy of the fuzz input, up to its first NUL, in a heap
// block of exactly that size: AddressSanitizer sees any read past the NUL.
inline std::unique_ptr<char[]> exact_text(const std::uint8_t* data, std::size_t size) {
  const std::size_t length = std::find(data, data + size, 0) - data;
  std::unique_ptr<char[]> text(new char[length + 1]);
  std::memcpy(text.get(), data, length);
  text[length] = '\0';
  return text;
}

// Everything an unmake must restore. The piece lists are compared as sets
// (a captured piece comes back at the end of its list), kept sorted in
// fixed arrays: a snapshot is taken after every unmake and must not
// allocate.
struct position_snapshot {
  static constexpr std::size_t max_pieces = 64;  // a full board of one colour

  const apiece* board[120];
  std::array<const apiece*, max_pieces> pieces[2];
  std::size_t piece_count[2];
  std::int32_t material[2], bishops[2], side, ply;
  std::uint8_t rights[4];
  hash_key key;

  static position_snapshot take() {
    position_snapshot s;
    std::copy(std::begin(position::board), std::end(position::board), s.board);
    for (int c = 0; c < 2; ++c) {
      const auto& list = position::pieces[c];
      s.piece_count[c] = std::min(list.size(), max_pieces);
      s.pieces[c].fill(nullptr);
      std::copy_n(list.begin(), s.piece_count[c], s.pieces[c].begin());
      std::sort(s.pieces[c].begin(), s.pieces[c].begin() + s.piece_count[c]);
      s.material[c] = position::material[c];
      s.bishops[c] = position::bishop_count[c];
    }
    s.side = position::side_to_move;
    s.ply = position::ply;
    std::copy(std::begin(position::castling_rights), std::end(position::castling_rights), s.rights);
    s.key = position::position_key;
    return s;
  }

  bool operator==(const position_snapshot& o) const {
    return std::equal(std::begin(board), std::end(board), o.board) && pieces[0] == o.pieces[0] &&
           pieces[1] == o.pieces[1] && piece_count[0] == o.piece_count[0] &&
           piece_count[1] == o.piece_count[1] && material[0] == o.material[0] &&
           material[1] == o.material[1] && bishops[0] == o.bishops[0] &&
           bishops[1] == o.bishops[1] && side == o.side && ply == o.ply &&
           std::equal(std::begin(rights), std::end(rights), o.rights) && key == o.key;
  }
};

// Runs `run_line` on every line of a fuzz input, the last one without its
// newline too.
template <typename Run>
void for_each_line(const std::uint8_t* data, std::size_t size, Run run_line) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  for (;;) {
    const std::size_t end = input.find('\n');
    run_line(input.substr(0, end));
    if (end == std::string_view::npos) break;
    input.remove_prefix(end + 1);
  }
}

}  // namespace marlek::fuzz
