// Attack tests of a whole colour without a virtual call per piece, and the
// legality rule built on them.
//
// Every piece can say whether it attacks a square, and asking each piece of
// the colour in turn is the plain answer. It costs a virtual call per piece,
// though, and the check test runs after every move the search makes. On a
// 0x88 board the difference between two squares tells which kinds of piece
// could reach one from the other at all: a knight's jump, a king's step, a
// pawn's capture, a diagonal or a file or rank. One table lookup per piece
// rules out nearly every piece; only a slider on a matching line has its
// line walked. The answer is that of each piece's own test:
//   - a slider attacks the target when the line to it is open, whatever
//     stands on the target itself (even a piece of its own colour);
//   - a knight or king attacks every square at one of its offsets, a pawn
//     the two squares diagonally ahead;
//   - no piece attacks the square it stands on.
#include "board/attacks.h"

#include <cstdlib>

#include "board/line_steps.h"
#include "board/position.h"

namespace marlek {

namespace {

// What a piece can do to a square at a given difference.
enum : std::uint8_t {
  by_white_pawn = 1,
  by_black_pawn = 2,
  by_knight = 4,
  by_king = 8,
  along_diagonal = 16,      // bishop, queen
  along_file_or_rank = 32,  // rook, queen
};

// Indexed by target - from + 119: which kinds reach the target from there.
// The unit step along a line to it is line_steps' (line_steps.h).
struct reach_table {
  std::uint8_t kinds[239] = {};
  constexpr reach_table() {
    for (int jump : {14, 18, 31, 33}) kinds[119 + jump] = kinds[119 - jump] = by_knight;
    for (int unit : {1, 15, 16, 17}) {
      const std::uint8_t line = unit == 1 || unit == 16 ? along_file_or_rank : along_diagonal;
      kinds[119 + unit] = kinds[119 - unit] = by_king;
      for (int distance = 1; distance < 8; ++distance) {
        kinds[119 + unit * distance] |= line;
        kinds[119 - unit * distance] |= line;
      }
    }
    kinds[119 + 15] |= by_white_pawn;
    kinds[119 + 17] |= by_white_pawn;
    kinds[119 - 15] |= by_black_pawn;
    kinds[119 - 17] |= by_black_pawn;
  }
};
constexpr reach_table reach;

// The kinds each letter's piece is; a pawn's depends on its colour.
struct letter_kinds {
  std::uint8_t of[128] = {};
  constexpr void set(char letter, std::uint8_t kinds) {
    of[static_cast<unsigned char>(letter)] = kinds;
  }
  constexpr letter_kinds() {
    set('P', by_white_pawn);
    set('p', by_black_pawn);
    for (char letter : {'N', 'n'}) set(letter, by_knight);
    for (char letter : {'B', 'b'}) set(letter, along_diagonal);
    for (char letter : {'R', 'r'}) set(letter, along_file_or_rank);
    for (char letter : {'Q', 'q'}) set(letter, along_diagonal | along_file_or_rank);
    for (char letter : {'K', 'k'}) set(letter, by_king);
  }
};
constexpr letter_kinds letters;

constexpr std::uint8_t sliding = along_diagonal | along_file_or_rank;

std::uint8_t kinds_of(const apiece& p) {
  return letters.of[static_cast<unsigned char>(p.letter) & 127];
}

// Whether a piece of the given kinds standing on `from` attacks `target`.
bool hits(std::uint8_t piece_kinds, square from, square target) {
  const int index = target - from + 119;
  const std::uint8_t kinds = reach.kinds[index] & piece_kinds;
  if (!(kinds & sliding)) return kinds != 0;
  // A slider on the line: it reaches the target when nothing stands between.
  return !(lines_of.between(from, target, line_steps.step[index]) & position::occupied());
}

}  // namespace

bool attacked(int by_colour, square s) {
  for (const apiece* p : position::pieces[by_colour])
    if (hits(kinds_of(*p), p->sq, s)) return true;
  return false;
}

// Each piece is asked only about the targets within its reach on an empty
// board; most pieces have none near a king.
int attack_pairs(int by_colour, const std::int8_t* targets) {
  square_set target_set = 0;
  for (const std::int8_t* t = targets; *t >= 0; ++t) target_set |= set_of(*t);
  int count = 0;
  for (const apiece* p : position::pieces[by_colour]) {
    const std::uint8_t kinds = kinds_of(*p);
    const square from = p->sq;
    square_set near = reach_of.of(p->letter, bit_index(from)) & target_set;
    for (; near; near &= near - 1)
      count += hits(kinds, from, square_of_bit(std::countr_zero(near)));
  }
  return count;
}

int attacker_count_asking_each(int by_colour, square s) {
  int count = 0;
  for (const apiece* p : position::pieces[by_colour]) count += p->attacks(s);
  return count;
}

namespace {

// Whether the last move was an en-passant capture: its victim did not stand
// on the square the capturing pawn went to.
bool was_en_passant(move m) {
  return position::top_capture_ply() == position::ply - 1 && !position::captured.empty() &&
         position::captured.back()->sq != m.to;
}

// Counts the pieces of colour by_colour that attack s, noting the squares
// of the first two in `entry`.
void count_checkers(int by_colour, square s, position::path_entry& entry) {
  int count = 0;
  for (const apiece* p : position::pieces[by_colour]) {
    if (!hits(kinds_of(*p), p->sq, s)) continue;
    if (count < 2) entry.checkers[count] = static_cast<std::uint8_t>(p->sq);
    ++count;
  }
  entry.checked = static_cast<std::int8_t>(count < 100 ? count : 100);
}

// The same count found from the last move alone, when the side now to move
// is known to have been safe before it (its own move here was tested) and
// the move was neither castling nor en passant: then only the piece that
// moved, and a slider behind the square it left, can give check. False
// when that is not known.
bool checkers_from_last_move(square king, position::path_entry& entry) {
  const auto& path = position::path;
  const std::size_t n = path.size();
  if (n < 2 || !path[n - 2].mover_safe) return false;
  const move m = entry.made;
  if (m.from == m.to) {  // a null move: nothing has moved
    entry.checked = 0;
    return true;
  }
  // Castling moved the rook as well; en passant emptied the victim's square.
  if (position::just_castled(1 - position::side_to_move) || was_en_passant(m)) return false;
  const apiece* mover = position::board[m.to];
  int count = 0;
  if (hits(kinds_of(*mover), m.to, king)) entry.checkers[count++] = static_cast<std::uint8_t>(m.to);
  const int index = m.from - king + 119;
  if (const std::uint8_t line = reach.kinds[index] & sliding) {
    const square s = lines_of.first_along(king, line_steps.step[index], position::occupied());
    if (s >= 0 && s != m.to) {
      const apiece* p = position::board[s];
      if (p->colour != position::side_to_move && (kinds_of(*p) & line))
        entry.checkers[count++] = static_cast<std::uint8_t>(s);
    }
  }
  entry.checked = static_cast<std::int8_t>(count);
  return true;
}

// The top entry of the path with its checking pieces counted; null when the
// side to move has no king or the path is empty (no set-up yet).
// Counting happens once per position; the answer is read many times, so
// only the reading is kept small enough to be inlined.
[[gnu::noinline]] void find_checkers(square king, position::path_entry& entry) {
  if (!checkers_from_last_move(king, entry))
    count_checkers(1 - position::side_to_move, king, entry);
}

inline const position::path_entry* checks_on_side_to_move() {
  const apiece* k = position::kings[position::side_to_move];
  if (!k || position::path.empty()) return nullptr;
  position::path_entry& entry = position::path.back();
  if (entry.checked == position::check_unknown) find_checkers(k->sq, entry);
  return &entry;
}

}  // namespace

bool in_check(int c) {
  const apiece* k = position::kings[c];
  if (!k) return false;
  if (c != position::side_to_move || position::path.empty()) return attacked(1 - c, k->sq);
  // The answer for the side to move is kept with the position: the check
  // tests before and after each of its moves read it.
  return checks_on_side_to_move()->checked != 0;
}

void settle_check_state() { checks_on_side_to_move(); }

namespace {

// Whether an enemy slider now looks at `king` along the line through the
// emptied square `from`. Only that line can have opened.
bool discovered(square king, square from) {
  const int index = from - king + 119;
  const std::uint8_t line = reach.kinds[index] & sliding;
  if (!line) return false;
  const square s = lines_of.first_along(king, line_steps.step[index], position::occupied());
  if (s < 0) return false;
  const apiece* p = position::board[s];
  return p->colour == position::side_to_move && (kinds_of(*p) & line);
}

}  // namespace

bool mover_in_check() {
  const int mover = 1 - position::side_to_move;
  const apiece* k = position::kings[mover];
  if (!k) return false;
  const auto& path = position::path;
  const std::size_t n = path.size();
  if (n != 0 && path[n - 1].mover_safe) return false;  // tested before it was made
  if (n < 2 || path[n - 2].checked == position::check_unknown)
    return attacked(position::side_to_move, k->sq);
  const move m = path[n - 1].made;
  if (m.from == m.to)
    return path[n - 2].checked != 0;  // a null move changes nothing round the king
  if (path[n - 2].checked || position::board[m.to] == k || position::just_castled(mover) ||
      was_en_passant(m))
    return attacked(position::side_to_move, k->sq);
  // Not in check before, and neither the king (with its castling rook) nor
  // a pawn taken en passant moved: the piece that arrived on `to` can only
  // block lines and the piece it took only stops attacking, so the one line
  // that can have opened runs from the king through the square the mover
  // left.
  return discovered(k->sq, m.from);
}

// The check test before a move -------------------------------------------

namespace {

// Whether `between` lies strictly inside the line from a to b.
bool lies_between(square a, square b, square between) {
  const int step = line_steps.step[b - a + 119];
  return step != 0 && line_steps.step[between - a + 119] == step &&
         line_steps.step[b - between + 119] == step;
}

// Whether, once m is made, an enemy slider looks at `king` along the line
// through the square the mover leaves; the mover itself then stands on
// m.to, where it blocks that line or takes what stood there.
bool opens_line(square king, move m) {
  const int index = m.from - king + 119;
  const std::uint8_t line = reach.kinds[index] & sliding;
  if (!line) return false;
  const square_set once_made = (position::occupied() & ~set_of(m.from)) | set_of(m.to);
  const square s = lines_of.first_along(king, line_steps.step[index], once_made);
  if (s < 0 || s == m.to) return false;
  const apiece* p = position::board[s];
  return p->colour != position::side_to_move && (kinds_of(*p) & line);
}

// Whether the checking piece on `checker` still attacks `king` once m is
// made by another piece than the king: not when m takes it, nor when m
// steps into the line along which it gives check.
bool still_checks(square checker, square king, move m) {
  if (m.to == checker) return false;
  const apiece* p = position::board[checker];
  const bool along_line = kinds_of(*p) & reach.kinds[king - checker + 119] & sliding;
  return !along_line || !lies_between(checker, king, m.to);
}

// The plain answer for any move but castling: the occupied squares are
// changed as the move changes them (the mover on m.to, its square and an
// en-passant victim's square empty), the enemy pieces but `victim` are
// asked about the king's square, and the squares are put back. The attack
// test reads lines from the occupied squares only, never the board.
bool attacked_once_made(move m, square king, const apiece* victim) {
  const int mover = position::side_to_move;
  const square_set before[2] = {position::occupied_by[white], position::occupied_by[black]};
  position::occupied_by[mover] ^= set_of(m.from) | set_of(m.to);
  if (victim) position::occupied_by[1 - mover] &= ~set_of(victim->sq);
  bool hit = false;
  for (const apiece* p : position::pieces[1 - mover]) {
    if (p != victim && hits(kinds_of(*p), p->sq, king)) {
      hit = true;
      break;
    }
  }
  position::occupied_by[white] = before[white];
  position::occupied_by[black] = before[black];
  return hit;
}

// The plain answer by making the move (castling: the rook moves too).
bool attacked_by_making(move m) {
  make_move(m);
  const bool attacked_king = mover_in_check();
  unmake_move(m);
  return attacked_king;
}

}  // namespace

bool leaves_king_attacked(move m) {
  const int mover = position::side_to_move;
  const apiece* k = position::kings[mover];
  if (!k) return false;
  const apiece* p = position::board[m.from];
  if (p == k) {
    // Castling: the king's two-file step, or in Chess960 onto its own rook.
    if (std::abs(m.to - m.from) == 2 || (position::occupied_by[mover] & set_of(m.to)))
      return attacked_by_making(m);
    return attacked_once_made(m, m.to, position::board[m.to]);
  }
  if (!position::board[m.to] && (kinds_of(*p) & (by_white_pawn | by_black_pawn)))
    if (const apiece* victim = position::en_passant_victim(m, mover))
      return attacked_once_made(m, k->sq, victim);
  const position::path_entry* checks = checks_on_side_to_move();
  if (!checks) return attacked_once_made(m, k->sq, position::board[m.to]);
  // Not the king, not en passant: a piece that did not attack the king can
  // only start to through the square the mover leaves; a checking piece
  // keeps attacking unless it is taken or blocked.
  // In check, most moves neither take nor block the checking piece, which
  // is the cheaper question: it is asked first.
  if (checks->checked > 2) return attacked_once_made(m, k->sq, position::board[m.to]);
  for (int i = 0; i < checks->checked; ++i)
    if (still_checks(checks->checkers[i], k->sq, m)) return true;
  return opens_line(k->sq, m);
}

void make_legal_move(move m) {
  make_move(m);
  position::path.back().mover_safe = true;
}

bool is_legal(move m) {
  const bool legal = !leaves_king_attacked(m);
  reorder_as_if_made(m);
  return legal;
}

}  // namespace marlek
