#include "base/front_end.h"

#include <atomic>

#include "base/output.h"

namespace marlek {

namespace {

// The front end of a process that talks to no GUI (the bench, the tools):
// it reports nothing of the search, only what went wrong, as it stands.
class plain_front_end final : public front_end {
 public:
  void best_move(const best_move_report&) override {}
  void no_legal_move(bool) override {}
  bool shows_every_depth() const override { return false; }
  void thinking(const search_report&) override {}
  void pong(std::int32_t) override {}
  void position_refused(std::string_view reason) override { output_line(reason); }
  void illegal_move(std::string_view) override {}
  void complaint(std::string_view text) override { output_line(text); }
};

plain_front_end plain;
std::atomic<front_end*> installed{nullptr};

}  // namespace

front_end* install_front_end(front_end* words) {
  return installed.exchange(words, std::memory_order_acq_rel);
}

front_end& reporter() {
  front_end* words = installed.load(std::memory_order_acquire);
  return words ? *words : plain;
}

}  // namespace marlek
