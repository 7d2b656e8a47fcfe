#pragma once
// The perft reference files of tests/data: positions with the node counts
// of their legal move trees.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace marlek::test {

struct perft_case {
  std::string fen;
  std::vector<std::pair<int, std::uint64_t>> counts;  // depth, nodes
  bool chess960 = false;                              // set up as a Chess960 game
};

// Lines: FEN ;D1 n ;D2 n ... ; '#' starts a comment line. Counts above
// `node_limit` are left out, and so is a position left with none.
inline std::vector<perft_case> load_perft_cases(const std::string& file, bool chess960,
                                                std::uint64_t node_limit) {
  std::vector<perft_case> cases;
  std::ifstream in(MARLEK_TEST_DATA "/" + file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::stringstream fields(line);
    std::string fen, entry;
    std::getline(fields, fen, ';');
    while (!fen.empty() && fen.back() == ' ') fen.pop_back();
    perft_case c{fen, {}, chess960};
    while (std::getline(fields, entry, ';')) {
      int depth = 0;
      unsigned long long nodes = 0;
      if (std::sscanf(entry.c_str(), "D%d %llu", &depth, &nodes) == 2 && nodes <= node_limit)
        c.counts.emplace_back(depth, nodes);
    }
    if (!c.counts.empty()) cases.push_back(c);
  }
  return cases;
}

}  // namespace marlek::test
