// perft [--divide] [--chess960] DEPTH FEN...
// Counts the leaves of the legal move tree of a position to DEPTH. The FEN
// may be one argument or spread over the remaining ones. A Shredder-FEN
// castling field (HAha) sets up a Chess960 game by itself; --chess960 makes
// any FEN one, so that X-FEN's KQkq name the outermost rooks wherever king
// and rooks stand. Last line:
//   nodes N time_ms T nps R
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "board/keys.h"
#include "board/perft.h"
#include "board/position.h"
#include "game/root.h"
#include "search/search_state.h"

using namespace marlek;

namespace {
std::uint64_t divide(int depth) {
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < root_moves_end; ++i) {
    const move m = global_moves[i];
    make_move(m);
    std::uint64_t count = perft(depth - 1);
    unmake_move(m);
    std::printf("%s %llu\n", to_text(m).c_str(), static_cast<unsigned long long>(count));
    total += count;
  }
  return total;
}
}  // namespace

int main(int argc, char** argv) {
  int arg = 1;
  bool by_move = false;
  bool chess960 = false;
  for (; arg < argc && std::strncmp(argv[arg], "--", 2) == 0; ++arg) {
    if (std::strcmp(argv[arg], "--divide") == 0) {
      by_move = true;
    } else if (std::strcmp(argv[arg], "--chess960") == 0) {
      chess960 = true;
    } else {
      std::printf("perft: unknown option %s\n", argv[arg]);
      return 2;
    }
  }
  if (argc - arg < 2) {
    std::printf("usage: perft [--divide] [--chess960] DEPTH FEN\n");
    return 2;
  }
  const int depth = std::atoi(argv[arg++]);
  std::string fen = argv[arg++];
  for (; arg < argc; ++arg) fen += std::string(" ") + argv[arg];

  find_and_load_keys();
  if (!root::SetBoard(fen.c_str(), nullptr, chess960)) return 1;
  auto start = std::chrono::steady_clock::now();
  // The root move list already holds exactly the legal moves.
  std::uint64_t nodes = by_move ? divide(depth) : (depth <= 0 ? 1 : perft(depth));
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                  start)
                .count();
  unsigned long long nps =
      ms > 0 ? nodes * 1000ull / static_cast<unsigned long long>(ms) : nodes * 1000ull;
  std::printf("nodes %llu time_ms %lld nps %llu\n", static_cast<unsigned long long>(nodes),
              static_cast<long long>(ms), nps);
  return 0;
}
