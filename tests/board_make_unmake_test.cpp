// Making and unmaking moves must restore the position exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include "board/pieces.h"
#include "board_helpers.h"
#include "perft_cases.h"

namespace marlek::test {
namespace {

// Makes every pseudo-legal move to `depth` plies and checks that each unmake
// restores everything, and that each made position is consistent.
void check_make_unmake(int depth) {
  if (depth == 0) return;
  move_list frame;
  generate_captures();
  generate_quiet();
  for (std::size_t i = frame.start(); i < frame.end(); ++i) {
    const move m = global_moves[i];
    const snapshot before = snapshot::take();
    make_move(m);
    ASSERT_EQ(position_fault(), "") << "after " << to_text(m);
    if (!in_check(1 - position::side_to_move)) check_make_unmake(depth - 1);
    unmake_move(m);
    ASSERT_TRUE(snapshot::take() == before) << "unmaking " << to_text(m);
  }
}

TEST(BoardMakeUnmake, EveryMoveOfVariedPositionsIsUndoneExactly) {
  const char* positions[] = {
      // castling both ways for both sides, pins, promotions
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
      // promotions with capture onto unmoved rooks' corners
      "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
      "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
      // en passant available (ordinary FEN square), with a pin on the rank
      "8/8/8/2k5/3Pp3/8/8/4K2R b K d3 0 1",
      "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
  };
  for (const char* fen : positions) {
    set_up(fen);
    check_make_unmake(2);
  }
}

TEST(BoardMakeUnmake, CastlingShortMovesTheRookAndKeysTheEvents) {
  set_up("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  const hash_key before = position::position_key;
  const piece* king_piece = static_cast<const piece*>(position::board[e1]);
  const piece* rook_piece = static_cast<const piece*>(position::board[h1]);
  const snapshot start = snapshot::take();
  make_move(move(e1, g1));
  EXPECT_EQ(position::board[g1], king_piece);
  EXPECT_EQ(position::board[f1], rook_piece);
  EXPECT_EQ(position::board[h1], nullptr);
  EXPECT_EQ(position::castling_rights[castle_white_king], 0);
  EXPECT_EQ(position::castling_rights[castle_white_queen], 0);
  EXPECT_NE(position::castling_rights[castle_black_king], 0);
  // K is applied by the king and again by the rook; Q once.
  hash_key expected = before ^ king_piece->keys[e1] ^ king_piece->keys[g1] ^ rook_piece->keys[h1] ^
                      rook_piece->keys[f1] ^ zobrist.side_to_move ^
                      zobrist.castling[castle_white_queen];
  EXPECT_EQ(position::position_key, expected);
  unmake_move(move(e1, g1));
  EXPECT_TRUE(snapshot::take() == start);
}

// A Chess960 castling `m` of the side to move (its king onto its own rook):
// made, the king stands on the g- or c-file and the rook on the f- or
// d-file, the side's rights are gone and the key has changed by the moves
// of the two pieces, the side to move and the castling key of the side's
// other right (the king applies both, the rook its own again). Unmade,
// everything is back.
void check_castling(move m) {
  const int side = position::side_to_move;
  const piece* king_piece = static_cast<const piece*>(position::board[m.from]);
  const piece* rook_piece = static_cast<const piece*>(position::board[m.to]);
  const bool king_side = file_of(m.to) > file_of(m.from);
  const int rank = rank_of(m.from);
  const square king_to = make_square(king_side ? 6 : 2, rank);
  const square rook_to = make_square(king_side ? 5 : 3, rank);
  const hash_key expected = position::position_key ^ king_piece->keys[m.from] ^
                            king_piece->keys[king_to] ^ rook_piece->keys[m.to] ^
                            rook_piece->keys[rook_to] ^ zobrist.side_to_move ^
                            zobrist.castling[2 * side + (king_side ? 1 : 0)];
  const snapshot before = snapshot::take();
  make_move(m);
  EXPECT_EQ(position::board[king_to], king_piece) << to_text(m);
  EXPECT_EQ(position::board[rook_to], rook_piece) << to_text(m);
  EXPECT_EQ(position::castling_rights[2 * side] | position::castling_rights[2 * side + 1], 0);
  EXPECT_EQ(position::position_key, expected) << to_text(m);
  EXPECT_EQ(position_fault(), "") << to_text(m);
  unmake_move(m);
  EXPECT_TRUE(snapshot::take() == before) << "unmaking " << to_text(m);
}

// Checks every castling within `depth` plies; counts them in `seen`.
void check_castlings(int depth, int& seen) {
  move_list frame;
  generate_captures();
  generate_quiet();
  for (std::size_t i = frame.start(); i < frame.end(); ++i) {
    const move m = global_moves[i];
    const int side = position::side_to_move;
    const apiece* onto = position::board[m.to];
    if (position::board[m.from] == position::kings[side] && onto && onto->colour == side) {
      check_castling(m);
      ++seen;
    }
    if (depth == 1) continue;
    make_move(m);
    if (!in_check(side)) check_castlings(depth - 1, seen);
    unmake_move(m);
  }
}

TEST(BoardMakeUnmake, EveryChess960CastlingIsUndoneExactly) {
  int seen = 0;
  for (const perft_case& c : load_perft_cases("perft960.txt", true, UINT64_MAX)) {
    set_up(c.fen, true);
    check_castlings(2, seen);
  }
  EXPECT_GT(seen, 300);  // both sides castle both ways in most positions
}

TEST(BoardMakeUnmake, CapturingAnUnmovedRookOnItsCornerTakesItsRight) {
  set_up("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  const snapshot start = snapshot::take();
  make_move(move(h1, h8));
  EXPECT_EQ(position::castling_rights[castle_black_king], 0);
  EXPECT_EQ(position::castling_rights[castle_white_king], 0);  // the capturer moved too
  EXPECT_NE(position::castling_rights[castle_black_queen], 0);
  unmake_move(move(h1, h8));
  EXPECT_TRUE(snapshot::take() == start);
  EXPECT_NE(position::castling_rights[castle_black_king], 0);
}

TEST(BoardMakeUnmake, PromotionWithCaptureIsTakenBackWhole) {
  set_up("1n2k3/P7/8/8/8/8/8/4K3 w - - 0 1");
  const apiece* pawn_piece = position::board[0x60];
  const apiece* knight_piece = position::board[0x71];
  const std::size_t pawn_moves = position::pawn_plies.size();
  const snapshot start = snapshot::take();
  make_move(move(0x60, 0x71, promote_queen));
  ASSERT_NE(position::board[0x71], nullptr);
  EXPECT_EQ(position::board[0x71]->letter, 'Q');
  EXPECT_EQ(position::material[white], queen_value);
  EXPECT_EQ(position::material[black], 0);
  EXPECT_EQ(position_fault(), "");
  unmake_move(move(0x60, 0x71, promote_queen));
  EXPECT_EQ(position::board[0x60], pawn_piece);
  EXPECT_EQ(position::board[0x71], knight_piece);
  EXPECT_EQ(position::pawn_plies.size(), pawn_moves);
  EXPECT_TRUE(snapshot::take() == start);
}

TEST(BoardMakeUnmake, EachPromotionKindMakesItsPiece) {
  const std::pair<std::int16_t, char> kinds[] = {
      {promote_queen, 'q'}, {promote_rook, 'r'}, {promote_bishop, 'b'}, {promote_knight, 'n'}};
  for (auto [kind, letter] : kinds) {
    set_up("4k3/8/8/8/8/8/p7/4K3 b - - 0 1");
    const std::int32_t bishops = position::bishop_count[black];
    make_move(move(0x10, 0x00, kind));
    ASSERT_NE(position::board[0x00], nullptr);
    EXPECT_EQ(position::board[0x00]->letter, letter);
    EXPECT_EQ(position::bishop_count[black], bishops + (letter == 'b' ? 1 : 0));
    EXPECT_EQ(position_fault(), "");
    unmake_move(move(0x10, 0x00, kind));
    EXPECT_EQ(position::board[0x10]->letter, 'p');
    EXPECT_EQ(position::bishop_count[black], bishops);
  }
}

TEST(BoardMakeUnmake, EnPassantCaptureIsMadeAndUndone) {
  set_up("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1");
  make_move(move(0x63, 0x43));  // d7d5
  build_root_moves();
  const auto texts = root_move_texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "e5d6"), texts.end());
  const snapshot before = snapshot::take();
  make_move(move(0x44, 0x53));  // e5xd6 e.p.
  EXPECT_EQ(position::board[0x43], nullptr);
  EXPECT_EQ(position::material[black], 0);
  EXPECT_EQ(position_fault(), "");
  unmake_move(move(0x44, 0x53));
  EXPECT_TRUE(snapshot::take() == before);
}

TEST(BoardMakeUnmake, CapturedPieceComesBackLastInItsList) {
  // Black to move, without captures: building the root list leaves the
  // lists in text order (its trial captures would reorder them).
  set_up("n3k3/8/8/8/8/8/8/R3K3 b - - 0 1");
  const apiece* knight_piece = position::board[a8];
  ASSERT_EQ(position::pieces[black].front(), knight_piece);
  make_move(move(e8, f8));
  make_move(move(a1, a8));
  unmake_move(move(a1, a8));
  EXPECT_EQ(position::pieces[black].back(), knight_piece);
  EXPECT_EQ(position::pieces[black].front(), position::kings[black]);
}

TEST(BoardMakeUnmake, NullMoveFlipsSideKeyAndPly) {
  set_up(start_position_fen);
  const snapshot start = snapshot::take();
  make_null();
  EXPECT_EQ(position::side_to_move, black);
  EXPECT_EQ(position::ply, 1);
  EXPECT_EQ(position::position_key, start.key ^ zobrist.side_to_move);
  unmake_null();
  EXPECT_TRUE(snapshot::take() == start);
}

// A faulty position stops the engine with one line that names the fault.
// With MARLEK_CHECKS that happens at the first make after the fault. The
// line goes to standard error here, where the death test reads it.
TEST(BoardChecksDeathTest, FaultStopsTheEngineNamingIt) {
#ifdef MARLEK_EMULATOR
  GTEST_SKIP() << "a death test starts the test binary again, which the emulator cannot";
#endif
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  set_up(start_position_fen);
  auto corrupt = [] {
    set_output_stream(&std::cerr);
    position::material[white] += 1;
  };
  EXPECT_DEATH((corrupt(), stop_on_position_fault("set-up")),
               "Error: position fault after set-up: material differs");
  if (!position_checks) GTEST_SKIP() << "built without MARLEK_CHECKS";
  EXPECT_DEATH((corrupt(), make_move(move("e2e4"))), "after make_move: material differs");
}

}  // namespace
}  // namespace marlek::test
