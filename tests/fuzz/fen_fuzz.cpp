// Set-up from arbitrary text. A refused text must leave a position that
// accepts no move. An accepted one must be a legal, consistent position
// whose every move, two plies deep, makes and unmakes without a trace, and
// whose root move list holds exactly its legal moves.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "board/attacks.h"
#include "board/move_list.h"
#include "fuzz_support.h"
#include "game/root.h"
#include "search/search_state.h"

namespace {

using namespace marlek;
using fuzz::position_snapshot;

// Moves offered to a refused set-up: opening moves, a castle, a promotion
// and a move that is no move at all.
constexpr const char* moves_to_refuse[] = {"e2e4", "g1f3", "e1g1", "e7e8q", "a1a1"};
// Plies of every line made and unmade from an accepted position.
constexpr int walk_depth = 2;

bool set_up_message(std::string_view line) {
  return line.starts_with("root::SetBoard: ") || line.starts_with("root::Setboard: ");
}

void check_refused(const char* text) {
  const std::vector<std::string> lines = fuzz::take_output();
  FUZZ_REQUIRE(lines.size() == 1 && set_up_message(lines[0]));
  FUZZ_REQUIRE(root_moves_end == 0);
  FUZZ_REQUIRE(global_moves.empty());
  FUZZ_REQUIRE(position_fault().empty());
  for (const char* move_text : moves_to_refuse)
    FUZZ_REQUIRE(root::play_move(move(move_text)) == play_result::not_legal);
  FUZZ_REQUIRE(root::play_move(move(text)) == play_result::not_legal);
  FUZZ_REQUIRE(root::game_record.empty() && position::ply == 0);
}

// The moves in a fixed order: the root list's own order depends on history
// and on an unstable sort, so lists are compared as sets.
std::vector<move> sorted(std::vector<move> moves) {
  auto packed = [](move m) {
    return static_cast<std::uint32_t>(static_cast<std::uint16_t>(m.kind)) << 16 | m.from << 8 |
           m.to;
  };
  std::sort(moves.begin(), moves.end(), [&](move a, move b) { return packed(a) < packed(b); });
  return moves;
}

std::vector<move> root_list() {
  return std::vector<move>(global_moves.begin(), global_moves.begin() + root_moves_end);
}

// Makes every pseudo-legal move of the position; the legal ones are checked
// and walked one ply less deep, the illegal ones only unmade. Every unmake
// must give back the position exactly. Returns the legal moves.
std::vector<move> walk(int depth) {
  const position_snapshot before = position_snapshot::take();
  std::vector<move> legal;
  move_list frame;
  generate_captures();
  generate_quiet();
  for (std::size_t i = frame.start(); i < frame.end(); ++i) {
    const move m = global_moves[i];
    make_move(m);
    if (!in_check(1 - position::side_to_move)) {
      legal.push_back(m);
      fuzz::require_sound_position();
      if (depth > 1) walk(depth - 1);
    }
    unmake_move(m);
    FUZZ_REQUIRE(position_snapshot::take() == before);
  }
  return legal;
}

// Playing the first root move as a game move and taking it back restores
// the position and its legal moves.
void check_game_move() {
  if (root_moves_end == 0) return;
  const position_snapshot before = position_snapshot::take();
  const std::vector<move> roots = root_list();
  FUZZ_REQUIRE(root::play_move(roots[0]) != play_result::not_legal);
  FUZZ_REQUIRE(root::take_back());
  FUZZ_REQUIRE(position_snapshot::take() == before);
  FUZZ_REQUIRE(sorted(root_list()) == sorted(roots));
}

void check_accepted() {
  FUZZ_REQUIRE(fuzz::take_output().empty());
  fuzz::require_sound_position();
  FUZZ_REQUIRE(position::ply == 0 && global_moves.size() == root_moves_end);

  FUZZ_REQUIRE(sorted(walk(walk_depth)) == sorted(root_list()));
  check_game_move();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto text = fuzz::exact_text(data, size);
  fuzz::take_output();  // result lines of the last input's game move
  if (root::SetBoard(text.get()))
    check_accepted();
  else
    check_refused(text.get());
  // Every piece this input built is freed within its run, so that
  // libFuzzer's leak check sees balanced allocations.
  root::clear_board();
  return 0;
}
