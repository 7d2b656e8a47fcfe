#pragma once
// The engine's reports in the words of the xboard/WinBoard protocol.
#include "base/front_end.h"

namespace marlek {

class xboard_output final : public front_end {
 public:
  void best_move(const best_move_report& report) override;
  void no_legal_move(bool mated) override;
  void position_refused(std::string_view reason) override;
  bool shows_every_depth() const override { return false; }
  // "FischerRandom castling: O-O, O-O-O".
  bool spells_castling_in_letters() const override { return true; }
  void thinking(const search_report& report) override;
  void pong(std::int32_t number) override;
  void game_over(game_end end) override;
  void illegal_move(std::string_view text) override;
  void complaint(std::string_view text) override;
  void hint(std::string_view move) override;
  void book_moves(const std::vector<book_share>& moves) override;
  void status(const search_status& now) override;
};

}  // namespace marlek
