// The transposition table and the root move list.
#include <gtest/gtest.h>

#include "board/pieces.h"
#include "board_helpers.h"
#include "search/hash_table.h"

namespace marlek::test {
namespace {

// Points the position at an arbitrary key, so that slots can be shared on
// purpose; restored on destruction.
class with_key {
 public:
  explicit with_key(hash_key key) : saved_(position::position_key) { position::position_key = key; }
  ~with_key() { position::position_key = saved_; }

 private:
  hash_key saved_;
};

TEST(SearchTable, SharedSlotGoesToTheNewcomerUnlessInSearch) {
  hash_table::clear();
  const hash_key first{0x00012345, 1}, second{0xABC12345, 2};  // same low 20 bits
  hash_entry* a;
  {
    with_key k(first);
    a = hash_table::probe();
    ASSERT_NE(a, nullptr);
    a->score = 77;
    a->hash_move = move(0x14, 0x34);
    a->set_has_move(1);
    a->set_bound(exact_bound);
    a->depth = 300;
    a->set_repetitions(2);
    a->set_in_search(1);
  }
  {
    with_key k(second);
    EXPECT_EQ(hash_table::probe(), nullptr);  // the occupant is on the path
  }
  a->set_in_search(0);
  {
    with_key k(second);
    hash_entry* b = hash_table::probe();
    ASSERT_EQ(b, a);
    // Freshly claimed: emptied, but the previous score and move remain.
    EXPECT_EQ(b->bound(), no_bound);
    EXPECT_EQ(b->depth, 0);
    EXPECT_EQ(b->has_move(), 0);
    EXPECT_EQ(b->repetitions(), 0);  // the game count of the old position is lost
    EXPECT_EQ(b->score, 77);
    EXPECT_TRUE(b->hash_move == move(0x14, 0x34));
    EXPECT_TRUE(b->key == second);
  }
  {
    with_key k(second);
    EXPECT_EQ(hash_table::probe(), a);  // a hit leaves the entry as it is
  }
}

TEST(SearchTable, RepetitionsCountModuloSixteen) {
  hash_entry entry{};
  entry.set_repetitions(15);
  entry.set_repetitions(entry.repetitions() + 1u);
  EXPECT_EQ(entry.repetitions(), 0);
  entry.set_repetitions(entry.repetitions() - 1u);
  EXPECT_EQ(entry.repetitions(), 15);
}

TEST(SearchTable, ClearKeepsKeysSoAFormerOccupantHitsAnEmptyEntry) {
  set_up(start_position_fen);
  hash_entry* entry = hash_table::probe();
  entry->set_bound(lower_bound);
  entry->depth = 500;
  hash_table::clear();
  hash_entry* again = hash_table::probe();
  EXPECT_EQ(again, entry);
  EXPECT_EQ(again->bound(), no_bound);
  EXPECT_EQ(again->depth, 0);
  EXPECT_EQ(again->has_move(), 0);
}

TEST(SearchTable, ManyClearsNeverRevealAnOldResult) {
  // Clearing works by generations; after 256 of them the count wraps, and an
  // entry untouched all that time must still read as cleared.
  set_up(start_position_fen);
  for (int clears : {1, 255, 256, 300}) {
    hash_entry* entry = hash_table::probe();
    entry->set_bound(exact_bound);
    entry->depth = 900;
    entry->set_repetitions(3);
    for (int i = 0; i < clears; ++i) hash_table::clear();
    const hash_entry* after = hash_table::find(position::position_key);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->bound(), no_bound) << clears;
    EXPECT_EQ(after->depth, 0) << clears;
    EXPECT_EQ(after->repetitions(), 0) << clears;
  }
}

TEST(SearchRootMoves, CapturesFirstByGainThenQuietMoves) {
  // Rxq gains 500, fxN gains 250, QxQ nothing, Qxp loses 900.
  set_up("4k3/8/8/2q3n1/5P2/6p1/8/2R1K1Q1 w - - 0 1");
  const auto moves = root_move_texts();
  ASSERT_GE(moves.size(), 4u);
  EXPECT_EQ(moves[0], "c1c5");
  EXPECT_EQ(moves[1], "f4g5");
  EXPECT_EQ(moves[2], "g1c5");  // queen for queen: gain 0
  // The losing queen capture comes after the other captures, before quiet moves.
  EXPECT_EQ(moves[3], "g1g3");
}

TEST(SearchTable, SizeIsThePowerOfTwoThatFits) {
  EXPECT_EQ(hash_table::size_for_megabytes(24), hash_table::default_size);  // 24-byte entries
  EXPECT_EQ(hash_table::size_for_megabytes(47), hash_table::default_size);
  EXPECT_EQ(hash_table::size_for_megabytes(1), 1u << 15);
  EXPECT_EQ(hash_table::size_for_megabytes(0), hash_table::smallest_size);
  EXPECT_EQ(hash_table::size_for_megabytes(UINT64_MAX), hash_table::largest_size);
}

TEST(SearchRootMoves, RootEntryGetsALegalMove) {
  set_up(start_position_fen);
  hash_entry* root = hash_table::probe();
  ASSERT_TRUE(root->has_move());
  EXPECT_TRUE(root->hash_move == global_moves[0]);
  EXPECT_EQ(best_move, 0u);
  // A stored move that is not a root move is replaced, and the entry reset.
  root->hash_move = move(0x14, 0x44);  // e2e5
  root->set_bound(exact_bound);
  root->depth = 700;
  build_root_moves();
  EXPECT_TRUE(root->hash_move == global_moves[0]);
  EXPECT_EQ(root->bound(), no_bound);
  EXPECT_EQ(root->depth, 0);
  // A stored legal move is kept and becomes the best move.
  root->hash_move = global_moves[5];
  build_root_moves();
  EXPECT_TRUE(global_moves[best_move] == root->hash_move);
}

TEST(SearchRootMoves, NoLegalMoveLeavesAnEmptyListAndTheEntryAlone) {
  set_up("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");  // stalemate
  EXPECT_EQ(root_moves_end, 0u);
  EXPECT_TRUE(global_moves.empty());
  EXPECT_FALSE(hash_table::probe()->has_move());
}

}  // namespace
}  // namespace marlek::test
