// The search and the game report plain facts to the installed front end,
// which alone chooses the words.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/flags.h"
#include "base/front_end.h"
#include "game/root.h"
#include "search/iterate.h"
#include "search/search_state.h"

namespace marlek {
namespace {

struct recording_front_end : front_end {
  void best_move(const best_move_report&) override {}
  void no_legal_move(bool) override {}
  bool shows_every_depth() const override { return false; }
  void position_refused(std::string_view) override {}
  void thinking(const search_report& report) override { reports.push_back(report); }
  void pong(std::int32_t) override {}
  void game_over(game_end end) override { endings.push_back(end); }
  void illegal_move(std::string_view) override {}
  void complaint(std::string_view) override {}

  std::vector<search_report> reports;
  std::vector<game_end> endings;
};

TEST(SearchReports, DepthsAndTheGameEndReachTheFrontEnd) {
  recording_front_end recorder;
  front_end* before = install_front_end(&recorder);
  ASSERT_TRUE(root::SetBoard("r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R1BQ1RK1 w - - 0 9"));
  post_thinking.store(true);
  iterative_deepening(3 * one_ply, search_root);
  ASSERT_EQ(recorder.reports.size(), 2u);  // the stored depth 0, then depth 3
  const search_report& last = recorder.reports.back();
  EXPECT_EQ(last.depth, 3);
  EXPECT_EQ(last.nodes, node_count);
  ASSERT_GE(last.pv.size(), 2u);
  EXPECT_EQ(last.pv.front(), to_text(global_moves[best_move]));

  ASSERT_TRUE(root::SetBoard("6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1"));
  EXPECT_EQ(root::play_move(move("a1a8")), play_result::checkmate);
  EXPECT_EQ(recorder.endings, std::vector<game_end>{game_end::white_mates});
  install_front_end(before);
}

}  // namespace
}  // namespace marlek
