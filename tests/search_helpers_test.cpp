// The helper threads of the search: they search only while the engine's
// search runs, also after their number has changed.
#include "search/helpers.h"

#include <gtest/gtest.h>

#include "board/fen.h"
#include "board/perft.h"
#include "board/position.h"

namespace marlek {
namespace {

const char* const middlegame = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R1BQ1RK1 w - - 0 9";

// Helpers made anew after searches have run must wait for the next search,
// not take up the last one again: one that did searched on after
// stop_helpers, and counted itself off a search it had not joined (the
// engine then waited for it for ever).
TEST(ThreadsHelpers, NewHelpersWaitForTheNextSearch) {
  ASSERT_TRUE(set_up_board(middlegame));
  const helper_root root{middlegame, false, {}, {}};
  set_search_threads(2);
  start_helpers(root, 100 * 100);
  stop_helpers();
  set_search_threads(1);
  set_search_threads(2);
  perft(4);  // tens of milliseconds of this thread's own work
  EXPECT_EQ(helper_nodes(), 0u) << "a new helper searched with no search started";
  for (int search = 0; search < 3; ++search) {
    start_helpers(root, 100 * 100);
    stop_helpers();
    const std::uint64_t stopped_at = helper_nodes();
    perft(4);
    EXPECT_EQ(helper_nodes(), stopped_at) << "a helper searched on after the stop";
  }
  set_search_threads(1);
  clear_board();
}

}  // namespace
}  // namespace marlek
