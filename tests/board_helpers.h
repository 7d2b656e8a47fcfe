#pragma once
// Helpers shared by the board tests.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "board/attacks.h"
#include "board/consistency.h"
#include "board/move_list.h"
#include "board/position.h"
#include "game/root.h"
#include "output_capture.h"
#include "search/root_moves.h"
#include "search/search_state.h"

namespace marlek::test {

using captured_output = test::output_capture;

// Sets a position up and fails the test when the text is refused.
inline void set_up(const std::string& fen, bool chess960 = false) {
  captured_output quiet;
  ASSERT_TRUE(root::SetBoard(fen.c_str(), nullptr, chess960)) << fen << ": " << quiet.text();
}

// The legal moves of the position, as built for the root.
inline std::vector<move> root_moves() {
  return std::vector<move>(global_moves.begin(),
                           global_moves.begin() + static_cast<std::ptrdiff_t>(root_moves_end));
}

inline std::vector<std::string> root_move_texts() {
  std::vector<std::string> texts;
  for (move m : root_moves()) texts.push_back(to_text(m));
  return texts;
}

// Everything about the position that an unmake must restore, the order of
// the piece lists aside (a captured piece comes back at the end of its list).
struct snapshot {
  const apiece* board[120];
  std::vector<const apiece*> pieces[2];
  std::int32_t material[2], bishops[2], side, ply;
  std::uint8_t rights[4];
  hash_key key;

  static snapshot take() {
    snapshot s;
    for (int i = 0; i < 120; ++i) s.board[i] = position::board[i];
    for (int c = 0; c < 2; ++c) {
      s.pieces[c].assign(position::pieces[c].begin(), position::pieces[c].end());
      std::sort(s.pieces[c].begin(), s.pieces[c].end());
      s.material[c] = position::material[c];
      s.bishops[c] = position::bishop_count[c];
    }
    s.side = position::side_to_move;
    s.ply = position::ply;
    for (int r = 0; r < 4; ++r) s.rights[r] = position::castling_rights[r];
    s.key = position::position_key;
    return s;
  }

  bool operator==(const snapshot& o) const {
    for (int i = 0; i < 120; ++i)
      if (board[i] != o.board[i]) return false;
    for (int r = 0; r < 4; ++r)
      if (rights[r] != o.rights[r]) return false;
    return pieces[0] == o.pieces[0] && pieces[1] == o.pieces[1] && material[0] == o.material[0] &&
           material[1] == o.material[1] && bishops[0] == o.bishops[0] &&
           bishops[1] == o.bishops[1] && side == o.side && ply == o.ply && key == o.key;
  }
};

}  // namespace marlek::test
