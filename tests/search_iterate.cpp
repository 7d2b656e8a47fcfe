// Iterative deepening and its output: the thinking lines, the principal
// variation, stopping on a mate score and on a stop request.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "board/consistency.h"
#include "board/position.h"
#include "board/root.h"
#include "engine/flags.h"
#include "protocol/output.h"
#include "search/alpha_beta.h"
#include "search/bench.h"
#include "search/hash_table.h"
#include "search/iterate.h"
#include "search/ordering.h"
#include "search/scores.h"
#include "search/stop_poll.h"

namespace marlek {
namespace {

// A poll that counts its calls and answers yes from call `limit` on
// (never while limit is 0).
int poll_calls = 0;
int poll_limit = 0;
bool counting_poll() { return ++poll_calls >= poll_limit && poll_limit > 0; }

class Deepening : public testing::Test {
 protected:
  void SetUp() override {
    poll_calls = 0;
    poll_limit = 0;
    set_stop_poll(counting_poll);
    set_output_stream(&output);
    post_thinking = true;
  }
  void TearDown() override {
    set_stop_poll(nullptr);
    set_output_stream(nullptr);
    post_thinking = true;
  }

  std::vector<std::string> lines() const {
    std::vector<std::string> result;
    std::istringstream in(output.str());
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
  }

  std::ostringstream output;
};

// Depth, score, centiseconds, nodes, then moves each followed by a space.
const std::regex thinking_line(R"((\d+)\t(-?\d+)\t(\d+)\t(\d+)\t((?:[a-h][1-8][a-h][1-8][qrbn]? )*))");

std::string field(const std::string& line, int index) {
  std::smatch m;
  EXPECT_TRUE(std::regex_match(line, m, thinking_line)) << line;
  return m.size() > static_cast<std::size_t>(index) ? m[index].str() : std::string();
}

std::string best_move_text() { return to_text(global_moves[best_move]); }

TEST_F(Deepening, ThinkingLinesHaveTabsAndASpaceAfterEachMove) {
  ASSERT_TRUE(set_up_afresh(start_position_fen));
  const std::string first_root_move = to_text(global_moves[0]);
  iterative_deepening(400, search_root);
  const auto written = lines();
  // The first line reports the root entry before any search: depth 0, and
  // the stored move that setting up gave the root.
  ASSERT_EQ(written.size(), 3u);
  EXPECT_EQ(field(written[0], 1), "0");
  EXPECT_EQ(field(written[0], 2), "0");
  EXPECT_EQ(field(written[0], 4), "0");
  EXPECT_EQ(field(written[0], 5), first_root_move + " ");
  // Then depths 3 and 4; none for 0, 1 and 2.
  EXPECT_EQ(field(written[1], 1), "3");
  EXPECT_EQ(field(written[2], 1), "4");
  for (const std::string& line : written) EXPECT_EQ(std::stoi(field(line, 3)) % 100, 0);
  EXPECT_LT(std::stoull(field(written[1], 4)), std::stoull(field(written[2], 4)));
  EXPECT_EQ(field(written[2], 4), std::to_string(node_count));
  // The variation starts with the move the engine would play.
  EXPECT_EQ(field(written[2], 5).substr(0, best_move_text().size() + 1), best_move_text() + " ");
  EXPECT_EQ(position_fault(), "");
}

TEST_F(Deepening, NoLinesWhileNotPosting) {
  post_thinking = false;
  ASSERT_TRUE(set_up_afresh(start_position_fen));
  iterative_deepening(300, search_root);
  EXPECT_EQ(output.str(), "");
}

TEST_F(Deepening, FindsMateInTwoAndStopsThere) {
  // Qg8+ Rxg8 Nf7 mates. The checks extend the search, so the mate shows
  // within two plies, whose iterations print no line.
  ASSERT_TRUE(set_up_afresh("4r2k/6pp/7N/3Q4/8/8/8/6K1 w - - 0 1"));
  iterative_deepening(1000, search_root);
  EXPECT_EQ(best_move_text(), "d5g8");
  EXPECT_EQ(hash_table::probe()->score, -mated_score);
  EXPECT_EQ(iteration_depth, 200);
  EXPECT_EQ(lines().size(), 1u);
  std::ostringstream pv;
  print_pv(pv);
  EXPECT_EQ(pv.str(), "d5g8 e8g8 h6f7 ");
}

TEST_F(Deepening, MatedSideStopsAtMinus10000) {
  // Black's only move Kb8 is answered by Rh8 mate.
  ASSERT_TRUE(set_up_afresh("k7/8/1K6/8/8/8/8/7R b - - 0 1"));
  iterative_deepening(1000, search_root);
  EXPECT_EQ(hash_table::probe()->score, mated_score);
  EXPECT_LT(iteration_depth, 1000);
}

TEST_F(Deepening, NothingToSearchWithoutLegalMoves) {
  ASSERT_TRUE(set_up_afresh("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1"));  // stalemate
  ASSERT_EQ(root_moves_end, 0u);
  iterative_deepening(300, search_root);
  EXPECT_EQ(output.str(), "");
  EXPECT_EQ(poll_calls, 0);
}

// Polls made by a complete search of the middlegame below to `depth`.
int polls_to_depth(int depth) {
  poll_calls = 0;
  poll_limit = 0;
  EXPECT_TRUE(set_up_afresh("r1bq1rk1/pp2bppp/2n2n2/3p4/3P4/2NB1N2/PP3PPP/R1BQ1RK1 w - - 0 10"));
  iterative_deepening(depth, search_root);
  return poll_calls;
}

TEST_F(Deepening, InterruptedIterationWritesNothingAndKeepsTheBestMove) {
  post_thinking = false;
  const int through_3 = polls_to_depth(300);
  const int through_4 = polls_to_depth(400);
  ASSERT_LT(through_3 + 10, through_4);

  // Stopped half-way through depth 4: the depth-3 line is the last one,
  // and the move played is the one it shows first.
  post_thinking = true;
  ASSERT_TRUE(set_up_afresh("r1bq1rk1/pp2bppp/2n2n2/3p4/3P4/2NB1N2/PP3PPP/R1BQ1RK1 w - - 0 10"));
  poll_calls = 0;
  poll_limit = (through_3 + through_4) / 2;
  iterative_deepening(400, search_root);
  const auto written = lines();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(field(written[1], 1), "3");
  const std::string pv = field(written[1], 5);
  EXPECT_EQ(pv.substr(0, pv.find(' ')), best_move_text());
  EXPECT_EQ(iteration_depth, 400);
  // The stop unwound the whole search: the path marks are gone.
  EXPECT_EQ(global_moves.size(), root_moves_end);
  EXPECT_TRUE(null_move_allowed);
  EXPECT_EQ(position_fault(), "");
  EXPECT_EQ(hash_table::probe()->in_search, 0);
}

TEST_F(Deepening, StopRequestBeforeTheFirstIterationEndsKeepsTheSetUpMove) {
  ASSERT_TRUE(set_up_afresh(start_position_fen));
  const std::size_t chosen = best_move;
  poll_limit = 1;
  iterative_deepening(400, search_root);
  EXPECT_EQ(best_move, chosen);
  EXPECT_EQ(lines().size(), 1u);  // the first line only
}

// Stores `texts` as the chain of best moves from the current position on.
void store_line(const std::vector<const char*>& texts) {
  for (const char* text : texts) {
    hash_entry* entry = hash_table::probe();
    entry->hash_move = move(text);
    entry->has_move = 1;
    make_move(move(text));
  }
  for (auto it = texts.rbegin(); it != texts.rend(); ++it) unmake_move(move(*it));
}

TEST(PrintPv, StopsWhereTheLineReturnsToAPositionOnIt) {
  ASSERT_TRUE(root::SetBoard(start_position_fen));
  const hash_key key = position::position_key;
  store_line({"g1f3", "g8f6", "f3g1", "f6g8"});
  std::ostringstream pv;
  print_pv(pv);
  EXPECT_EQ(pv.str(), "g1f3 g8f6 f3g1 f6g8 ");
  EXPECT_EQ(position::position_key, key);
  EXPECT_EQ(hash_table::probe()->in_search, 0);
}

TEST(PrintPv, StopsAtAnIllegalOrUnfittingMove) {
  ASSERT_TRUE(root::SetBoard("4k3/4r3/8/8/8/8/4B3/4K3 w - - 0 1"));
  store_line({"e1d1"});
  hash_table::probe()->hash_move = move("e2d3");  // pinned bishop: illegal
  std::ostringstream pv;
  print_pv(pv);
  EXPECT_EQ(pv.str(), "");

  hash_table::probe()->hash_move = move("e4e5");  // from an empty square
  print_pv(pv);
  EXPECT_EQ(pv.str(), "");
  EXPECT_EQ(position_fault(), "");
}

}  // namespace
}  // namespace marlek
