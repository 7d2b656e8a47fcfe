#include "game/board_edit.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>

#include "board/keys.h"
#include "board/position.h"
#include "board/repetition.h"
#include "game/root.h"

namespace marlek {

namespace {

constexpr std::int32_t max_clock = 1000000;

char at(const placement& board, int file, int rank) {
  if (file < 0 || file > 7 || rank < 0 || rank > 7) return '\0';
  return board[8 * rank + file];
}

// The letter of piece `upper` (a White letter) for colour `c`.
char letter_of(char upper, std::int32_t c) {
  return c == white ? upper : static_cast<char>(std::tolower(upper));
}

// The first piece from (file, rank) along (df, dr), or '\0' off the board.
char first_along(const placement& board, int file, int rank, int df, int dr) {
  for (file += df, rank += dr; at(board, file, rank) == '.'; file += df, rank += dr) {
  }
  return at(board, file, rank);
}

// Whether a piece of colour `by` attacks the square (file, rank).
bool attacked_on(const placement& board, int file, int rank, std::int32_t by) {
  const int pawn_rank = by == white ? rank - 1 : rank + 1;
  if (at(board, file - 1, pawn_rank) == letter_of('P', by) ||
      at(board, file + 1, pawn_rank) == letter_of('P', by))
    return true;
  constexpr int leaps[8][2] = {{1, 2},   {2, 1},   {2, -1}, {1, -2},
                               {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
  for (const auto& [df, dr] : leaps)
    if (at(board, file + df, rank + dr) == letter_of('N', by)) return true;
  for (int df = -1; df <= 1; ++df) {
    for (int dr = -1; dr <= 1; ++dr) {
      if (df == 0 && dr == 0) continue;
      if (at(board, file + df, rank + dr) == letter_of('K', by)) return true;
      const char slider = first_along(board, file, rank, df, dr);
      const char line_piece = letter_of(df == 0 || dr == 0 ? 'R' : 'B', by);
      if (slider == line_piece || slider == letter_of('Q', by)) return true;
    }
  }
  return false;
}

// Placement, side, castling, en passant and clock, as FEN writes them.
std::string fen_of(const placement& board, std::int32_t side, const std::string& castling,
                   std::int32_t clock) {
  std::string text;
  for (int rank = 7; rank >= 0; --rank) {
    int empty = 0;
    for (int file = 0; file < 8; ++file) {
      const char c = at(board, file, rank);
      if (c == '.') {
        ++empty;
        continue;
      }
      if (empty > 0) text += static_cast<char>('0' + std::exchange(empty, 0));
      text += c;
    }
    if (empty > 0) text += static_cast<char>('0' + empty);
    if (rank > 0) text += '/';
  }
  text += side == white ? " w " : " b ";
  text += castling.empty() ? "-" : castling;
  return text + " - " + std::to_string(clock);
}

// The castling rights the current position still has, as FEN letters.
std::string current_rights() {
  std::string letters;
  for (int right = 0; right < 4; ++right)
    if (position::castling_rights[right]) letters += "KQkq"[right];
  return letters;
}

// Half-moves since the last capture or pawn move, as FEN counts them.
std::int32_t current_clock() {
  const std::int32_t last = std::max(position::top_capture_ply(), position::top_pawn_ply());
  return std::clamp(position::ply - last - 1, 0, max_clock);
}

const char* set_up(const placement& board, std::int32_t side, const std::string& castling,
                   std::int32_t clock) {
  if (const char* reason = unplayable_reason(board, side)) return reason;
  // Checked above: the set-up cannot fail.
  root::SetBoard(fen_of(board, side, castling, clock).c_str());
  return nullptr;
}

}  // namespace

const char* unplayable_reason(const placement& board, std::int32_t side) {
  int kings[2] = {};
  int king_squares[2] = {};
  for (int s = 0; s < 64; ++s) {
    const char c = board[s];
    if (c == 'K' || c == 'k') {
      ++kings[c == 'K' ? white : black];
      king_squares[c == 'K' ? white : black] = s;
    }
    if ((c == 'P' || c == 'p') && (s < 8 || s >= 56)) return "a pawn on the first or last rank";
  }
  if (kings[white] != 1 || kings[black] != 1) return "each side needs exactly one king";
  const int other_king = king_squares[1 - side];
  if (attacked_on(board, other_king % 8, other_king / 8, side))
    return "the side not to move is in check";
  return nullptr;
}

const char* set_up_edited(const placement& changes) {
  placement board = snapshot_of_position().placement;
  for (int s = 0; s < 64; ++s)
    if (changes[s] != '\0') board[s] = changes[s];
  // The set-up keeps only the rights whose king and rook are at home.
  return set_up(board, position::side_to_move, "KQkq", 0);
}

const char* put_side_on_move(std::int32_t side) {
  if (side == position::side_to_move) return nullptr;
  return set_up(snapshot_of_position().placement, side, current_rights(), current_clock());
}

}  // namespace marlek
