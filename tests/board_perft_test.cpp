// Perft: the node counts of the standard and the Chess960 test positions,
// from the reference files, must match exactly. Counts above the limit are left to the perft
// tool in Release; they are a benchmark, not a unit test. The same
// positions hold the fast attack test to the slow one that asks each piece.
#include <gtest/gtest.h>

#include <algorithm>

#include "board/perft.h"
#include "board_helpers.h"
#include "perft_cases.h"

namespace marlek::test {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr std::uint64_t node_limit = 100000;  // sanitizers run far slower
#else
constexpr std::uint64_t node_limit = 1000000;
#endif

std::vector<perft_case> load_cases() { return load_perft_cases("perft.txt", false, node_limit); }
std::vector<perft_case> load_chess960_cases() {
  return load_perft_cases("perft960.txt", true, node_limit);
}

class PerftReference : public ::testing::TestWithParam<perft_case> {};

TEST_P(PerftReference, CountMatches) {
  const perft_case& c = GetParam();
  set_up(c.fen, c.chess960);
  for (auto [depth, nodes] : c.counts)
    EXPECT_EQ(perft(depth), nodes) << c.fen << " depth " << depth;
  EXPECT_EQ(position_fault(), "");
}

std::string case_name(const ::testing::TestParamInfo<perft_case>& info) {
  return "line" + std::to_string(info.index);
}
INSTANTIATE_TEST_SUITE_P(Board, PerftReference, ::testing::ValuesIn(load_cases()), case_name);
INSTANTIATE_TEST_SUITE_P(Chess960, PerftReference, ::testing::ValuesIn(load_chess960_cases()),
                         case_name);

// The outward attack test must agree with asking every piece, on every
// square and for both colours, in each reference position and after each
// move generated there (legal or not: an illegal move is exactly where the
// check test has to find the attacked king).
void expect_attacks_agree(const std::string& where) {
  for (square s = 0; s < 120; ++s) {
    if (!on_board(s)) continue;
    for (int c = white; c <= black; ++c) {
      const int expected = attacker_count_asking_each(c, s);
      const std::int8_t just_s[] = {static_cast<std::int8_t>(s), -1};
      ASSERT_EQ(attack_pairs(c, just_s), expected) << where << " square " << s << " colour " << c;
      ASSERT_EQ(attacked(c, s), expected != 0) << where << " square " << s << " colour " << c;
    }
  }
}

// Whether the king of the side that just moved is attacked, by asking each
// piece of the side to move.
bool mover_attacked() {
  const apiece* k = position::kings[1 - position::side_to_move];
  return k && attacker_count_asking_each(position::side_to_move, k->sq) > 0;
}

// Makes each pseudo-legal move of the side to move in turn, calls
// `after(m)` in the position it reaches, and takes it back. With
// `legal_only`, moves are made as the search makes them: tested first, and
// an illegal one passed over.
template <typename visit>
void for_each_move(visit after, bool legal_only = false) {
  move_list moves;
  generate_captures();
  generate_quiet();
  for (std::size_t i = moves.start(); i < moves.end(); ++i) {
    const move m = global_moves[i];
    if (legal_only) {
      if (leaves_king_attacked(m)) {
        reorder_as_if_made(m);  // as the search leaves a move it does not make
        continue;
      }
      make_legal_move(m);
    } else {
      make_move(m);
    }
    after(m);
    unmake_move(m);
  }
}

// The side's generators must give the moves of asking each piece, in the
// same order.
template <typename side_generator, typename piece_generator>
void expect_generation_agrees(side_generator for_side, piece_generator for_piece,
                              const std::string& where) {
  move_list frame;
  for_side();
  const std::vector<move> side_moves(global_moves.begin() + frame.start(), global_moves.end());
  global_moves.resize(frame.start());
  for (const apiece* p : position::pieces[position::side_to_move]) for_piece(p);
  const std::vector<move> piece_moves(global_moves.begin() + frame.start(), global_moves.end());
  ASSERT_EQ(side_moves, piece_moves) << where;
}

void expect_generators_agree(const std::string& where) {
  expect_generation_agrees(
      generate_captures, [](const apiece* p) { p->gen_captures(); }, where);
  expect_generation_agrees(
      generate_quiet, [](const apiece* p) { p->gen_quiet(); }, where);
}

TEST_P(PerftReference, FastAnswersAgreeWithAskingEachPiece) {
  const perft_case& c = GetParam();
  set_up(c.fen, c.chess960);
  expect_attacks_agree(c.fen);
  expect_generators_agree(c.fen);
  for_each_move([&](move m) {
    if (HasFatalFailure()) return;
    expect_attacks_agree(c.fen + " after " + to_text(m));
    expect_generators_agree(c.fen + " after " + to_text(m));
    ASSERT_EQ(mover_in_check(), mover_attacked()) << c.fen << " after " << to_text(m);
  });
}

// The check test after a move takes its shortcut only when it knows the
// mover was not in check before; after a null move it answers from that
// alone. Both must agree with asking each piece, one and two moves deep.
TEST_P(PerftReference, CheckTestAfterMoveAgreesWithAskingEachPiece) {
  const perft_case& c = GetParam();
  set_up(c.fen, c.chess960);
  make_null();
  ASSERT_EQ(mover_in_check(), mover_attacked()) << c.fen << " after a null move";
  unmake_null();
  for_each_move([&](move m) {
    // After an illegal move a reply could take the king, which no search
    // ever makes: the search stops at the position before.
    if (HasFatalFailure() || mover_attacked()) return;
    for_each_move([&](move r) {
      if (HasFatalFailure()) return;
      ASSERT_EQ(mover_in_check(), mover_attacked())
          << c.fen << " after " << to_text(m) << " " << to_text(r);
    });
  });
}

// The check test before a move must give the answer of making the move and
// asking each piece, for every move generated in each reference position
// and after each legal move there (where a side is often in check). An
// illegal move is then not made: the lists must be left in the order that
// making and unmaking it would leave them.
void expect_check_test_before_move_agrees(const std::string& where) {
  move_list moves;
  generate_captures();
  generate_quiet();
  for (std::size_t i = moves.start(); i < moves.end(); ++i) {
    const move m = global_moves[i];
    const std::vector<apiece*> before[2] = {position::pieces[white], position::pieces[black]};
    make_move(m);
    const bool attacked_king = mover_attacked();
    unmake_move(m);
    const std::vector<apiece*> made[2] = {position::pieces[white], position::pieces[black]};
    for (int c = white; c <= black; ++c)
      position::pieces[c].assign(before[c].begin(), before[c].end());
    ASSERT_EQ(leaves_king_attacked(m), attacked_king) << where << " move " << to_text(m);
    reorder_as_if_made(m);
    for (int c = white; c <= black; ++c)
      ASSERT_EQ(position::pieces[c], made[c]) << where << " move " << to_text(m) << " colour " << c;
  }
}

TEST_P(PerftReference, CheckTestBeforeMoveAgreesWithMakingIt) {
  const perft_case& c = GetParam();
  set_up(c.fen, c.chess960);
  expect_check_test_before_move_agrees(c.fen);
  for_each_move([&](move m) {
    if (HasFatalFailure() || mover_attacked()) return;
    expect_check_test_before_move_agrees(c.fen + " after " + to_text(m));
  });
}

// The pieces giving check to the side to move, as the position keeps them,
// must be those that say they attack its king: counted from the last move
// when the moves were tested before they were made, as in the search.
void expect_checkers_agree(const std::string& where) {
  const apiece* k = position::kings[position::side_to_move];
  if (!k) return;
  std::vector<int> attackers;
  for (const apiece* p : position::pieces[1 - position::side_to_move])
    if (p->attacks(k->sq)) attackers.push_back(p->sq);
  ASSERT_EQ(in_check(position::side_to_move), !attackers.empty()) << where;
  const position::path_entry& entry = position::path.back();
  ASSERT_EQ(entry.checked, static_cast<int>(attackers.size())) << where;
  if (attackers.size() > 2) return;  // only two squares are kept
  std::vector<int> kept(entry.checkers, entry.checkers + entry.checked);
  std::sort(kept.begin(), kept.end());
  std::sort(attackers.begin(), attackers.end());
  ASSERT_EQ(kept, attackers) << where;
}

template <typename visit>
void for_each_legal_move_tested_first(visit after) {
  for_each_move(after, true);
}

void expect_checkers_agree_two_moves_deep(const std::string& fen, bool chess960 = false) {
  set_up(fen, chess960);
  for_each_legal_move_tested_first([&](move m) {
    for_each_legal_move_tested_first([&](move r) {
      if (::testing::Test::HasFatalFailure()) return;
      expect_checkers_agree(fen + " after " + to_text(m) + " " + to_text(r));
    });
    if (::testing::Test::HasFatalFailure()) return;
    make_null();
    expect_checkers_agree(fen + " after " + to_text(m) + " and a null move");
    // A side in check that passes could lose its king to the reply; the
    // search stops there, and so does the walk.
    if (!mover_in_check()) {
      for_each_legal_move_tested_first([&](move r) {
        if (::testing::Test::HasFatalFailure()) return;
        expect_checkers_agree(fen + " after " + to_text(m) + ", a null move and " + to_text(r));
      });
    }
    unmake_null();
  });
}

TEST_P(PerftReference, CheckersFromTheLastMoveAgreeWithAskingEachPiece) {
  expect_checkers_agree_two_moves_deep(GetParam().fen, GetParam().chess960);
}

TEST(BoardPerft, DiscoveredAndDoubleChecksAreCounted) {
  // A knight before a rook, a bishop before a queen: the reply or the
  // answer to it uncovers a check, and a knight on f7 or d7 gives two.
  expect_checkers_agree_two_moves_deep("4k3/8/8/4N3/8/8/8/4RK2 b - - 0 1");
  expect_checkers_agree_two_moves_deep("7k/8/8/8/3B4/8/1Q6/K7 b - - 0 1");
}

TEST(BoardPerft, ReferenceFileIsRead) {
  // Guards against a silently empty parameter list.
  EXPECT_GT(load_cases().size(), 100u);
  EXPECT_GE(load_chess960_cases().size(), 16u);
}

}  // namespace
}  // namespace marlek::test
