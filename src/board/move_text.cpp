// Move text: the engine's own coordinate notation, and castling as each
// front end spells it.
#include "board/move_text.h"

#include <algorithm>
#include <ostream>
#include <string_view>

#include "board/attacks.h"
#include "board/castling.h"
#include "board/move_list.h"
#include "board/position.h"

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

// Castling in each front end's spelling ---------------------------------------

namespace {

std::string square_text(square s) { return {file_letters[file_of(s)], rank_digits[rank_of(s)]}; }

const move refused(0, 0, unreadable_kind);

// The castling `m` is for the side to move here, or null.
const castling* castling_made_by(move m) {
  const castling* c = castling_by_king(m.from, m.to);
  if (!c || m.kind != no_promotion || c->colour != position::side_to_move) return nullptr;
  if (!position::castling_rights[c->right]) return nullptr;
  return position::board[m.from] == position::kings[c->colour] ? c : nullptr;
}

// Whether the king of the side to move may castle by `m` here: it is
// generated, and the king does not end in check.
bool legal_castling(move m) {
  const apiece* k = position::kings[position::side_to_move];
  if (!k) return false;
  move_list frame;
  k->gen_quiet();
  const auto first = global_moves.begin() + static_cast<std::ptrdiff_t>(frame.start());
  return std::find(first, global_moves.end(), m) != global_moves.end() && !leaves_king_attacked(m);
}

move legal_or_refused(const castling& c) {
  const move m(c.king_from, c.move_to);
  return legal_castling(m) ? m : refused;
}

// The castling of the side to move on the king side or the queen side.
const castling& castling_of_side(bool king_side) {
  return castlings[2 * position::side_to_move + (king_side ? 0 : 1)];
}

move read_king_takes_rook(const char* text) {
  const move m(text);
  if (m.kind != no_promotion) return m;
  const apiece* k = position::board[m.from];
  const apiece* onto = position::board[m.to];
  if (k && k == position::kings[position::side_to_move] && onto && onto->colour == k->colour) {
    for (const castling& c : castlings)
      if (c.colour == k->colour && c.king_from == m.from && c.rook_from == m.to &&
          position::castling_rights[c.right])
        return legal_or_refused(c);
    return refused;  // the king onto its own piece, and no castling
  }
  return castling_made_by(m) ? refused : m;  // e1g1 of standard chess: here it is e1h1
}

move read_castling_letters(const char* text) {
  const std::string_view t = text ? text : "";
  const bool king_side = t == "O-O" || t == "0-0";
  if (!king_side && t != "O-O-O" && t != "0-0-0") {
    const move m(text);
    return castling_made_by(m) ? refused : m;
  }
  const castling& c = castling_of_side(king_side);
  if (!position::castling_rights[c.right]) return refused;
  return legal_or_refused(c);
}

}  // namespace

std::string to_text(move m, castling_text style) {
  const castling* c = style == castling_text::coordinate ? nullptr : castling_made_by(m);
  if (!c) return to_text(m);
  if (style == castling_text::king_takes_rook)
    return square_text(c->king_from) + square_text(c->rook_from);
  return c->right % 2 == 0 ? "O-O" : "O-O-O";
}

move read_move(const char* text, castling_text style) {
  switch (style) {
    case castling_text::king_takes_rook: return read_king_takes_rook(text);
    case castling_text::castling_letters: return read_castling_letters(text);
    default: return move(text);
  }
}

}  // namespace marlek
