// Playing and taking back the moves of a game: the check against the legal
// moves, the result lines, and the repetition counts kept per position.
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "base/output.h"
#include "board/consistency.h"
#include "game/root.h"
#include "search/hash_table.h"
#include "search/search_state.h"

namespace marlek {
namespace {

class GameRecord : public testing::Test {
 protected:
  void SetUp() override { set_output_stream(&out_); }
  void TearDown() override { set_output_stream(nullptr); }

  void set_up(const char* fen) { ASSERT_TRUE(root::SetBoard(fen)); }

  // Plays moves that must not end the game.
  void play_all(const std::vector<const char*>& moves) {
    for (const char* text : moves)
      ASSERT_EQ(root::play_move(move(text)), play_result::game_goes_on) << text;
  }

  // Lines written since the last call.
  std::string output() {
    std::string text = out_.str();
    out_.str("");
    return text;
  }

  // The repetition count stored for the position with this key.
  static unsigned repetitions_of(const hash_key& key) {
    const hash_entry* entry = hash_table::find(key);
    EXPECT_NE(entry, nullptr);
    return entry ? entry->repetitions() : 0;
  }

  static std::array<char, 120> board_letters() {
    std::array<char, 120> letters{};
    for (int s = 0; s < 120; ++s)
      letters[s] = position::board[s] ? position::board[s]->letter : '.';
    return letters;
  }

  std::ostringstream out_;
};

TEST_F(GameRecord, KnightShuffleDrawsOnTheThirdOccurrence) {
  set_up(start_position_fen);
  const hash_key start = position::position_key;
  play_all({"g1f3", "g8f6", "f3g1", "f6g8"});
  EXPECT_EQ(repetitions_of(start), 2u);
  play_all({"g1f3", "g8f6", "f3g1"});
  EXPECT_EQ(output(), "");
  EXPECT_EQ(root::play_move(move("f6g8")), play_result::draw_by_repetition);
  EXPECT_EQ(output(), "1/2-1/2 {Draw by repetition}\n");
  EXPECT_EQ(root::game_record.size(), 8u);
}

TEST_F(GameRecord, MateIsAnnouncedForTheWinner) {
  set_up(start_position_fen);
  play_all({"f2f3", "e7e5", "g2g4"});
  EXPECT_EQ(root::play_move(move("d8h4")), play_result::checkmate);
  EXPECT_EQ(output(), "0-1 {Black mates}\n");
  EXPECT_EQ(root_moves_end, 0u);
  // Nothing more can be played after the end.
  EXPECT_EQ(root::play_move(move("e2e3")), play_result::not_legal);

  set_up("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
  EXPECT_EQ(root::play_move(move("a1a8")), play_result::checkmate);
  EXPECT_EQ(output(), "1-0 {White mates}\n");
}

TEST_F(GameRecord, StalemateComesBeforeRepetition) {
  const char* before = "7k/8/8/6Q1/8/8/8/K7 w - - 0 1";
  set_up(before);
  EXPECT_EQ(root::play_move(move("g5g6")), play_result::stalemate);
  EXPECT_EQ(output(), "1/2-1/2 {Stalemate}\n");

  // The same stalemate reached for the third time is still a stalemate.
  set_up(before);
  make_move(move("g5g6"));
  const position_snapshot stalemate = snapshot_of_position();
  unmake_move(move("g5g6"));
  root::game_positions.insert(root::game_positions.begin(), 2, stalemate);
  EXPECT_EQ(root::play_move(move("g5g6")), play_result::stalemate);
  EXPECT_EQ(output(), "1/2-1/2 {Stalemate}\n");
}

TEST_F(GameRecord, FiftyMoveRuleCountsFromTheSetUpClock) {
  const char* fen = "4k3/4p3/8/8/8/8/8/R3K3 w - - 99 80";
  set_up(fen);
  EXPECT_EQ(root::play_move(move("a1a2")),
            play_result::game_goes_on);  // the 100th half-move: not yet
  EXPECT_EQ(root::play_move(move("e8d8")), play_result::draw_by_fifty_moves);  // the 101st
  EXPECT_EQ(output(), "1/2-1/2 {50 move rule}\n");

  // A pawn move starts the count again.
  set_up(fen);
  play_all({"a1a2", "e7e6", "a2a3"});
  EXPECT_EQ(output(), "");
}

TEST_F(GameRecord, MoveNotInTheRootListChangesNothing) {
  // The knight on d2 is pinned: d2f3 is generated but not legal.
  set_up("4k3/3r4/8/8/8/8/3N4/3K4 w - - 0 1");
  const hash_key key = position::position_key;
  const std::size_t root_size = root_moves_end;
  for (const char* text : {"d2f3", "d2e5", "a1a2", "d1e3"}) {
    EXPECT_EQ(root::play_move(move(text)), play_result::not_legal) << text;
    EXPECT_EQ(position::ply, 0);
    EXPECT_TRUE(position::position_key == key);
    EXPECT_TRUE(root::game_record.empty());
    EXPECT_EQ(root_moves_end, root_size);
  }
  EXPECT_EQ(output(), "");
}

TEST_F(GameRecord, TakeBackRestoresPositionAndCounts) {
  set_up(start_position_fen);
  play_all({"e2e4", "d7d5"});
  const hash_key key = position::position_key;
  const auto letters = board_letters();
  const std::size_t root_size = root_moves_end;
  play_all({"e4d5"});  // a capture, so the take-back must bring the pawn back
  EXPECT_EQ(repetitions_of(position::position_key), 1u);
  const hash_key after = position::position_key;

  ASSERT_TRUE(root::take_back());
  EXPECT_EQ(position_fault(), "");
  EXPECT_TRUE(position::position_key == key);
  EXPECT_EQ(board_letters(), letters);
  EXPECT_EQ(position::ply, 2);
  EXPECT_EQ(root_moves_end, root_size);
  EXPECT_EQ(root::game_record.size(), 2u);
  EXPECT_EQ(repetitions_of(after), 0u);
}

TEST_F(GameRecord, TakeBackUndoesARepetition) {
  set_up(start_position_fen);
  const hash_key start = position::position_key;
  play_all({"g1f3", "g8f6", "f3g1", "f6g8"});
  ASSERT_TRUE(root::take_back());
  EXPECT_EQ(repetitions_of(start), 1u);
  // Played again, the start position has only its second occurrence, and
  // the draw comes four moves later than without the take-back.
  play_all({"f6g8", "g1f3", "g8f6", "f3g1"});
  EXPECT_EQ(root::play_move(move("f6g8")), play_result::draw_by_repetition);
}

TEST_F(GameRecord, SearchTakingTheSlotOfAGamePositionCostsNoCount) {
  set_up(start_position_fen);
  const hash_key start = position::position_key;
  play_all({"g1f3", "g8f6", "f3g1", "f6g8"});  // the start position, second time

  // Between moves a search hands the start position's slot to another position.
  hash_entry* slot = hash_table::find(start);
  ASSERT_NE(slot, nullptr);
  slot->reset();
  hash_key moved = slot->key;
  moved.high ^= 1;
  slot->key = moved;
  slot->set_repetitions(1);
  const hash_key other = slot->key;

  // Taking back leaves the other position's entry and count alone.
  ASSERT_TRUE(root::take_back());
  ASSERT_NE(hash_table::find(other), nullptr);
  EXPECT_EQ(hash_table::find(other)->repetitions(), 1u);

  // The claim still comes exactly at the third occurrence.
  play_all({"f6g8", "g1f3", "g8f6", "f3g1"});
  EXPECT_EQ(output(), "");
  EXPECT_EQ(root::play_move(move("f6g8")), play_result::draw_by_repetition);
  EXPECT_EQ(output(), "1/2-1/2 {Draw by repetition}\n");
}

TEST_F(GameRecord, ClearingTheTableKeepsTheGameCountsOnly) {
  set_up(start_position_fen);
  const hash_key start = position::position_key;
  play_all({"g1f3", "g8f6", "f3g1", "f6g8", "e2e4"});
  hash_entry* now = hash_table::probe();
  now->set_bound(exact_bound);
  now->depth = 500;
  root::clear_hash();
  EXPECT_EQ(position_fault(), "");
  EXPECT_EQ(repetitions_of(start), 2u);
  EXPECT_EQ(repetitions_of(position::position_key), 1u);
  EXPECT_EQ(hash_table::find(position::position_key)->depth, 0);
  EXPECT_EQ(root_moves_end, 20u);
}

TEST_F(GameRecord, TableTakesItsNewSizeAtTheNextSetUp) {
  set_up(start_position_fen);
  hash_table::request_size(hash_table::size_for_megabytes(1));
  play_all({"e2e4"});
  EXPECT_EQ(hash_table::size(), hash_table::default_size);  // not during a game
  set_up(start_position_fen);
  EXPECT_EQ(hash_table::size(), 1u << 15);
  EXPECT_EQ(repetitions_of(position::position_key), 1u);
  hash_table::request_size(hash_table::default_size);
  set_up(start_position_fen);
  EXPECT_EQ(hash_table::size(), hash_table::default_size);
  EXPECT_EQ(output(), "");
}

TEST_F(GameRecord, TakeBackIsRefusedWithoutAMove) {
  set_up(start_position_fen);
  const hash_key key = position::position_key;
  EXPECT_FALSE(root::take_back());
  EXPECT_TRUE(position::position_key == key);
  EXPECT_EQ(root_moves_end, 20u);

  play_all({"e2e4"});
  EXPECT_TRUE(root::take_back());
  EXPECT_FALSE(root::take_back());
  EXPECT_EQ(position::ply, 0);

  // A new set-up, good or bad, forgets the moves of the game before it.
  play_all({"e2e4"});
  set_up(start_position_fen);
  EXPECT_FALSE(root::take_back());
  play_all({"e2e4"});
  EXPECT_FALSE(root::SetBoard("not a position"));
  EXPECT_FALSE(root::take_back());
}

}  // namespace
}  // namespace marlek
