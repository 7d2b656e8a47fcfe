#pragma once
// The engine's reports in UCI words: "info" lines for the thinking,
// "bestmove" for the move, "readyok" for the answer to a ping (which the
// UCI front end sends for `isready`), and "info string" for what the GUI
// got wrong. Results of the game, hints and the book are xboard's and have
// no UCI words; they are left out.
#include <atomic>

#include "base/front_end.h"

namespace marlek {

class uci_output final : public front_end {
 public:
  void engine_move(std::string_view move, std::string_view predicted_reply) override;
  void no_legal_move(bool mated) override;
  void position_refused(std::string_view reason) override;
  // One "info" line per completed depth.
  bool shows_every_depth() const override { return true; }
  void thinking(const search_report& report) override;
  void pong(std::int32_t number) override;
  void game_over(game_end end) override;
  void illegal_move(std::string_view text) override;
  void hint(std::string_view move) override;
  void book_moves(const std::vector<book_share>& moves) override;
  void status(const search_status& now) override;

  // A `go` was sent: its "bestmove" is due. Main thread.
  void search_started();
  // Whether a `go` still waits for its "bestmove". Any thread.
  bool searching() const { return search_running.load(); }

 private:
  // Testers want a score before every move, also a book move or one made
  // at once: an "info" line for a move with no thinking line of its own.
  void report_unthought_move(std::string_view move);

  std::atomic<bool> search_running{false};
  std::atomic<bool> thinking_reported{false};
};

}  // namespace marlek
