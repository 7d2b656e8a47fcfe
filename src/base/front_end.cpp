#include "base/front_end.h"

#include <atomic>

namespace marlek {

namespace {

// The front end of a process that talks to no GUI.
class silent_front_end final : public front_end {
 public:
  void engine_move(std::string_view, std::string_view) override {}
  void no_legal_move(bool) override {}
  bool shows_every_depth() const override { return false; }
  void position_refused(std::string_view) override {}
  void thinking(const search_report&) override {}
  void pong(std::int32_t) override {}
  void game_over(game_end) override {}
  void illegal_move(std::string_view) override {}
  void hint(std::string_view) override {}
  void book_moves(const std::vector<book_share>&) override {}
  void status(const search_status&) override {}
};

silent_front_end silence;
std::atomic<front_end*> installed{nullptr};

}  // namespace

front_end* install_front_end(front_end* words) {
  return installed.exchange(words, std::memory_order_acq_rel);
}

front_end& reporter() {
  front_end* words = installed.load(std::memory_order_acquire);
  return words ? *words : silence;
}

}  // namespace marlek
