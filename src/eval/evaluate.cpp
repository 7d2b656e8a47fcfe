// The evaluation sums every term from White's point of view (positive is
// good for White) and turns the result to the side to move only at the end.
#include "eval/evaluate.h"

#include <algorithm>
#include <optional>

#include "board/attacks.h"
#include "board/position.h"
#include "eval/tables.h"

namespace marlek {

namespace {

constexpr int bishop_pair_bonus = 50;      // for exactly two bishops
constexpr int castling_lost_penalty = 92;  // neither castling right left
constexpr int endgame_threshold = 6400;    // both sides' material, pawns included
constexpr int doubled_pawn_unit = 10;      // times the pawn-count table entry
constexpr int isolated_pawn_penalty = 10;  // per file
constexpr int free_file_pawn_bonus = 22;   // pawn on a file without enemy pawns
constexpr int king_zone_attack = 36;       // per attacking piece and square

// Pawns per file, per colour.
using pawn_files = int[2][8];

int bishop_pair_term() {
  int term = 0;
  if (position::bishop_count[white] == 2) term += bishop_pair_bonus;
  if (position::bishop_count[black] == 2) term -= bishop_pair_bonus;
  return term;
}

int castling_term() {
  const std::uint8_t* rights = position::castling_rights;
  int term = 0;
  if (!rights[castle_white_king] && !rights[castle_white_queen]) term -= castling_lost_penalty;
  if (!rights[castle_black_king] && !rights[castle_black_queen]) term += castling_lost_penalty;
  return term;
}

// Where each letter's piece-square values are read, by phase: its table,
// moved on to Black's half for a colour table and to the endgame half for
// the king's. Looked up by letter rather than switched on, since the kinds
// follow one another along the piece lists in no order a processor could
// predict.
struct square_value_tables {
  const std::int32_t* of[2][128] = {};
  constexpr square_value_tables() {
    for (int endgame = 0; endgame < 2; ++endgame) {
      const std::int32_t* pawns = (endgame ? pawn_endgame_table : pawn_middlegame_table).data();
      const std::int32_t* kings = king_table.data() + (endgame ? second_half : 0);
      auto set = [&](char letter, const std::int32_t* white_entry, int black_shift) {
        of[endgame][static_cast<unsigned char>(letter)] = white_entry;
        of[endgame][static_cast<unsigned char>(letter - 'A' + 'a')] = white_entry + black_shift;
      };
      set('P', pawns, second_half);
      set('N', knight_table.data(), 0);
      set('B', bishop_table.data(), 0);
      set('R', rook_table.data(), second_half);
      set('Q', queen_table.data(), second_half);
      set('K', kings, 0);
    }
  }
};
constexpr square_value_tables square_values;

// The table value of one piece for its owner.
int square_value(const apiece& p, bool endgame) {
  return square_values.of[endgame][static_cast<unsigned char>(p.letter) & 127][p.sq];
}

// Piece-square values of both sides; counts the pawns on each file.
int piece_square_term(pawn_files& pawns) {
  const bool endgame = position::material[white] + position::material[black] <= endgame_threshold;
  int term = 0;
  for (int c = white; c <= black; ++c) {
    const int sign = c == white ? 1 : -1;
    const char pawn_letter = c == white ? 'P' : 'p';
    for (const apiece* p : position::pieces[c]) {
      term += sign * square_value(*p, endgame);
      // Added rather than tested: pawns and pieces alternate along the
      // list in no order a processor could predict.
      pawns[c][file_of(p->sq)] += p->letter == pawn_letter;
    }
  }
  return term;
}

// Doubled and isolated pawns, and pawns on files the enemy has no pawn on,
// for one side (a penalty or bonus for that side).
int pawn_structure_of(const pawn_files& pawns, int c) {
  const int* own = pawns[c];
  const int* enemy = pawns[1 - c];
  int term = 0;
  for (int file = 0; file < 8; ++file) {
    if (own[file] == 0) continue;
    term -= doubled_pawn_unit * pawn_count_table[own[file]];
    // An edge file has one neighbour; the other counts as empty.
    const int left = file > 0 ? own[file - 1] : 0;
    const int right = file < 7 ? own[file + 1] : 0;
    if (left == 0 && right == 0) term -= isolated_pawn_penalty;
    if (enemy[file] == 0) term += free_file_pawn_bonus;
  }
  return term;
}

// How many (piece, square) pairs of colour `attackers` hit the squares next
// to `target_king`. A missing king has no zone.
int zone_attacks(const apiece* target_king, int attackers) {
  if (!target_king) return 0;
  return attack_pairs(attackers, king_neighbours[target_king->sq].squares.data());
}

int king_zone_term() {
  return king_zone_attack * (zone_attacks(position::kings[black], white) -
                             zone_attacks(position::kings[white], black));
}

}  // namespace

int evaluate(int alpha, int beta) {
  int score = position::material[white] - position::material[black];
  if (const std::optional<int> early =
          material_only_score(position::side_to_move, score, alpha, beta))
    return *early;
  const lazy_window bounds(position::side_to_move, alpha, beta);
  const int sign = bounds.sign;

  score += bishop_pair_term();
  if (bounds.far_outside(score)) return sign * score;

  score += castling_term();
  pawn_files pawns = {};
  score += piece_square_term(pawns);
  score += pawn_structure_of(pawns, white) - pawn_structure_of(pawns, black);
  if (bounds.far_outside(score)) return sign * score;

  // Attacks near the kings cost a look along every line from each square,
  // so they are counted only when the score could still matter.
  score += king_zone_term();
  return sign * score;
}

}  // namespace marlek
