#include "game/bench.h"

#include <array>

#include "game/root.h"
#include "search/hash_table.h"
#include "search/iterate.h"
#include "search/search_state.h"

namespace marlek {

namespace {

constexpr std::array<const char*, 20> positions = {
    // Openings.
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r1bqkbnr/pppp1ppp/2n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R b KQkq - 3 3",
    "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/8/PPP2PPP/RNBQKB1R w KQkq - 1 5",
    "rnbqkb1r/ppp2ppp/4pn2/3p4/2PP4/2N5/PP2PPPP/R1BQKBNR w KQkq - 2 4",
    "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
    // Middlegames.
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "r1bq1rk1/pp2bppp/2n2n2/3p4/3P4/2NB1N2/PP3PPP/R1BQ1RK1 w - - 0 10",
    "2rq1rk1/pb2bppp/1pn1pn2/2pp4/3P4/1PPBPN2/PB1N1PPP/R2Q1RK1 w - - 0 11",
    // Tactics.
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "r1bq1rk1/pppn1ppp/4p3/3pP3/1b1P4/2NB1N2/PPP2PPP/R2QK2R w KQ - 0 8",
    "r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1",
    "4r2k/6pp/7N/3Q4/8/8/8/6K1 w - - 0 1",
    // Endgames.
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "8/5pk1/6p1/8/R7/6P1/5PK1/r7 w - - 0 1",
    "1K1k4/1P6/8/8/8/8/r7/2R5 w - - 0 1",
    "8/3k4/8/2b5/8/3K1N2/6P1/8 w - - 0 1",
    "8/8/8/4k3/8/8/4P3/4K3 w - - 0 1",
    "8/p7/8/8/8/8/7P/k6K w - - 0 1",
};

}  // namespace

std::span<const char* const> bench_positions() { return positions; }

bool set_up_afresh(const char* fen, bool chess960) {
  // Every entry back to its state at program start, keys and scores too:
  // setting up clears bounds and moves but leaves the scores, and the first
  // aspiration window is centred on the root's leftover score.
  hash_table::wipe();
  return root::SetBoard(fen, nullptr, chess960);
}

bench_result bench_position(const char* fen, int depth, bool chess960) {
  if (!set_up_afresh(fen, chess960) || root_moves_end == 0) return {};
  iterative_deepening(depth * one_ply, search_root, thinking_output::silent);
  return {node_count, global_moves[best_move]};
}

std::vector<bench_result> run_bench(int depth, const bench_report& report) {
  std::vector<bench_result> results;
  for (const char* fen : positions) {
    results.push_back(bench_position(fen, depth));
    if (report) report(results.size() - 1, results.back());
  }
  return results;
}

std::uint64_t bench_signature(const std::vector<bench_result>& results) {
  std::uint64_t total = 0;
  for (const bench_result& r : results) total += r.nodes;
  return total;
}

}  // namespace marlek
