#include "search/ordering.h"

#include <cstring>

namespace marlek {

namespace {
std::int32_t capture_gain(move m) {
  const apiece* victim = position::board[m.to];
  if (!victim) return 0;  // en passant lands on an empty square
  return victim->value - position::board[m.from]->value;
}
}  // namespace

bool by_capture_gain(move a, move b) { return capture_gain(a) > capture_gain(b); }

bool by_history(move a, move b) { return history[a.from][a.to] > history[b.from][b.to]; }

void reward_history(move m) { history[m.from][m.to] += 1; }

void age_history() {
  for (square from = 0; from < 120; ++from) {
    if (!on_board(from)) continue;
    for (square to = 0; to < 120; ++to)
      if (on_board(to)) history[from][to] /= 2;
  }
}

void clear_history() { std::memset(history, 0, sizeof history); }

}  // namespace marlek
