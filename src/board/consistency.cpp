#include "board/consistency.h"

#include <algorithm>
#include <cstdlib>

#include "base/output.h"
#include "board/pieces.h"

namespace marlek {

namespace {

std::string list_fault() {
  int on_board_count = 0;
  square_set occupied[2] = {};
  for (square s = 0; s < 120; ++s) {
    const apiece* p = position::board[s];
    if (!p) continue;
    if (!on_board(s)) return "piece off the 0x88 board";
    if (p->sq != s) return "piece does not know its square";
    occupied[p->colour & 1] |= set_of(s);
    const auto& list = position::pieces[p->colour];
    if (std::count(list.begin(), list.end(), p) != 1) return "board piece not once in its list";
    ++on_board_count;
  }
  if (on_board_count != static_cast<int>(position::pieces[0].size() + position::pieces[1].size()))
    return "lists hold pieces that are not on the board";
  for (int c = 0; c < 2; ++c)
    if (occupied[c] != position::occupied_by[c]) return "occupied squares differ from the board";
  for (int c = 0; c < 2; ++c) {
    const apiece* k = position::kings[c];
    if (k && (position::board[k->sq] != k || k->colour != c)) return "king pointer is stale";
  }
  return {};
}

// The key is the piece keys, the side-to-move key when an odd number of
// moves were made since set-up, and some combination of castling keys (the
// events that took rights, which the board cannot tell). Checks that the
// difference is one of those sixteen combinations.
bool key_matches(hash_key pieces_key) {
  hash_key rest = position::position_key ^ pieces_key;
  if (position::ply % 2 != 0) rest ^= zobrist.side_to_move;
  for (int mask = 0; mask < 16; ++mask) {
    hash_key combination;
    for (int right = 0; right < 4; ++right)
      if (mask & (1 << right)) combination ^= zobrist.castling[right];
    if (combination == rest) return true;
  }
  return false;
}

}  // namespace

std::string position_fault() {
  if (std::string fault = list_fault(); !fault.empty()) return fault;
  std::int32_t material[2] = {};
  std::int32_t bishops[2] = {};
  hash_key pieces_key;
  for (int c = 0; c < 2; ++c) {
    for (const apiece* p : position::pieces[c]) {
      material[c] += p->value;
      if (p->letter == 'B' || p->letter == 'b') ++bishops[c];
      pieces_key ^= static_cast<const piece*>(p)->keys[p->sq];
    }
    if (material[c] != position::material[c]) return "material differs";
    if (bishops[c] != position::bishop_count[c]) return "bishop count differs";
  }
  if (!key_matches(pieces_key)) return "position key differs";
  return {};
}

void stop_on_position_fault(const char* after) {
  const std::string fault = position_fault();
  if (fault.empty()) return;
  output_line(std::string("Error: position fault after ") + after + ": " + fault);
  std::abort();
}

}  // namespace marlek
