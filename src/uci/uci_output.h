#pragma once
// The engine's reports in UCI words: "info" lines for the thinking,
// "bestmove" for the move, "readyok" for the answer to `isready`, and "info
// string" for what the GUI got wrong or what went wrong. Results of the
// game, hints and the book have no UCI words; they are left out.
#include "base/front_end.h"

namespace marlek {

class uci_output final : public front_end {
 public:
  void best_move(const best_move_report& report) override;
  void no_legal_move(bool mated) override;
  // One "info" line per completed depth.
  bool shows_every_depth() const override { return true; }
  void thinking(const search_report& report) override;
  void pong(std::int32_t number) override;
  void position_refused(std::string_view reason) override;
  void illegal_move(std::string_view text) override;
  void complaint(std::string_view text) override;

 private:
  // An "info" line with a score has gone out since the last best move.
  // The engine thread alone reports thinking and moves.
  bool scored = false;
};

}  // namespace marlek
