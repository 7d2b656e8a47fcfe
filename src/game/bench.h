#pragma once
// The bench: a fixed set of positions searched to a fixed depth, each from a
// freshly set-up position and an empty transposition table. The search is
// deterministic, so the total node count (the signature) is the same on
// every run and every machine with the same key file; the time gives the
// speed.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "board/move.h"

namespace marlek {

// Deep enough to exercise every part of the search, shallow enough that the
// whole set takes a few seconds in a Release build.
inline constexpr int default_bench_depth = 4;

// The positions, as FEN text: openings, middlegames, tactics, endgames.
std::span<const char* const> bench_positions();

struct bench_result {
  std::uint64_t nodes = 0;
  move best;
};

// Sets `fen` up as the bench does: the transposition table is emptied
// completely first (scores and keys too, which set-up keeps), so that
// nothing of an earlier search can change this one. False for a bad text.
// `chess960` as for root::SetBoard.
bool set_up_afresh(const char* fen, bool chess960 = false);

// Sets `fen` up on an empty table and searches it with iterative deepening
// and the root search to `depth` plies, without thinking output. A text
// that does not set up, or a position without legal moves, gives 0 nodes.
bench_result bench_position(const char* fen, int depth, bool chess960 = false);

// bench_position for every bench position, in order; `report`, when given,
// hears of each result as soon as it is known.
using bench_report = std::function<void(std::size_t index, const bench_result& result)>;
std::vector<bench_result> run_bench(int depth, const bench_report& report = {});

// The signature of a run: its total node count.
std::uint64_t bench_signature(const std::vector<bench_result>& results);

}  // namespace marlek
