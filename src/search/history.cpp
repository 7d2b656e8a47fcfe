#include "search/history.h"

#include <cstring>

#include "search/search_state.h"

namespace marlek {

void reward_history(move m) {
  history[m.from][m.to] += 1;
  ++history_version;
}

void age_history() {
  for (square from = 0; from < 120; ++from) {
    if (!on_board(from)) continue;
    for (square to = 0; to < 120; ++to)
      if (on_board(to)) history[from][to] /= 2;
  }
  ++history_version;
}

void clear_history() {
  std::memset(history, 0, sizeof history);
  ++history_version;
}

}  // namespace marlek
