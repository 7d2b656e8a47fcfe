#include <ostream>

#include "board/move.h"

namespace marlek {

namespace {
constexpr char file_letters[] = "abcdefgh";
constexpr char rank_digits[] = "12345678";
// Promotion letters indexed by kind; kind 0 writes nothing.
constexpr char promotion_letters[] = {'\0', 'r', 'n', 'b', 'q'};

bool is_file(char c) { return c >= 'a' && c <= 'h'; }
bool is_rank(char c) { return c >= '1' && c <= '8'; }

std::int16_t promotion_kind(char c) {
  switch (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) {
    case '\0': return no_promotion;
    case 'q': return promote_queen;
    case 'r': return promote_rook;
    case 'b': return promote_bishop;
    case 'n': return promote_knight;
    default: return unreadable_kind;  // no piece a pawn can become: refused
  }
}
}  // namespace

bool is_move_text(std::string_view word) {
  if (word.size() != 4 && word.size() != 5) return false;
  if (!is_file(word[0]) || !is_rank(word[1]) || !is_file(word[2]) || !is_rank(word[3]))
    return false;
  return word.size() == 4 || (promotion_kind(word[4]) != unreadable_kind && word[4] != '\0');
}

move::move(const char* text) {
  // Read only as far as the text goes: each test stops at the NUL.
  if (!text || !is_file(text[0]) || !is_rank(text[1]) || !is_file(text[2]) || !is_rank(text[3])) {
    kind = unreadable_kind;
    return;
  }
  from = static_cast<std::uint8_t>(make_square(text[0] - 'a', text[1] - '1'));
  to = static_cast<std::uint8_t>(make_square(text[2] - 'a', text[3] - '1'));
  kind = promotion_kind(text[4]);
}

std::string to_text(move m) {
  std::string text;
  text += file_letters[m.from % 8];
  text += rank_digits[(m.from / 16) % 8];
  text += file_letters[m.to % 8];
  text += rank_digits[(m.to / 16) % 8];
  if (m.kind >= promote_rook && m.kind <= promote_queen) text += promotion_letters[m.kind];
  return text;
}

std::ostream& operator<<(std::ostream& out, move m) { return out << to_text(m); }

}  // namespace marlek
