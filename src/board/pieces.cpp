// Construction, destruction, and putting pieces on the board and taking
// them off. Every counter that the search reads per node is kept here.
#include <algorithm>

#include "board/pieces.h"

namespace marlek {

namespace {
// Offsets of the five non-pawn types, zero-terminated; each offset d is used
// as +d and as -d. A pawn has one three-entry table per colour: the forward
// step, then the two capture steps.
constexpr int knight_directions[] = {14, 18, 31, 33, 0};
constexpr int bishop_directions[] = {15, 17, 0};
constexpr int rook_directions[] = {1, 16, 0};
constexpr int queen_directions[] = {1, 15, 16, 17, 0};
constexpr int king_directions[] = {1, 15, 16, 17, 0};
constexpr int pawn_directions[2][3] = {{16, 15, 17}, {-16, -15, -17}};

char letter_for(char upper, int c) {
  return c == white ? upper : static_cast<char>(upper - 'A' + 'a');
}
// The 128-key tables keep Black's keys in the off-board half of each row.
const hash_key* row_keys(const hash_key* table, int c) { return table + 8 * c; }
}  // namespace

piece::piece(square s, int c, std::int32_t v, char type_letter, const int* dirs,
             const hash_key* type_keys, std::int32_t plain_from)
    : plain_after(plain_from), directions(dirs), keys(type_keys) {
  sq = s;
  value = v;
  colour = c;
  letter = letter_for(type_letter, c);
  // Always the plain add: building a rook must not touch castling flags,
  // and the bishop counts itself in its own constructor.
  piece::add();
}

void piece::add() {
  board[sq] = this;
  occupied_by[colour] |= set_of(sq);
  pieces[colour].push_back(this);
  position_key ^= keys[sq];
  material[colour] += value;
}

void piece::remove() {
  material[colour] -= value;
  position_key ^= keys[sq];
  auto& list = pieces[colour];
  list.erase(std::find(list.begin(), list.end(), static_cast<apiece*>(this)));
  board[sq] = nullptr;  // sq stays, so that a later add puts it back there
  occupied_by[colour] &= ~set_of(sq);
}

promote_piece::~promote_piece() { delete promoted_from; }

// The last argument of each piece constructor is its plain_after: the move
// count from which its make is the common one (pieces.h).
pawn::pawn(square s, int c)
    : piece(s, c, pawn_value, 'P', pawn_directions[c], row_keys(zobrist.pawn, c), never_plain) {}

knight::knight(square s, int c, pawn* from)
    : piece(s, c, knight_value, 'N', knight_directions, row_keys(zobrist.knight, c), 0),
      promote_piece(from) {}

bishop::bishop(square s, int c, pawn* from)
    : piece(s, c, bishop_value, 'B', bishop_directions, row_keys(zobrist.bishop, c), 0),
      ray_piece(from) {
  bishop_count[c] += 1;
}

bishop::~bishop() {
  // A captured bishop was already counted off when it was removed.
  if (board[sq] == this) bishop_count[colour] -= 1;
}

void bishop::add() {
  bishop_count[colour] += 1;
  piece::add();
}

void bishop::remove() {
  piece::remove();
  bishop_count[colour] -= 1;
}

rook::rook(square s, int c, pawn* from)
    : piece(s, c, rook_value, 'R', rook_directions, row_keys(zobrist.rook, c), 1),
      ray_piece(from) {}

queen::queen(square s, int c, pawn* from)
    : piece(s, c, queen_value, 'Q', queen_directions, zobrist.queen + 120 * c, 0),
      ray_piece(from) {}

king::king(square s, int c)
    : piece(s, c, king_value, 'K', king_directions, row_keys(zobrist.king, c), 1) {
  kings[c] = this;
}

king::~king() {
  if (kings[colour] == this) kings[colour] = nullptr;
}

apiece* new_piece(char letter, square s) {
  int c = (letter >= 'a' && letter <= 'z') ? black : white;
  switch (letter) {
    case 'P':
    case 'p': return new pawn(s, c);
    case 'N':
    case 'n': return new knight(s, c, nullptr);
    case 'B':
    case 'b': return new bishop(s, c, nullptr);
    case 'R':
    case 'r': return new rook(s, c, nullptr);
    case 'Q':
    case 'q': return new queen(s, c, nullptr);
    case 'K':
    case 'k': return new king(s, c);
    default: return nullptr;
  }
}

}  // namespace marlek
