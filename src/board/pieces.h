#pragma once
// The piece classes. `piece` holds what every piece on the board shares;
// the intermediate classes supply one behaviour each (sliding, stepping,
// being a promotion piece), and the six concrete types combine them through
// virtual inheritance so that each has a single `piece` part:
//
//   pawn   = en_passant + piece            (own attacks, generation, make, unmake)
//   knight = promote_piece + step_piece
//   bishop = ray_piece                      (keeps bishop_count in add/remove)
//   rook   = castle + ray_piece             (keeps its castling right)
//   queen  = ray_piece
//   king   = castle + step_piece            (castling, and the rights it takes)
#include <cstdint>

#include "board/castling.h"
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

  // The right of the castling this unmoved rook belongs to, taken (saved
  // first) and given back: on its own first move and its capture, and by
  // the king when they castle together.
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

 private:
  void move_with_rook(const castling& c);
  void move_back_with_rook(const castling& c);
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

// Builds the piece a FEN letter names on square s (null for another letter).
apiece* new_piece(char letter, square s);

}  // namespace marlek
