// Each piece kind's own attack test and its pseudo-legal move generation,
// and the generators of the whole side to move. Moves that leave the
// mover's own king attacked are produced too; the legality test
// (attacks.h) filters them out.
#include <bit>
#include <cstdlib>
#include <cstring>

#include "board/attacks.h"
#include "board/line_steps.h"
#include "board/pieces.h"

namespace marlek {

namespace {
// The move is written as one 32-bit word. Field by field, the compiler
// stores it in two halves, and the picker, which reads the whole move back
// at once right after generation, has to wait for both to reach the cache.
// The append is forced inline: left to the whole-program inliner, some
// generators called it out of line whenever code anywhere else had used
// up the program's budget for growth by inlining.
[[gnu::always_inline, gnu::flatten]] inline void push(square from, square to,
                                                      std::int16_t kind = no_promotion) {
  const std::uint32_t word = std::bit_cast<std::uint32_t>(move(from, to, kind));
  std::memcpy(static_cast<void*>(&global_moves.emplace_back()), &word, sizeof word);
}
bool is_last_rank(square s) { return rank_of(s) == 0 || rank_of(s) == 7; }
}  // namespace

// Sliding pieces ----------------------------------------------------------

// The difference of the squares gives the one line that can reach the
// target (line_steps.h): only that line is walked, not every direction of
// the piece.
bool ray_piece::attacks(square target) const {
  const int diff = target - sq;
  if (diff < -119 || diff > 119) return false;
  const int step = line_steps.step[119 + diff];
  if (step == 0) return false;
  const int unit = step < 0 ? -step : step;
  bool moves_that_way = false;
  for (const int* d = directions; *d; ++d) moves_that_way |= *d == unit;
  if (!moves_that_way) return false;
  // The target is compared before occupancy: an occupied target is attacked.
  for (square s = sq + step; on_board(s); s += step) {
    if (s == target) return true;
    if (board[s]) return false;
  }
  return false;
}

// The generators copy the piece's square and colour first: both sit in the
// virtual base, behind an offset lookup, and since every push writes memory
// the compiler would otherwise fetch them again after each one.
namespace {
// Each generator is written once, for a piece of colour `own` on `from`
// moving along `directions`; the pieces' own generators and the side's
// generators below both call it.
// Along each direction the first piece met is found from the occupied
// squares at once, rather than by walking the empty squares before it.
void ray_captures(square from, int own, const int* directions) {
  const square_set occupied = position::occupied();
  const square_set enemy = position::occupied_by[1 - own];
  auto capture_along = [&](int step) {
    if (!(lines_of.from(from, step) & enemy)) return;  // no enemy piece on the line at all
    const square first = lines_of.first_along(from, step, occupied);
    if (enemy & set_of(first)) push(from, first);
  };
  for (const int* d = directions; *d; ++d) {
    capture_along(*d);
    capture_along(-*d);
  }
}

void ray_quiet(square from, const int* directions) {
  apiece* const* const board = position::board;
  for (const int* d = directions; *d; ++d) {
    for (int step : {*d, -*d}) {
      for (square s = from + step; on_board(s) && !board[s]; s += step) push(from, s);
    }
  }
}
}  // namespace

void ray_piece::gen_captures() const { ray_captures(sq, colour, directions); }
void ray_piece::gen_quiet() const { ray_quiet(sq, directions); }

// Stepping pieces -----------------------------------------------------------

bool step_piece::attacks(square target) const {
  // On a 0x88 board each difference of squares belongs to one geometric
  // step, so comparing the distance with the offsets is the whole test.
  int diff = std::abs(sq - target);
  for (const int* d = directions; *d; ++d)
    if (diff == *d) return true;
  return false;
}

namespace {
void step_captures(square from, int own, const int* directions) {
  const square_set enemy = position::occupied_by[1 - own];
  for (const int* d = directions; *d; ++d) {
    for (int step : {*d, -*d}) {
      square s = from + step;
      if (on_board(s) && (enemy & set_of(s))) push(from, s);
    }
  }
}

void step_quiet(square from, const int* directions) {
  apiece* const* const board = position::board;
  for (const int* d = directions; *d; ++d) {
    for (int step : {*d, -*d}) {
      square s = from + step;
      if (on_board(s) && !board[s]) push(from, s);
    }
  }
}
}  // namespace

void step_piece::gen_captures() const { step_captures(sq, colour, directions); }
void step_piece::gen_quiet() const { step_quiet(sq, directions); }

// Pawns -----------------------------------------------------------------------

bool pawn::attacks(square target) const {
  int diff = target - sq;
  return diff == directions[1] || diff == directions[2];
}

namespace {
void push_promotions(square from, square to) {
  // Queen first: it is nearly always the promotion worth searching first.
  push(from, to, promote_queen);
  push(from, to, promote_rook);
  push(from, to, promote_bishop);
  push(from, to, promote_knight);
}

// `steps`: the forward step, then the two capture steps.
void pawn_captures(square from, int own, const int* steps) {
  const square_set enemy = position::occupied_by[1 - own];
  square passed_pawn;
  if (position::en_passant_open(passed_pawn) && std::abs(passed_pawn - from) == 1)
    push(from, passed_pawn + steps[0]);
  for (int i = 1; i <= 2; ++i) {
    square s = from + steps[i];
    if (!on_board(s) || !(enemy & set_of(s))) continue;
    if (is_last_rank(s))
      push_promotions(from, s);
    else
      push(from, s);
  }
}

void pawn_quiet(square from, const int* steps, bool unmoved) {
  apiece* const* const board = position::board;
  const int forward = steps[0];
  square s = from + forward;
  if (!on_board(s) || board[s]) return;
  if (is_last_rank(s))
    push_promotions(from, s);
  else
    push(from, s);
  // Only an unmoved pawn on its second rank may step twice; for a pawn of
  // the other colour on that rank the second step leaves the board.
  if (!unmoved || (rank_of(from) != 1 && rank_of(from) != 6)) return;
  square s2 = s + forward;
  if (on_board(s2) && !board[s2]) push(from, s2);
}
}  // namespace

void pawn::gen_captures() const { pawn_captures(sq, colour, directions); }
void pawn::gen_quiet() const { pawn_quiet(sq, directions, moves_made == 0); }

// Kings: castling comes before the ordinary steps --------------------------

namespace {
// Whether the king may go the way of castling `c`: every square that king
// or rook crosses or lands on empty but for the two of them, and none of
// the squares the king passes over or lands on attacked (its own square is
// tested by the caller). On the queen side of standard chess the square
// beside the rook need only be empty. The rook's presence is trusted to the
// right: it goes when the rook moves or is taken, and set-up grants it only
// with the rook in place. In Chess960 the rook can shield the king's
// destination from an attack along the rank until it moves away; that the
// king does not land in check is left to the legality test after the move,
// as for every move.
bool castling_way_clear(const castling& c) {
  if (position::occupied() & c.must_be_empty) return false;
  const int step = c.king_to > c.king_from ? 1 : -1;
  for (square s = c.king_from; s != c.king_to;) {
    s += step;
    if (attacked(1 - c.colour, s)) return false;
  }
  return true;
}

// The castlings of the king on `from`, king side first. Kept out of line:
// the generators of the whole side inline the king's own, and this part is
// seldom needed.
[[gnu::noinline]] void push_castlings(square from) {
  // The square decides which side's castlings are tried, not the colour.
  const int side = castling_side_at(from);
  if (side < 0 || in_check(side)) return;
  for (const castling& c : castlings)
    if (c.colour == side && position::castling_rights[c.right] && castling_way_clear(c))
      push(from, c.move_to);
}
}  // namespace

void king::gen_quiet() const {
  if (moves_made == 0) push_castlings(sq);
  step_piece::gen_quiet();
}

// Whole side ------------------------------------------------------------------

// The side's generators call the generator of each piece's kind directly,
// found from its letter, where a virtual call would pass through the
// adjusting thunk of the virtual base; the moves and their order are those
// of asking each piece. The king's quiet moves, castling first, are its own.

namespace {
enum class generator { pawn, knight, king, bishop, rook, queen };
generator generator_of(char letter) {
  switch (letter) {
    case 'P':
    case 'p': return generator::pawn;
    case 'N':
    case 'n': return generator::knight;
    case 'K':
    case 'k': return generator::king;
    case 'B':
    case 'b': return generator::bishop;
    case 'R':
    case 'r': return generator::rook;
    default: return generator::queen;
  }
}
}  // namespace

// A piece with no enemy piece anywhere within its reach on an empty board
// has no capture, and is passed over without looking along its lines;
// most pieces are. En passant keeps every pawn in. The pieces kept are
// found for the whole list first, without a branch per piece: which are
// kept follows no order a processor could learn.
void generate_captures() {
  const int own = position::side_to_move;
  const square_set enemy = position::occupied_by[1 - own];
  square passed_pawn;
  const bool en_passant = position::en_passant_open(passed_pawn);
  const auto& list = position::pieces[own];
  const std::size_t count = list.size();
  std::uint64_t kept = 0;
  for (std::size_t n = 0; n < count && n < 64; ++n) {
    const apiece& p = *list[n];
    const bool near = (reach_of.of(p.letter, bit_index(p.sq)) & enemy) != 0;
    const bool pawn = p.letter == 'P' || p.letter == 'p';
    kept |= static_cast<std::uint64_t>(near | (en_passant & pawn)) << n;
  }
  auto generate = [&](std::size_t n) {
    const piece& p = static_cast<const piece&>(*list[n]);
    switch (generator_of(p.letter)) {
      case generator::pawn: pawn_captures(p.sq, own, p.directions); break;
      case generator::knight:
      case generator::king: step_captures(p.sq, own, p.directions); break;
      case generator::bishop:
      case generator::rook:
      case generator::queen: ray_captures(p.sq, own, p.directions); break;
    }
  };
  for (; kept; kept &= kept - 1) generate(static_cast<std::size_t>(std::countr_zero(kept)));
  for (std::size_t n = 64; n < count; ++n) generate(n);  // more pieces than a game can have
}

void generate_quiet() {
  for (const apiece* a : position::pieces[position::side_to_move]) {
    const piece& p = static_cast<const piece&>(*a);
    switch (generator_of(p.letter)) {
      case generator::pawn: pawn_quiet(p.sq, p.directions, p.moves_made == 0); break;
      case generator::knight: step_quiet(p.sq, p.directions); break;
      case generator::king: a->gen_quiet(); break;
      case generator::bishop:
      case generator::rook:
      case generator::queen: ray_quiet(p.sq, p.directions); break;
    }
  }
}

}  // namespace marlek
