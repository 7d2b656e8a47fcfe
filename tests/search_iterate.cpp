// Iterative deepening and its output: the thinking lines, the principal
// variation, stopping on a mate score and on a stop request.
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "base/flags.h"
#include "base/output.h"
#include "board/consistency.h"
#include "board/position.h"
#include "game/bench.h"
#include "game/root.h"
#include "search/alpha_beta.h"
#include "search/hash_table.h"
#include "search/iterate.h"
#include "search/scores.h"
#include "search/search_state.h"
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

bool all_digits(const std::string& text, std::size_t from = 0) {
  if (text.size() <= from) return false;
  for (std::size_t i = from; i < text.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  return true;
}

// Whether `pv` is moves in coordinate notation, each followed by a space.
bool is_variation(const std::string& pv) {
  std::size_t at = 0;
  while (at < pv.size()) {
    const std::size_t space = pv.find(' ', at);
    if (space == std::string::npos) return false;
    const std::string m = pv.substr(at, space - at);
    if (m.size() < 4 || m.size() > 5 || to_text(move(m.c_str())) != m) return false;
    at = space + 1;
  }
  return true;
}

// Field `index` (1 to 5) of a thinking line: depth, score, centiseconds,
// nodes, then the variation. Checks the whole line's form: exactly one tab
// between fields.
std::string field(const std::string& line, int index) {
  std::vector<std::string> fields;
  std::size_t at = 0;
  for (int i = 0; i < 4; ++i) {
    const std::size_t tab = line.find('\t', at);
    if (tab == std::string::npos) break;
    fields.push_back(line.substr(at, tab - at));
    at = tab + 1;
  }
  fields.push_back(line.substr(at));
  const bool well_formed = fields.size() == 5 && all_digits(fields[0]) &&
                           all_digits(fields[1], fields[1][0] == '-' ? 1 : 0) &&
                           all_digits(fields[2]) && all_digits(fields[3]) &&
                           is_variation(fields[4]);
  EXPECT_TRUE(well_formed) << line;
  return well_formed ? fields[index - 1] : std::string();
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
  // The time column counts centiseconds as they pass, never backwards.
  for (std::size_t i = 1; i < written.size(); ++i)
    EXPECT_LE(std::stoi(field(written[i - 1], 3)), std::stoi(field(written[i], 3)));
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
  EXPECT_EQ(hash_table::probe()->in_search(), 0);
}

// Several root lines: a stop anywhere in a depth writes none of its lines,
// leaves the GUI's choice of moves (none here) as it was, and keeps the
// move to play on line 1 of the last depth written.
TEST_F(Deepening, SeveralLinesStoppedAnywhereKeepTheLastWholeDepth) {
  const char* fen = "r1bq1rk1/pp2bppp/2n2n2/3p4/3P4/2NB1N2/PP3PPP/R1BQ1RK1 w - - 0 10";
  ASSERT_TRUE(set_up_afresh(fen));
  iterative_deepening(400, search_root, thinking_output::as_posting, opening_line::written, 3);
  ASSERT_EQ(lines().size(), 7u);  // the opening line, then three at depths 3 and 4
  const int whole = poll_calls;
  for (int stop_at = whole / 7; stop_at < whole; stop_at += whole / 7) {
    ASSERT_TRUE(set_up_afresh(fen));
    output.str("");
    poll_calls = 0;
    poll_limit = stop_at;
    iterative_deepening(400, search_root, thinking_output::as_posting, opening_line::written, 3);
    const auto written = lines();
    ASSERT_EQ((written.size() - 1) % 3, 0u) << "stopped at poll " << stop_at;
    if (written.size() > 1) {  // depths up to 2 are complete but write no line
      const std::string pv = field(written[written.size() - 3], 5);
      EXPECT_EQ(pv.substr(0, pv.find(' ')), best_move_text()) << "stopped at poll " << stop_at;
    }
    EXPECT_TRUE(excluded_root_moves.empty()) << "stopped at poll " << stop_at;
    EXPECT_EQ(hash_table::probe()->in_search(), 0);
  }
}

// A stand-in for the search routine: records each call and answers from a
// script, so that the deepening loop itself can be watched.
struct search_call {
  int depth, alpha, beta;
  bool operator==(const search_call&) const = default;
};
std::vector<search_call> calls;
std::vector<int> answers;
int scripted_search(int depth, int alpha, int beta) {
  calls.push_back({depth, alpha, beta});
  return answers.at(calls.size() - 1);
}

TEST_F(Deepening, AspirationWindowsAndTheirReSearches) {
  ASSERT_TRUE(set_up_afresh(start_position_fen));  // root score 0, depth 0
  calls.clear();
  // Depth 0 returns exactly lo: a fail low. Depth 1 returns exactly hi: a
  // fail high. Depth 2 lands inside. Depth 3 finds a mate and ends it.
  answers = {-25, -40, -15, 10, 10, 10000, 10000};
  const std::size_t chosen = best_move;
  iterative_deepening(1000, scripted_search);
  const std::vector<search_call> expected = {
      {0, -25, 25},
      {0, -infinity_score, -25},
      {100, -65, -15},
      {100, -15, infinity_score},
      {200, -15, 35},
      {300, -15, 35},
      {300, 35, infinity_score},
  };
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(iteration_depth, 300);
  EXPECT_EQ(best_move, chosen);  // only the root search moves it
  const auto written = lines();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(field(written[1], 1), "3");
  EXPECT_EQ(field(written[1], 2), "10000");
}

TEST_F(Deepening, ResumesAtTheStoredDepth) {
  ASSERT_TRUE(set_up_afresh(start_position_fen));
  hash_entry* root = hash_table::probe();
  root->depth = 500;
  root->score = 40;
  calls.clear();
  answers = {40, 40};
  iterative_deepening(600, scripted_search);
  const std::vector<search_call> expected = {{500, 15, 65}, {600, 15, 65}};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(field(lines()[0], 1), "5");
  EXPECT_EQ(field(lines()[0], 2), "40");

  // Stored deeper than the limit: no iteration, the first line only.
  root->depth = 1600;
  calls.clear();
  output.str("");
  iterative_deepening(1500, scripted_search);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(lines().size(), 1u);
}

TEST_F(Deepening, MainSearchOnTheGamePositionOnlyFindsTheRepetition) {
  // The set-up position has occurred once in the game: every iteration of
  // the main search returns +39 at once (as when pondering from it).
  post_thinking = false;
  ASSERT_TRUE(set_up_afresh(start_position_fen));
  const std::size_t chosen = best_move;
  node_count = 0;
  iterative_deepening(1000, alpha_beta);
  EXPECT_EQ(iteration_depth, 1100);
  EXPECT_EQ(node_count, 0u);
  EXPECT_EQ(best_move, chosen);
}

// Stores `texts` as the chain of best moves from the current position on.
void store_line(const std::vector<const char*>& texts) {
  for (const char* text : texts) {
    hash_entry* entry = hash_table::probe();
    entry->hash_move = move(text);
    entry->set_has_move(1);
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
  EXPECT_EQ(hash_table::probe()->in_search(), 0);
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
