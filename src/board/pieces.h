#pragma once
// The piece classes. `piece` holds what every piece on the board shares;
// the intermediate classes supply one behaviour each (sliding, stepping,
// being a promotion piece), and the six concrete types combine them through
// virtual inheritance so that each has a single `piece` part:
//
//   pawn   = en_passant + piece            (own attacks, generation, make, unmake)
//   knight = promote_piece + step_piece
//   bishop = ray_piece                      (keeps bishop_count in add/remove)
//   rook   = castle + ray_piece             (keeps its corner's castling right)
//   queen  = ray_piece
//   king   = castle + step_piece            (castling, and the rights it takes)
#include <cstdint>

#include "board/position.h"

namespace marlek {

class pawn;

// plain_after of a piece whose make and unmake are never the common ones.
inline constexpr std::int32_t never_plain = 1 << 30;

class piece : public apiece, public position {
 public:
  std::int32_t moves_made = 0;  // moves of this piece now made
  // From this many moves made on, the piece's make is the common one below,
  // and its unmake too once one more is made: the first move of a rook or a
  // king changes castling rights, and the take-back of a promotion piece's
  // first move brings back its pawn. A pawn's never are. make_move and
  // unmake_move then call them without the virtual dispatch. Each kind
  // states it when it is built; a piece that did not would keep never_plain
  // and always take its own make and unmake.
  std::int32_t plain_after = never_plain;
  const int* directions = nullptr;  // the type's offsets, zero-terminated
  const hash_key* keys = nullptr;   // this colour's part of the type's key table

  void make(move m) override;
  void add() override;
  void remove() override;
  void unmake(move m) override;

 protected:
  piece() = default;  // never used: the most derived class builds this part
  piece(square s, int c, std::int32_t v, char type_letter, const int* dirs,
        const hash_key* type_keys, std::int32_t plain_from);
};

// The kinds a pawn can become. A piece made by a promotion owns the pawn it
// replaced, so that taking the promotion back can bring that pawn back.
class promote_piece : public virtual piece {
 public:
  pawn* promoted_from = nullptr;
  void unmake(move m) override;
  ~promote_piece() override;

 protected:
  explicit promote_piece(pawn* from) : promoted_from(from) {}
};

class ray_piece : public promote_piece, public virtual piece {
 public:
  bool attacks(square target) const override;
  void gen_captures() const override;
  void gen_quiet() const override;

 protected:
  explicit ray_piece(pawn* from) : promote_piece(from) {}
};

class step_piece : public virtual piece {
 public:
  bool attacks(square target) const override;
  void gen_captures() const override;
  void gen_quiet() const override;

 protected:
  step_piece() = default;
};

// Markers of the pieces that take part in castling and in en passant.
class castle {};
class en_passant {};

class pawn final : public en_passant, public virtual piece {
 public:
  pawn(square s, int c);
  bool attacks(square target) const override;
  void gen_captures() const override;
  void gen_quiet() const override;
  void make(move m) override;
  void unmake(move m) override;
};

class knight final : public promote_piece, public step_piece {
 public:
  knight(square s, int c, pawn* from);
};

class bishop final : public ray_piece {
 public:
  bishop(square s, int c, pawn* from);
  ~bishop() override;
  void add() override;
  void remove() override;
};

class rook final : public castle, public ray_piece {
 public:
  std::uint8_t saved_right = 0;  // the castling flag its first move took
  rook(square s, int c, pawn* from);
  void make(move m) override;
  void add() override;
  void remove() override;
  void unmake(move m) override;

 private:
  void revoke_right();
  void restore_right();
};

class queen final : public ray_piece {
 public:
  queen(square s, int c, pawn* from);
};

class king final : public castle, public step_piece {
 public:
  std::uint8_t saved_rights[2] = {};  // its side's K/Q (or k/q) before its first move
  king(square s, int c);
  ~king() override;
  void gen_quiet() const override;
  void make(move m) override;
  void unmake(move m) override;
};

// Material values; the king counts nothing towards material.
inline constexpr std::int32_t pawn_value = 100;
inline constexpr std::int32_t knight_value = 350;
inline constexpr std::int32_t bishop_value = 340;
inline constexpr std::int32_t rook_value = 500;
inline constexpr std::int32_t queen_value = 1000;
inline constexpr std::int32_t king_value = 0;

// The value of the piece a pawn becomes by a move of kind k; as in
// pawn::make, a kind that names no piece is a queen.
constexpr std::int32_t promotion_value(std::int16_t k) {
  switch (k) {
    case promote_rook: return rook_value;
    case promote_knight: return knight_value;
    case promote_bishop: return bishop_value;
    default: return queen_value;
  }
}

// Squares the castling code names.
inline constexpr square a1 = 0x00, b1 = 0x01, c1 = 0x02, d1 = 0x03, e1 = 0x04, f1 = 0x05, g1 = 0x06,
                        h1 = 0x07;
inline constexpr square a8 = 0x70, b8 = 0x71, c8 = 0x72, d8 = 0x73, e8 = 0x74, f8 = 0x75, g8 = 0x76,
                        h8 = 0x77;

// The four castlings, in the order of their rights (K, Q, k, q): the king
// goes two files from its home square towards a corner, and the rook from
// that corner to the square the king passed over. The king generates,
// makes and unmakes them, a rook keeps its corner's right, and set-up
// grants a right only with king and rook at home: all from this table.
struct castling {
  int right;  // index into castling_rights
  int colour;
  square king_from, king_to, rook_from, rook_to;
};
inline constexpr castling castlings[4] = {{castle_white_king, white, e1, g1, h1, f1},
                                          {castle_white_queen, white, e1, c1, a1, d1},
                                          {castle_black_king, black, e8, g8, h8, f8},
                                          {castle_black_queen, black, e8, c8, a8, d8}};

// The castling a king move from `from` to `to` is, or null.
constexpr const castling* castling_by_king(square from, square to) {
  for (const castling& c : castlings)
    if (c.king_from == from && c.king_to == to) return &c;
  return nullptr;
}
// The side whose king starts on `s`, or -1 for any other square.
constexpr int castling_side_at(square s) {
  for (const castling& c : castlings)
    if (c.king_from == s) return c.colour;
  return -1;
}
// The castling right an unmoved rook of colour c on `s` carries, or -1.
constexpr int corner_right(square s, int c) {
  for (const castling& k : castlings)
    if (k.rook_from == s && k.colour == c) return k.right;
  return -1;
}

// Builds the piece a FEN letter names on square s (null for another letter).
apiece* new_piece(char letter, square s);

}  // namespace marlek
