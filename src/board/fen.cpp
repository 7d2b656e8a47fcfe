// Set-up from FEN text. The whole text is read and checked before the board
// is touched, so a bad text never leaves a half-built position behind: it
// gets its one line and an empty board with no legal moves.
#include <array>
#include <cctype>
#include <string_view>
#include <vector>

#include "base/front_end.h"
#include "board/attacks.h"
#include "board/consistency.h"
#include "board/fen.h"
#include "board/pieces.h"

namespace marlek {

namespace {

constexpr const char* unknown_character =
    "root::Setboard: Unknown character in position string. Invalid position.";
constexpr const char* unexpected_end =
    "root::SetBoard: Unexpected end of position string. Invalid position.";
constexpr const char* bad_side =
    "root::SetBoard: Side to move must be 'w' or 'b'. Invalid position.";
constexpr const char* bad_castling =
    "root::Setboard: Unrecognized character in castling flags. Invalid position";
constexpr const char* bad_en_passant =
    "root::SetBoard: Unrecognized character in en passant field. Invalid position.";
constexpr const char* bad_en_passant_rank =
    "root::SetBoard: Invalid rank in en passant square. Invalid position";
constexpr const char* missing_field =
    "root::SetBoard: Missing field in position string. Invalid position.";
constexpr const char* off_board =
    "root::SetBoard: Position string runs off the board. Invalid position.";
constexpr const char* wrong_kings =
    "root::SetBoard: Each side must have exactly one king. Invalid position.";
constexpr const char* pawn_on_end_rank =
    "root::SetBoard: Pawn on the first or last rank. Invalid position.";
constexpr const char* opponent_in_check =
    "root::SetBoard: The side not to move is in check. Invalid position.";

// A half-move clock beyond any real game; keeps -1 - clock far from overflow.
constexpr int max_half_move_clock = 1000000;

struct fen_fields {
  std::string_view placement, side, castling, en_passant, clock;
};

struct fen_position {
  std::array<char, 128> letters{};  // by 0x88 square; 0 = empty
  std::vector<square> order;        // squares in the order the text names them
  int side = white;
  bool rights[4] = {};
  // A Chess960 game: the set-up said so, or the castling field names a
  // rook's file. Its rights are read from `castling_field` once the
  // placement is known, each with the square of its rook.
  bool chess960 = false;
  std::string_view castling_field;
  square castling_rook[4] = {no_square, no_square, no_square, no_square};
  bool has_en_passant = false;
  square en_passant_pawn = 0;  // square of the pawn that just stepped twice
  int half_move_clock = 0;
};

// Reads an integer as the C library does: white space, an optional sign,
// digits up to the first non-digit; no digits give 0. Clamped, never
// overflowing.
long read_integer(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
    if (value < max_half_move_clock) value = value * 10 + (text[i] - '0');
  return negative ? -value : value;
}

// Fields are separated by single spaces; each field has at least one
// character. Placement, side, castling and en passant are required; the
// half-move clock and move number may be missing.
bool split_fields(std::string_view text, fen_fields& fields) {
  std::string_view* required[] = {&fields.placement, &fields.side, &fields.castling,
                                  &fields.en_passant};
  std::size_t at = 0;
  for (std::string_view* field : required) {
    if (at >= text.size()) return false;
    std::size_t end = text.find(' ', at + 1);
    if (end == std::string_view::npos) end = text.size();
    *field = text.substr(at, end - at);
    at = end + 1;
  }
  fields.clock = at < text.size() ? text.substr(at) : std::string_view();
  return true;
}

bool is_piece_letter(char c) {
  return std::string_view("PNBRQKpnbrqk").find(c) != std::string_view::npos;
}

const char* read_placement(std::string_view text, fen_position& out) {
  int rank = 7, file = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '/') {
      if (--rank < 0) return off_board;
      file = 0;
    } else if (c >= '1' && c <= '8') {
      // A run of digits counts as one number, which is then above 8.
      if (i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1])))
        return off_board;
      file += c - '0';
      if (file > 8) return off_board;
    } else if (is_piece_letter(c)) {
      if (file >= 8) return off_board;
      square s = make_square(file, rank);
      out.letters[s] = c;
      out.order.push_back(s);
      ++file;
    } else {
      return unknown_character;
    }
  }
  if (rank != 0 || file != 8) return unexpected_end;
  return nullptr;
}

// KQkq, and for Chess960 the files of the castling rooks: upper case for
// White, lower case for Black (Shredder-FEN's HAha; X-FEN's letter of a
// rook that is not the outermost on its side).
const char* read_castling(std::string_view text, fen_position& out) {
  out.castling_field = text;
  if (text[0] == '-') return nullptr;
  for (char c : text) {
    switch (c) {
      case 'K': out.rights[castle_white_king] = true; break;
      case 'Q': out.rights[castle_white_queen] = true; break;
      case 'k': out.rights[castle_black_king] = true; break;
      case 'q': out.rights[castle_black_queen] = true; break;
      default:
        if ((c < 'A' || c > 'H') && (c < 'a' || c > 'h')) return bad_castling;
        out.chess960 = true;
    }
  }
  return nullptr;
}

// The file of the rook of colour `c` on `rank` that a Chess960 castling
// letter names, with the king on `king_file`, or -1. K and Q name the
// outermost rook on that side.
int chess960_rook_file(const fen_position& pos, char letter, int c, int rank, int king_file) {
  const char own_rook = c == white ? 'R' : 'r';
  auto rook_on = [&](int file) { return pos.letters[make_square(file, rank)] == own_rook; };
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  if (upper == 'K') {
    for (int file = 7; file > king_file; --file)
      if (rook_on(file)) return file;
    return -1;
  }
  if (upper == 'Q') {
    for (int file = 0; file < king_file; ++file)
      if (rook_on(file)) return file;
    return -1;
  }
  const int file = upper - 'A';
  return file != king_file && rook_on(file) ? file : -1;
}

// Chess960 rights: each letter grants the castling of the rook it names,
// king side when that rook stands on the king's h-side. A letter whose
// rook is not there, or whose king is not on its first rank, grants
// nothing; of two letters for the same castling the last counts.
void read_chess960_rights(fen_position& pos) {
  for (int right = 0; right < 4; ++right) pos.rights[right] = false;
  if (pos.castling_field[0] == '-') return;
  for (char letter : pos.castling_field) {
    const int c = std::isupper(static_cast<unsigned char>(letter)) ? white : black;
    const int rank = c == white ? 0 : 7;
    int king_file = -1;
    for (int file = 0; file < 8; ++file)
      if (pos.letters[make_square(file, rank)] == (c == white ? 'K' : 'k')) king_file = file;
    if (king_file < 0) continue;
    const int rook_file = chess960_rook_file(pos, letter, c, rank, king_file);
    if (rook_file < 0) continue;
    const int right = 2 * c + (rook_file > king_file ? 0 : 1);
    pos.rights[right] = true;
    pos.castling_rook[right] = make_square(rook_file, rank);
  }
}

// The field names the square of the pawn that just stepped twice (rank 4 or
// 5); the ordinary FEN square that the pawn passed over (rank 3 or 6) is
// read too, since that is what GUIs send.
const char* read_en_passant(std::string_view text, fen_position& out) {
  char c = text[0];
  if (c == '-') return nullptr;
  if (c < 'a' || c > 'h') return bad_en_passant;
  long rank = read_integer(text.substr(1));
  if (rank == 3) rank = 4;
  if (rank == 6) rank = 5;
  if (rank != 4 && rank != 5) return bad_en_passant_rank;
  out.has_en_passant = true;
  out.en_passant_pawn = make_square(c - 'a', static_cast<int>(rank) - 1);
  return nullptr;
}

const char* check_material(const fen_position& pos) {
  int kings[2] = {};
  for (square s : pos.order) {
    char c = pos.letters[s];
    if (c == 'K') ++kings[white];
    if (c == 'k') ++kings[black];
    if ((c == 'P' || c == 'p') && (rank_of(s) == 0 || rank_of(s) == 7)) return pawn_on_end_rank;
  }
  if (kings[white] != 1 || kings[black] != 1) return wrong_kings;
  return nullptr;
}

// Rights and en passant that the placement cannot support are dropped: a
// castle would move a rook that is not there, an en-passant capture would
// take a pawn that is not there.
void drop_impossible_rights(fen_position& pos) {
  if (pos.chess960) {
    read_chess960_rights(pos);
  } else {
    for (const castling& c : standard_castlings) {
      const bool white_side = c.colour == white;
      if (pos.letters[c.king_from] != (white_side ? 'K' : 'k') ||
          pos.letters[c.rook_from] != (white_side ? 'R' : 'r'))
        pos.rights[c.right] = false;
    }
  }

  if (!pos.has_en_passant) return;
  const int mover = 1 - pos.side;  // the side that just moved
  const square s = pos.en_passant_pawn;
  const square passed = mover == white ? s - 16 : s + 16;
  const bool fits = pos.letters[s] == (mover == white ? 'P' : 'p') &&
                    rank_of(s) == (mover == white ? 3 : 4) && pos.letters[passed] == 0;
  if (!fits) pos.has_en_passant = false;
}

const char* read_fen(std::string_view text, fen_position& out) {
  fen_fields fields;
  if (!split_fields(text, fields)) return missing_field;
  if (const char* error = read_placement(fields.placement, out)) return error;
  if (fields.side[0] == 'w')
    out.side = white;
  else if (fields.side[0] == 'b')
    out.side = black;
  else
    return bad_side;
  if (const char* error = read_castling(fields.castling, out)) return error;
  if (const char* error = read_en_passant(fields.en_passant, out)) return error;
  if (const char* error = check_material(out)) return error;
  long clock = read_integer(fields.clock);
  out.half_move_clock = static_cast<int>(clock < 0 ? 0 : clock);
  drop_impossible_rights(out);
  return nullptr;
}

// The castlings of the new game: for Chess960, from the kings' squares and
// the rooks the rights were read with.
void set_up_castlings_of(const fen_position& pos) {
  square king_square[2] = {no_square, no_square};
  for (square s : pos.order) {
    if (pos.letters[s] == 'K') king_square[white] = s;
    if (pos.letters[s] == 'k') king_square[black] = s;
  }
  set_up_castlings(pos.chess960, king_square, pos.castling_rook);
}

void reject(const char* message, std::string* refusal) {
  clear_board();
  if (refusal)
    *refusal = message;
  else
    reporter().position_refused(message);
}

}  // namespace

void clear_board() {
  global_moves.clear();
  for (auto& list : position::pieces) {
    for (apiece* p : list) delete p;
    list.clear();
  }
  // The board goes before the captured pieces: a captured bishop must not
  // find itself still on the board and count itself off twice.
  for (apiece*& entry : position::board) entry = nullptr;
  position::occupied_by[white] = position::occupied_by[black] = 0;
  for (apiece* p : position::captured) delete p;
  position::captured.clear();
  position::capture_plies.clear();
  position::pawn_plies.clear();
  position::ep_squares.clear();
  position::ep_plies.clear();
  position::path.clear();
  position::ply = 0;
  position::side_to_move = white;
  position::material[white] = position::material[black] = 0;
  position::position_key = hash_key{};
  for (auto& right : position::castling_rights) right = 0;
  position::castled_at[white] = position::castled_at[black] = position::no_ply;
  const square no_kings[2] = {no_square, no_square};
  const square no_rooks[4] = {no_square, no_square, no_square, no_square};
  set_up_castlings(false, no_kings, no_rooks);
}

bool set_up_board(const char* text, std::string* refusal, bool chess960) {
  fen_position pos;
  pos.chess960 = chess960;
  if (const char* error = read_fen(text ? std::string_view(text) : std::string_view(), pos)) {
    reject(error, refusal);
    return false;
  }
  clear_board();
  for (square s : pos.order) new_piece(pos.letters[s], s);
  position::side_to_move = pos.side;
  if (in_check(1 - position::side_to_move)) {
    reject(opponent_in_check, refusal);
    return false;
  }
  set_up_castlings_of(pos);
  for (int right = 0; right < 4; ++right)
    position::castling_rights[right] = pos.rights[right] ? 1 : 0;
  if (pos.has_en_passant) {
    position::ep_squares.push_back(pos.en_passant_pawn);
    position::ep_plies.push_back(-1);  // as if made at ply -1: the capture is possible now
  } else {
    position::ep_plies.push_back(-2);
  }
  // With ply at 0, this bottom entry starts the fifty-move count at the clock.
  position::capture_plies.push_back(-1 - pos.half_move_clock);
  position::path.push_back({});
  check_position("set-up");
  return true;
}

}  // namespace marlek
