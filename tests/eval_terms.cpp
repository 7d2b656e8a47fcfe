// The static evaluation, term by term, on positions small enough to add up
// by hand. Every position is set up afresh; the evaluation reads the global
// position only.
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "board/pieces.h"
#include "eval/evaluate.h"
#include "eval/tables.h"
#include "game/root.h"
#include "search/scores.h"

namespace marlek {
namespace {

constexpr int wide_alpha = -infinity_score;
constexpr int wide_beta = infinity_score;

int evaluate_fen(const char* fen, int alpha = wide_alpha, int beta = wide_beta) {
  EXPECT_TRUE(root::SetBoard(fen)) << fen;
  return evaluate(alpha, beta);
}

char other_colour(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
}

// The same position seen from the other side: ranks reversed, colours, the
// side to move and the castling rights exchanged (no en passant).
std::string mirrored_fen(const std::string& fen) {
  std::istringstream fields(fen);
  std::string placement, side, rights;
  fields >> placement >> side >> rights;
  std::vector<std::string> ranks;
  std::istringstream rows(placement);
  for (std::string row; std::getline(rows, row, '/');) ranks.push_back(row);
  std::string mirrored;
  for (auto row = ranks.rbegin(); row != ranks.rend(); ++row) {
    if (!mirrored.empty()) mirrored += '/';
    for (char c : *row) mirrored += other_colour(c);
  }
  std::string swapped;
  for (char right : std::string("KQkq"))
    if (rights.find(other_colour(right)) != std::string::npos) swapped += right;
  return mirrored + (side == "w" ? " b " : " w ") + (swapped.empty() ? "-" : swapped) + " - 0 1";
}

// Two white bishops b2, e2 (a pair), kings e1 and h6, no castling rights.
// Material 680, +50 for the pair, +4 and +6 for the bishops' squares, the
// kings' endgame values -1 and -1 cancel: 740 after the pawn structure.
// Both bishops reach a square next to the black king (h5, g7): +72, 812.
constexpr const char* bishop_pair_fen = "8/8/7k/8/8/8/1B2B3/4K3 w - - 0 1";

TEST(EvaluateLazy, EachCheckpointExitsOneCentipawnBeyondTheMargin) {
  // After material (680): hi + 25 = 679 exits, 680 goes on.
  EXPECT_EQ(evaluate_fen(bishop_pair_fen, wide_alpha, 654), 680);
  EXPECT_EQ(evaluate_fen(bishop_pair_fen, wide_alpha, 655), 730);
  // After the bishop pair (730).
  EXPECT_EQ(evaluate_fen(bishop_pair_fen, wide_alpha, 704), 730);
  EXPECT_EQ(evaluate_fen(bishop_pair_fen, wide_alpha, 705), 740);
  // After the pawn structure (740).
  EXPECT_EQ(evaluate_fen(bishop_pair_fen, wide_alpha, 714), 740);
  EXPECT_EQ(evaluate_fen(bishop_pair_fen, wide_alpha, 715), 812);
  // The lower side: lo - 25 above the score exits.
  EXPECT_EQ(evaluate_fen(bishop_pair_fen, 706, wide_beta), 680);
  EXPECT_EQ(evaluate_fen(bishop_pair_fen, 705, wide_beta), 812);
}

TEST(EvaluateLazy, WindowIsTurnedToWhitesViewAndItsOrderDoesNotMatter) {
  // White a queen up; the queen on a3 reaches e7 and f8 next to the king.
  const char* white_to_move = "4k3/8/8/8/8/Q7/8/4K3 w - - 0 1";
  const char* black_to_move = "4k3/8/8/8/8/Q7/8/4K3 b - - 0 1";
  EXPECT_EQ(evaluate_fen(white_to_move, -100, 100), 1000);
  EXPECT_EQ(evaluate_fen(black_to_move, -100, 100), -1000);
  EXPECT_EQ(evaluate_fen(white_to_move, 100, -100), 1000);
  // Full: 1000, queen on a3 -3, kings cancel, two zone squares +72.
  EXPECT_EQ(evaluate_fen(white_to_move), 1069);
  EXPECT_EQ(evaluate_fen(black_to_move), -1069);
}

TEST(EvaluateTerms, BishopPairNeedsExactlyTwoBishops) {
  // c1 and f1 stand on zero squares: 680 + 50.
  EXPECT_EQ(evaluate_fen("4k3/8/8/8/8/8/8/2B1KB2 w - - 0 1"), 730);
  // A third bishop on b2 (+4) ends the bonus: 1020 + 4.
  EXPECT_EQ(evaluate_fen("4k3/8/8/8/8/8/1B6/2B1KB2 w - - 0 1"), 1024);
  // One bishop: no bonus either.
  EXPECT_EQ(evaluate_fen("4k3/8/8/8/8/8/8/2B1K3 w - - 0 1"), 340);
}

TEST(EvaluateTerms, CastlingTermOnlyWhenBothRightsAreGone) {
  const std::string placement = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w ";
  // The initial position is symmetric: 0.
  EXPECT_EQ(evaluate_fen((placement + "KQkq - 0 1").c_str()), 0);
  EXPECT_EQ(evaluate_fen((placement + "Qkq - 0 1").c_str()), 0);
  EXPECT_EQ(evaluate_fen((placement + "Kkq - 0 1").c_str()), 0);
  EXPECT_EQ(evaluate_fen((placement + "kq - 0 1").c_str()), -92);
  EXPECT_EQ(evaluate_fen((placement + "KQ - 0 1").c_str()), 92);
  EXPECT_EQ(evaluate_fen((placement + "Kk - 0 1").c_str()), 0);
  EXPECT_EQ(evaluate_fen((placement + "- - 0 1").c_str()), 0);
}

TEST(EvaluateTerms, PhaseSwitchesAbove6400) {
  // Each side: queen, two rooks, two knights, five pawns: 6400 in all.
  // Moving the white f-pawn from f2 to f3 changes only its table value:
  // endgame 0 - (-5) = +5, middlegame -99 - (-5) = -94.
  const char* pawn_on_f2 = "2r1r2k/ppp3pp/2n2n2/3q4/8/2N3N1/PPP2P1P/K1RQR3 w - - 0 1";
  const char* pawn_on_f3 = "2r1r2k/ppp3pp/2n2n2/3q4/8/2N2PN1/PPP4P/K1RQR3 w - - 0 1";
  ASSERT_TRUE(root::SetBoard(pawn_on_f2));
  ASSERT_EQ(position::material[white] + position::material[black], 6400);
  const int endgame_f2 = evaluate(wide_alpha, wide_beta);
  EXPECT_EQ(evaluate_fen(pawn_on_f3) - endgame_f2, 5);

  // One centipawn more on the board: the middlegame tables. Material sums
  // are multiples of ten, so the running sum is raised by hand; it adds -1
  // to both scores alike.
  ASSERT_TRUE(root::SetBoard(pawn_on_f2));
  position::material[black] += 1;
  const int middlegame_f2 = evaluate(wide_alpha, wide_beta);
  ASSERT_TRUE(root::SetBoard(pawn_on_f3));
  position::material[black] += 1;
  const int middlegame_f3 = evaluate(wide_alpha, wide_beta);
  position::material[black] -= 1;
  EXPECT_EQ(middlegame_f3 - middlegame_f2, -94);
}

TEST(EvaluateTerms, PawnsOnEdgeFiles) {
  // a2: 100, table -50, isolated (no b-pawn) -10, no black a-pawn +22.
  EXPECT_EQ(evaluate_fen("4k3/8/8/8/8/8/P7/4K3 w - - 0 1"), 62);
  // A black h7 pawn with no g-pawn mirrors it: 10 in White's favour.
  EXPECT_EQ(evaluate_fen("4k3/7p/8/8/8/8/8/4K3 w - - 0 1"), -62);
  // With a b-pawn beside it the a-pawn is not isolated; a2 and b2 score
  // -50 and -25, each file +22: 200 - 75 + 44.
  EXPECT_EQ(evaluate_fen("4k3/8/8/8/8/8/PP6/4K3 w - - 0 1"), 169);
  // A black a-pawn takes the a-file term away from White's a-pawn and
  // gets none itself: 0 material, -50 + 50 table, both isolated.
  EXPECT_EQ(evaluate_fen("4k3/p7/8/8/8/8/P7/4K3 w - - 0 1"), 0);
}

TEST(EvaluateTerms, ThreeDoubledPawnsOnAnIsolatedFile) {
  // d2 d3 d4: 300, table 10 + 15 + 19, doubled -50, isolated -10, +22.
  EXPECT_EQ(evaluate_fen("4k3/8/8/8/3P4/3P4/3P4/4K3 w - - 0 1"), 306);
}

TEST(EvaluateTerms, KingZoneAttacksOfTwoKingsTwoSquaresApart) {
  // Kings d3 and e5 each reach d4 and e4 next to the other: +72 - 72. The
  // c3 pawn adds d4: +36. Material 100, kings +1 and -2, pawn on c3 0,
  // isolated -10, free file +22: 111 + 36.
  EXPECT_EQ(evaluate_fen("8/8/8/4k3/8/2PK4/8/8 w - - 0 1"), 147);
  EXPECT_EQ(evaluate_fen("8/8/8/4k3/8/2PK4/8/8 b - - 0 1"), -147);
}

TEST(EvaluateTables, ColourEntriesFollowTheBoardLayout) {
  constexpr square f3 = 0x25, f6 = 0x55, e2 = 0x14, e7 = 0x64, h2 = 0x17, h7 = 0x67;
  constexpr square d4 = 0x33, g2 = 0x16, h4 = 0x37, h5 = 0x47, b2 = 0x11;
  // Pawns: White's f3, and Black's f6 which mirrors it.
  EXPECT_EQ(pawn_middlegame_table[f3], -99);
  EXPECT_EQ(pawn_middlegame_table[f6 + 8], -99);
  EXPECT_EQ(pawn_middlegame_table[f6], -99);  // White's own f6
  EXPECT_EQ(pawn_middlegame_table[e2], 10);
  EXPECT_EQ(pawn_middlegame_table[e7 + 8], 10);
  EXPECT_EQ(pawn_endgame_table[h2], -50);
  EXPECT_EQ(pawn_endgame_table[h7 + 8], -50);
  // Rooks: Black's back rank is its own row, not the mirror of rank 1.
  EXPECT_EQ(rook_table[d1], 2);
  EXPECT_EQ(rook_table[e1], 5);
  EXPECT_EQ(rook_table[a8 + 8], 0);
  EXPECT_EQ(rook_table[b8 + 8], -1);
  EXPECT_EQ(rook_table[d8 + 8], 3);
  EXPECT_EQ(rook_table[e8 + 8], 3);
  EXPECT_EQ(rook_table[a1 + 8], 81);
  EXPECT_EQ(rook_table[b2 + 8], 73);
  EXPECT_EQ(rook_table[b8], 88);
  // Queens: White's h5 mirrors to Black's h4.
  EXPECT_EQ(queen_table[h5], 3);
  EXPECT_EQ(queen_table[h4 + 8], 3);
  EXPECT_EQ(queen_table[h4], -3);
  // King: middlegame half, then the endgame half of the same row.
  EXPECT_EQ(king_table[g1], 184);
  EXPECT_EQ(king_table[g1 + 8], -1);
  EXPECT_EQ(king_table[c8], 92);
  EXPECT_EQ(king_table[d4 + 8], 2);
  EXPECT_EQ(knight_table[d4], 14);
  EXPECT_EQ(bishop_table[g2], 5);
}

TEST(EvaluateSymmetry, MirroredPositionScoresTheSameForTheOtherSide) {
  // Rooks stay off the back ranks, where Black's table is not a mirror.
  const char* fens[] = {
      "1k6/ppp2ppp/2nbbn2/3qp3/3PP3/1PN1BN2/P1PQ1rPP/2K5 w - - 0 1",
      "r3k2r/pp1n1ppp/2p1pn2/q7/1bBP4/2N1PN2/PP1B1PPP/R2QK2R w KQkq - 0 1",
      "8/5pk1/6p1/3R4/8/6P1/5PK1/2r5 b - - 0 1",
      "4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1",
  };
  for (const char* fen : fens) {
    const int original = evaluate_fen(fen);
    const std::string mirror = mirrored_fen(fen);
    EXPECT_EQ(evaluate_fen(mirror.c_str()), original) << fen << " / " << mirror;
  }
}

}  // namespace
}  // namespace marlek
