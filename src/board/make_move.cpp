// Making and unmaking moves. Every change a move makes is recorded with the
// `ply` at which it was made, and its unmake finds it again because
// unmake_move lowers `ply` before it calls the piece. Make and unmake of each
// piece kind sit side by side.
#include <algorithm>
#include <cstdlib>

#include "board/attacks.h"
#include "board/consistency.h"
#include "board/pieces.h"

namespace marlek {

// Every piece -----------------------------------------------------------------

void piece::make(move m) {
  moves_made += 1;
  board[sq] = nullptr;
  if (apiece* victim = board[m.to]) {
    captured.push_back(victim);
    capture_plies.push_back(ply);
    victim->remove();  // its own remove: a bishop's count and a rook's right follow
  }
  board[m.to] = this;
  // ^ rather than |: a castling rook that stays where it is (Chess960)
  // makes a move from its square to the same square.
  occupied_by[colour] ^= set_of(sq) ^ set_of(m.to);
  sq = m.to;
  position_key ^= keys[m.from];
  position_key ^= keys[m.to];
}

void piece::unmake(move m) {
  position_key ^= keys[m.to];
  position_key ^= keys[m.from];
  sq = m.from;
  board[m.to] = nullptr;
  board[m.from] = this;
  occupied_by[colour] ^= set_of(m.from) ^ set_of(m.to);
  if (top_capture_ply() == ply && !captured.empty()) {
    apiece* victim = captured.back();
    victim->add();  // it still knows its square
    captured.pop_back();
    capture_plies.pop_back();
  }
  moves_made -= 1;
}

// Promotion pieces: the take-back of the promotion itself --------------------

void promote_piece::unmake(move m) {
  if (moves_made != 0) {
    piece::unmake(m);
    return;
  }
  // This piece was created by the move being taken back: the pawn returns.
  remove();
  pawn* original = promoted_from;
  original->add();
  original->unmake(m);
  promoted_from = nullptr;  // the pawn lives on; only this piece goes
  delete this;
}

// Pawns -------------------------------------------------------------------------

void pawn::make(move m) {
  if (apiece* victim = en_passant_victim(m, colour)) {
    captured.push_back(victim);
    capture_plies.push_back(ply);
    victim->remove();
  }
  piece::make(m);
  if (rank_of(sq) != 0 && rank_of(sq) != 7) {
    if (std::abs(m.from - m.to) == 32) {
      ep_squares.push_back(sq);
      ep_plies.push_back(ply);
    }
  } else {
    // Promotion. The new piece owns this pawn from now on. A pawn move to
    // the last rank always promotes: a kind that names no piece (which no
    // generator produces) is read as a queen rather than leaving the
    // square empty.
    remove();
    switch (m.kind) {
      case promote_rook: new rook(sq, colour, this); break;
      case promote_knight: new knight(sq, colour, this); break;
      case promote_bishop: new bishop(sq, colour, this); break;
      default: new queen(sq, colour, this); break;
    }
  }
  pawn_plies.push_back(ply);
}

void pawn::unmake(move m) {
  pawn_plies.pop_back();
  if (std::abs(m.from - m.to) == 32) {
    ep_squares.pop_back();
    ep_plies.pop_back();
  }
  piece::unmake(m);  // also puts back a pawn taken en passant: same ply
}

// Kings: the first move takes both castling rights of its side --------------

void king::make(move m) {
  const int side = castling_side_at(sq);  // the square decides, not the colour
  if (moves_made == 0 && side >= 0) {
    std::uint8_t* rights = castling_rights + 2 * side;
    saved_rights[0] = rights[0];
    saved_rights[1] = rights[1];
    rights[0] = rights[1] = 0;
    position_key ^= zobrist.castling[2 * side];
    position_key ^= zobrist.castling[2 * side + 1];
    // While a right is held its king and rook stand unmoved in place, so a
    // king move that names its castling is that castling.
    if (const castling* c = castling_by_king(sq, m.to); c && saved_rights[c->right - 2 * side]) {
      move_with_rook(*c);
      return;
    }
  }
  piece::make(m);
}

void king::unmake(move m) {
  if (castled_at[colour] == ply)  // the king need not stand on m.to
    move_back_with_rook(*castling_by_king(m.from, m.to));
  else
    piece::unmake(m);
  const int side = castling_side_at(sq);
  if (moves_made == 0 && side >= 0) {
    std::uint8_t* rights = castling_rights + 2 * side;
    rights[0] = saved_rights[0];
    rights[1] = saved_rights[1];
    position_key ^= zobrist.castling[2 * side];
    position_key ^= zobrist.castling[2 * side + 1];
  }
}

// Castling is the king's first move together with the rook's own make. The
// king leaves its square before the rook moves and lands after it: in
// Chess960 the rook may land where the king stood and the king where the
// rook stood (or either may stay where it is).
void king::move_with_rook(const castling& c) {
  moves_made += 1;
  board[sq] = nullptr;
  occupied_by[colour] ^= set_of(sq);
  position_key ^= keys[sq];
  board[c.rook_from]->make(move(c.rook_from, c.rook_to));
  sq = c.king_to;
  board[sq] = this;
  occupied_by[colour] ^= set_of(sq);
  position_key ^= keys[sq];
  castled_at[colour] = ply;
}

void king::move_back_with_rook(const castling& c) {
  board[sq] = nullptr;
  occupied_by[colour] ^= set_of(sq);
  position_key ^= keys[sq];
  board[c.rook_to]->unmake(move(c.rook_from, c.rook_to));
  sq = c.king_from;
  board[sq] = this;
  occupied_by[colour] ^= set_of(sq);
  position_key ^= keys[sq];
  castled_at[colour] = no_ply;
  moves_made -= 1;
}

// Rooks: an unmoved rook at home carries the right of its castling ---------

void rook::revoke_right() {
  int right = rook_right(sq, colour);
  if (right < 0) return;
  saved_right = castling_rights[right];
  castling_rights[right] = 0;
  position_key ^= zobrist.castling[right];  // also when the right was gone already
}

void rook::restore_right() {
  int right = rook_right(sq, colour);
  if (right < 0) return;
  castling_rights[right] = saved_right;
  position_key ^= zobrist.castling[right];
}

void rook::make(move m) {
  if (moves_made == 0) revoke_right();
  piece::make(m);
}

void rook::remove() {
  if (moves_made == 0) revoke_right();  // taken at home: the right goes with it
  piece::remove();
}

void rook::add() {
  piece::add();
  if (moves_made == 0) restore_right();
}

void rook::unmake(move m) {
  // With no move made, this is the take-back of the promotion that created
  // this rook, which deletes it: it must not be looked at again. A promoted
  // rook never stands on a corner of its own colour, so nothing is lost.
  if (moves_made == 0) {
    promote_piece::unmake(m);
    return;
  }
  promote_piece::unmake(m);
  if (moves_made == 0) restore_right();
}

// The position --------------------------------------------------------------------

void make_move(move m) {
  settle_check_state();
  // Built in place: a temporary entry assembled on the stack and copied made
  // the processor wait on a narrow store read back wide.
  position::path.emplace_back().made = m;
  piece& p = static_cast<piece&>(*position::board[m.from]);
  if (p.moves_made >= p.plain_after)
    p.piece::make(m);
  else
    p.make(m);
  position::side_to_move = 1 - position::side_to_move;
  position::position_key ^= zobrist.side_to_move;
  position::ply += 1;
  check_position("make_move");
}

void unmake_move(move m) {
  position::ply -= 1;
  position::position_key ^= zobrist.side_to_move;
  position::side_to_move = 1 - position::side_to_move;
  // A castling need not leave the king on m.to (castling.h).
  apiece* mover = position::board[m.to];
  if (position::castled_at[position::side_to_move] == position::ply)
    mover = position::kings[position::side_to_move];
  piece& p = static_cast<piece&>(*mover);
  if (p.moves_made > p.plain_after)
    p.piece::unmake(m);
  else
    p.unmake(m);
  position::path.pop_back();
  check_position("unmake_move");
}

namespace {
void move_to_end_of_list(apiece* p) {
  auto& list = position::pieces[p->colour];
  auto at = std::find(list.begin(), list.end(), p);
  std::rotate(at, at + 1, list.end());
}
}  // namespace

void reorder_as_if_made(move m) {
  apiece* mover = position::board[m.from];
  const bool pawn = mover->letter == 'P' || mover->letter == 'p';
  if (pawn)
    if (apiece* victim = position::en_passant_victim(m, mover->colour)) move_to_end_of_list(victim);
  // A Chess960 castling names the square of the king's own rook, which stays on the board.
  if (apiece* victim = position::board[m.to]; victim && victim->colour != mover->colour)
    move_to_end_of_list(victim);
  if (pawn && (rank_of(m.to) == 0 || rank_of(m.to) == 7)) move_to_end_of_list(mover);
}

void make_null() {
  settle_check_state();
  // The side that passes leaves its king as safe as it was: known safe when
  // it was known not to be in check.
  const bool safe = !position::path.empty() && position::path.back().checked == 0;
  position::path.emplace_back().mover_safe = safe;
  position::side_to_move = 1 - position::side_to_move;
  position::position_key ^= zobrist.side_to_move;
  position::ply += 1;
}

void unmake_null() {
  position::side_to_move = 1 - position::side_to_move;
  position::position_key ^= zobrist.side_to_move;
  position::ply -= 1;
  position::path.pop_back();
}

}  // namespace marlek
