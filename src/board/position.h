#pragma once
// The one game position of the engine, mutated in place by every move that
// the search or the game makes and unmakes.
//
// Pieces are polymorphic objects that stand on a 0x88 board of pointers; each
// generates, makes and unmakes its own moves. Everything the search needs per
// node (material, bishop counts, the position key, the king pointers) is kept
// incrementally by putting pieces on the board and taking them off.
//
// The state lives as static data of `position`, the empty base of every piece
// and of `root`, so that piece code reaches `board` and the stacks directly.
// Only the thread that owns the game touches it: the main thread while the
// book loads at start-up, the engine thread afterwards.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/fixed_vector.h"
#include "board/keys.h"
#include "board/move.h"
#include "board/square_sets.h"

namespace marlek {

// The abstract piece: what every piece answers for.
class apiece {
 public:
  square sq = 0;  // where it stands, or stood when it was taken off
  std::int32_t value = 0;
  std::int32_t colour = white;
  char letter = '?';  // upper case for White, lower case for Black

  // Attack test and generation (move_gen.cpp).
  virtual bool attacks(square target) const = 0;
  virtual void gen_captures() const = 0;  // pseudo-legal captures onto global_moves
  virtual void gen_quiet() const = 0;     // pseudo-legal non-captures onto global_moves
  // Making moves (make_move.cpp) and putting on / taking off (pieces.cpp).
  virtual void make(move m) = 0;
  virtual void add() = 0;
  virtual void remove() = 0;
  virtual void unmake(move m) = 0;
  virtual ~apiece() = default;
};

// The room of each of the position's stacks. A side has at most 64 pieces
// (a FEN may fill the board), a game and its search at most a few thousand
// plies, and a line of search at most some hundred nodes of up to 218
// moves each; each stack holds well beyond that.
inline constexpr std::size_t max_pieces_per_side = 64;
// No position has more legal moves.
inline constexpr std::size_t max_moves_in_position = 256;
inline constexpr std::size_t max_path_length = std::size_t{1} << 14;
inline constexpr std::size_t move_stack_size = std::size_t{1} << 16;

// One position of the path from set-up to here (position::path): the move
// that led to it (set-up and null moves leave from == to); once asked, how
// many enemy pieces give check to its side to move, and the squares of the
// first two; and whether the move was found legal before it was made.
struct path_step {
  static constexpr std::int8_t check_unknown = -1;
  move made;
  std::int8_t checked = check_unknown;  // number of checking pieces
  bool mover_safe = false;
  std::uint8_t checkers[2] = {};
};

class position {
 public:
  static inline thread_local apiece* board[120] = {};
  // The same board as the squares each colour's pieces stand on (see
  // square_sets.h), kept with it wherever a piece is put on, taken off or
  // moved.
  static inline thread_local square_set occupied_by[2] = {};
  static square_set occupied() { return occupied_by[white] | occupied_by[black]; }
  // Pieces on the board per colour, in the order they were last put on it:
  // a captured piece put back by an unmake goes to the end.
  static inline thread_local fixed_vector<apiece*, max_pieces_per_side> pieces[2];
  static inline thread_local apiece* kings[2] = {};
  static inline thread_local std::int32_t material[2] = {};
  static inline thread_local std::int32_t bishop_count[2] = {};
  static inline thread_local std::int32_t side_to_move = white;
  static inline thread_local std::int32_t ply = 0;  // half-moves since set-up, null moves included
  static inline thread_local std::uint8_t castling_rights[4] = {};  // K, Q, k, q
  static inline thread_local hash_key position_key;

  // History stacks for unmaking, read only at their tops. Every entry
  // carries the `ply` at which its move was made, so an unmake recognises
  // its own entries.
  // Captured pieces wait here for their unmake; the stack is never
  // destroyed, so that pieces still captured at exit stay reachable.
  static inline thread_local fixed_vector<apiece*, max_pieces_per_side * 2> captured;
  // Bottom: -1 - half-move clock; then one entry per capture made.
  static inline thread_local fixed_vector<std::int32_t, max_pieces_per_side * 2 + 1> capture_plies;
  // Each pawn steps forward at most six times.
  static inline thread_local fixed_vector<std::int32_t, 8 * 6 * 2> pawn_plies;
  // Pawns whose double step is made (at most one each), and set-up pushes
  // -1 (capture now) or -2 onto the plies.
  static inline thread_local fixed_vector<square, max_pieces_per_side * 2> ep_squares;
  static inline thread_local fixed_vector<std::int32_t, max_pieces_per_side * 2> ep_plies;

  // The positions from set-up to here, one entry each (path_step). The
  // check tests read the top entries (attacks.cpp).
  static constexpr std::int8_t check_unknown = path_step::check_unknown;
  using path_entry = path_step;
  static inline thread_local fixed_vector<path_entry, max_path_length> path;

  // Tops of the stacks, in bounds: an empty stack has no entry, which
  // no_ply stands for (a ply no move can have).
  static constexpr std::int32_t no_ply = -1000000;
  static std::int32_t top_capture_ply() {
    return capture_plies.empty() ? no_ply : capture_plies.back();
  }
  static std::int32_t top_pawn_ply() { return pawn_plies.empty() ? no_ply : pawn_plies.back(); }
  static std::int32_t top_ep_ply() { return ep_plies.empty() ? no_ply : ep_plies.back(); }
  // The ply at which each side castled, while that castling stands made,
  // else no_ply. A side castles at most once along any line of play (it is
  // its king's first move), so one entry per side is its whole stack. A
  // Chess960 castling move does not name the king's square (castling.h):
  // unmake_move and the check tests learn from here that it was one.
  static inline thread_local std::int32_t castled_at[2] = {no_ply, no_ply};
  static bool just_castled(int c) { return castled_at[c] == ply - 1; }
  // True when the last move made was a double step (or set-up named one), so
  // that an en-passant capture is possible now; `pawn_square` is then the
  // square of the pawn that made it.
  static bool en_passant_open(square& pawn_square) {
    if (ep_squares.empty() || top_ep_ply() + 1 != ply) return false;
    pawn_square = ep_squares.back();
    return true;
  }
  // The pawn that m takes en passant when a pawn of colour c makes it, or
  // null: m must go diagonally forward past a pawn that has just stepped
  // twice.
  static apiece* en_passant_victim(move m, int c) {
    square passed_pawn;
    if (!en_passant_open(passed_pawn) || std::abs(m.from - passed_pawn) != 1) return nullptr;
    const int forward = c == white ? 16 : -16;
    return passed_pawn + forward == m.to ? board[passed_pawn] : nullptr;
  }
};

// The one move stack: generators append to its end, and each search level
// owns the stretch it appended (a move_list) until it returns. Everything
// that refers into it is an index. 2048 moves is more than deep searches of
// ordinary positions need.
inline constexpr std::size_t reserved_moves = 2048;
inline thread_local fixed_vector<move, move_stack_size> global_moves;

// Generation for the side to move (move_gen.cpp).
void generate_captures();
void generate_quiet();

// Making moves (make_move.cpp). make_move trusts that `m` was generated for
// the current position; unmake_move that it was the last move made.
void make_move(move m);
void unmake_move(move m);
void make_null();
void unmake_null();
// Leaves the position as make_move(m) followed by unmake_move(m) would:
// unchanged, but for the order of the piece lists. A piece taken off and
// put back goes to the end of its list: the victim of a capture, and a
// pawn that promotes (its new piece is taken off again and the pawn put
// back). Used for a move that is tested, or answered, without being made
// (is_legal, and the search's shortcuts).
void reorder_as_if_made(move m);

}  // namespace marlek
