#pragma once
// The messages of a GUI that keeps the game itself and starts each search
// with its own limits (UCI): the search with its limits, the opponent
// playing the move pondered on, and the question whether the engine has
// taken in everything sent so far.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "threads/message.h"

namespace marlek {

// What a search is asked to do; everything left out is no limit. Times are
// milliseconds, each side's clock as the GUI gives it: the engine reads the
// clock of the side to move when the search starts.
struct search_request {
  std::optional<std::int64_t> white_ms, black_ms;
  std::optional<std::int64_t> white_increment_ms, black_increment_ms;
  std::int64_t moves_to_go = 0;  // to the next control; 0: none
  std::int64_t move_time_ms = 0;
  int depth = 0;            // plies
  std::uint64_t nodes = 0;  // per search
  int mate_in = 0;          // moves: search for a mate this short
  bool infinite = false;    // until stopped
  bool ponder = false;      // on the opponent's time, until stopped or the opponent plays
  // Only these root moves, as coordinate text; empty for all.
  std::vector<std::string> search_moves;
};

struct start_search : message {
  static constexpr std::int32_t kind_id = 26;
  explicit start_search(search_request r) : message(kind_id), request(std::move(r)) {}
  search_request request;
};

// The opponent played the move pondered on: the search goes on as the
// engine's own, its limits counted from now.
using ponder_hit = simple_message<27>;

// Answered with a pong as soon as the engine thread reaches it, in every
// mode and also during a search (which goes on undisturbed).
using ready_request = simple_message<28>;

}  // namespace marlek
