// Set-up from FEN text: what a good text builds, and the one line each bad
// text gets.
#include <gtest/gtest.h>

#include "board/pieces.h"
#include "board_helpers.h"
#include "search/hash_table.h"

namespace marlek::test {
namespace {

// Sets up `fen`, expecting it to be refused with exactly `message`.
void expect_refused(const std::string& fen, const std::string& message) {
  captured_output out;
  EXPECT_FALSE(root::SetBoard(fen.c_str())) << fen;
  EXPECT_EQ(out.text(), message + "\n") << fen;
  // Nothing half-built is left: an empty, consistent board without moves.
  EXPECT_EQ(root_moves_end, 0u);
  EXPECT_TRUE(global_moves.empty());
  EXPECT_TRUE(position::pieces[white].empty() && position::pieces[black].empty());
  EXPECT_EQ(position::kings[white], nullptr);
  EXPECT_EQ(position_fault(), "");
}

TEST(BoardFen, InitialPosition) {
  captured_output out;
  ASSERT_TRUE(root::SetBoard(start_position_fen));
  EXPECT_EQ(out.text(), "");
  EXPECT_EQ(position::pieces[white].size() + position::pieces[black].size(), 32u);
  EXPECT_EQ(position::side_to_move, white);
  for (int right = 0; right < 4; ++right) EXPECT_NE(position::castling_rights[right], 0);
  ASSERT_EQ(position::capture_plies.size(), 1u);
  EXPECT_EQ(position::capture_plies[0], -1);
  EXPECT_EQ(position::top_ep_ply(), -2);
  EXPECT_EQ(position::ply, 0);
  EXPECT_EQ(hash_table::probe()->repetitions(), 1);
  EXPECT_EQ(root_moves_end, 20u);
}

TEST(BoardFen, EachBadFieldGetsItsErrorLine) {
  expect_refused("rnbqkbnr/ppppXppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                 "root::Setboard: Unknown character in position string. Invalid position.");
  expect_refused("rnbqkbnr/pppp0ppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                 "root::Setboard: Unknown character in position string. Invalid position.");
  expect_refused("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1",
                 "root::SetBoard: Unexpected end of position string. Invalid position.");
  expect_refused("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN w KQkq - 0 1",
                 "root::SetBoard: Unexpected end of position string. Invalid position.");
  expect_refused("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",
                 "root::SetBoard: Side to move must be 'w' or 'b'. Invalid position.");
  expect_refused("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkqX - 0 1",
                 "root::Setboard: Unrecognized character in castling flags. Invalid position");
  expect_refused("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq x 0 1",
                 "root::SetBoard: Unrecognized character in en passant field. Invalid position.");
  expect_refused("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e2 0 1",
                 "root::SetBoard: Invalid rank in en passant square. Invalid position");
}

TEST(BoardFen, OwnRejections) {
  const std::string off_board =
      "root::SetBoard: Position string runs off the board. Invalid position.";
  expect_refused("rnbqkbnr/pppppppp/44/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", off_board);
  expect_refused("rnbqkbnrp/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", off_board);
  expect_refused("8/8/8/8/8/8/8/8/4K2k w - - 0 1", off_board);
  expect_refused("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
                 "root::SetBoard: Missing field in position string. Invalid position.");
  expect_refused("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq",
                 "root::SetBoard: Missing field in position string. Invalid position.");
  expect_refused("", "root::SetBoard: Missing field in position string. Invalid position.");
  expect_refused("4k3/8/8/8/8/8/8/8 w - - 0 1",
                 "root::SetBoard: Each side must have exactly one king. Invalid position.");
  expect_refused("4k3/8/8/8/8/8/8/3KK3 w - - 0 1",
                 "root::SetBoard: Each side must have exactly one king. Invalid position.");
  expect_refused("P3k3/8/8/8/8/8/8/4K3 w - - 0 1",
                 "root::SetBoard: Pawn on the first or last rank. Invalid position.");
  expect_refused("4k3/8/8/8/8/8/8/p3K3 w - - 0 1",
                 "root::SetBoard: Pawn on the first or last rank. Invalid position.");
  expect_refused("4k3/8/8/8/8/8/8/4K2r b - - 0 1",
                 "root::SetBoard: The side not to move is in check. Invalid position.");
}

TEST(BoardFen, ShortRanksAndOptionalCounters) {
  // A rank may stop short before its '/'; only the last must reach file h.
  set_up("4k/8/8/8/8/8/8/4K3 w - - 0 1");
  EXPECT_EQ(position::board[e8]->letter, 'k');
  set_up("4k3/8/8/8/8/8/8/4K3 w - -");  // no clock, no move number
  EXPECT_EQ(position::capture_plies.back(), -1);
  set_up("4k3/8/8/8/8/8/8/4K3 w - - 99 60");
  EXPECT_EQ(position::capture_plies.back(), -100);
  set_up("4k3/8/8/8/8/8/8/4K3 w - - -7 60");  // a negative clock reads as 0
  EXPECT_EQ(position::capture_plies.back(), -1);
}

TEST(BoardFen, SideToMoveDoesNotEnterTheKey) {
  set_up("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
  const hash_key with_white = position::position_key;
  set_up("4k3/8/8/8/8/8/8/4K3 b - - 0 1");
  EXPECT_EQ(position::position_key, with_white);
  EXPECT_EQ(position::side_to_move, black);
}

TEST(BoardFen, CastlingField) {
  set_up("r3k2r/8/8/8/8/8/8/R3K2R w -KQkq - 0 1");  // '-' first: no right at all
  for (int right = 0; right < 4; ++right) EXPECT_EQ(position::castling_rights[right], 0);
  // A right whose rook (or king) is not home is dropped.
  set_up("r3k3/8/8/8/8/8/8/R3K1R1 w KQkq - 0 1");
  EXPECT_EQ(position::castling_rights[castle_white_king], 0);
  EXPECT_NE(position::castling_rights[castle_white_queen], 0);
  EXPECT_EQ(position::castling_rights[castle_black_king], 0);
  EXPECT_NE(position::castling_rights[castle_black_queen], 0);
  set_up("r3k2r/8/8/8/8/8/8/R2K3R w KQkq - 0 1");
  EXPECT_EQ(position::castling_rights[castle_white_king], 0);
  EXPECT_EQ(position::castling_rights[castle_white_queen], 0);
}

TEST(BoardFen, Chess960CastlingFields) {
  const char* placement = "r5kr/8/8/8/8/8/8/RR4KR w ";
  auto rook_of = [](int right) {
    return position::castling_rights[right] ? castlings[right].rook_from : no_square;
  };
  // Rook files make a Chess960 game by themselves; a file with no rook of
  // that side on it grants nothing.
  set_up(std::string(placement) + "HBhc - 0 1");
  EXPECT_TRUE(chess960_game);
  EXPECT_EQ(rook_of(castle_white_king), h1);
  EXPECT_EQ(rook_of(castle_white_queen), b1);
  EXPECT_EQ(rook_of(castle_black_king), h8);
  EXPECT_EQ(rook_of(castle_black_queen), no_square);
  // KQkq keep their standard meaning unless the game is said to be
  // Chess960; then they name the outermost rooks, and X-FEN's letter an
  // inner one.
  set_up(std::string(placement) + "KQkq - 0 1");
  EXPECT_FALSE(chess960_game);
  for (int right = 0; right < 4; ++right) EXPECT_EQ(rook_of(right), no_square);
  set_up(std::string(placement) + "KQkq - 0 1", true);
  EXPECT_EQ(rook_of(castle_white_queen), a1);
  EXPECT_EQ(rook_of(castle_black_queen), a8);
  set_up(std::string(placement) + "KBkq - 0 1", true);
  EXPECT_EQ(rook_of(castle_white_queen), b1);
}

TEST(BoardFen, EnPassantFieldInBothNotations) {
  // After 1. e4 with a black pawn on d4: the pawn's square (e4) or the
  // square it passed (e3) both allow d4xe3.
  for (const char* field : {"e4", "e3"}) {
    set_up(std::string("4k3/8/8/8/3pP3/8/8/4K3 b - ") + field + " 0 1");
    const auto moves = root_move_texts();
    EXPECT_EQ(std::count(moves.begin(), moves.end(), "d4e3"), 1) << field;
  }
  // A field whose square holds no pawn of the side that just moved is '-'.
  set_up("4k3/8/8/8/3p4/8/8/4K3 b - e3 0 1");
  EXPECT_EQ(position::top_ep_ply(), -2);
  set_up("4k3/8/8/8/3pp3/8/8/4K3 b - e3 0 1");  // a pawn, but Black's own
  EXPECT_EQ(position::top_ep_ply(), -2);
  set_up("4k3/8/8/8/3pP3/4N3/8/4K3 b - e3 0 1");  // the passed square is taken
  EXPECT_EQ(position::top_ep_ply(), -2);
  EXPECT_EQ(position_fault(), "");
}

// Each set-up leaves only its own bottom entries on the en-passant stacks:
// entries of earlier positions must not pile up over a long session.
TEST(BoardFen, SetUpStartsTheEnPassantStacksAfresh) {
  set_up("4k3/8/8/8/3pP3/8/8/4K3 b - e4 0 1");
  EXPECT_EQ(position::ep_squares.size(), 1u);
  for (int game = 0; game < 3; ++game) set_up(start_position_fen);
  EXPECT_TRUE(position::ep_squares.empty());
  EXPECT_EQ(position::ep_plies, std::vector<std::int32_t>{-2});
  captured_output quiet;
  EXPECT_FALSE(root::SetBoard("garbage"));
  EXPECT_TRUE(position::ep_squares.empty() && position::ep_plies.empty());
}

TEST(BoardFen, RefusedSetUpEmptiesTheGameRecord) {
  set_up(start_position_fen);
  root::game_record.push_back(move(0x14, 0x34));
  captured_output quiet;
  EXPECT_FALSE(root::SetBoard("garbage"));
  EXPECT_TRUE(root::game_record.empty());
  EXPECT_TRUE(root::SetBoard(start_position_fen));
}

}  // namespace
}  // namespace marlek::test
