#include "uci/uci_output.h"

#include <algorithm>
#include <string>

#include "base/output.h"

namespace marlek {

namespace {

// The engine's scores for a mate, given from the side to move's view.
constexpr int mate_score = 10000;

// The engine's mate scores carry no distance; the principal variation
// does, since it runs to the mate: the winner's moves in it, or the loser's.
std::string score_words(const search_report& report) {
  if (std::abs(report.score) < mate_score) return "cp " + std::to_string(report.score);
  const int plies = report.pv.empty() ? report.depth : static_cast<int>(report.pv.size());
  const int moves = report.score > 0 ? (plies + 1) / 2 : -(plies / 2);
  return "mate " + std::to_string(moves);
}

std::int64_t nodes_per_second(const search_report& report) {
  const std::int64_t ms = std::max<std::int64_t>(report.elapsed_ms, 1);
  return static_cast<std::int64_t>(report.nodes) * 1000 / ms;
}

}  // namespace

// The engine does not track the deepest ply its search reaches; the
// principal variation is a lower bound of it.
void uci_output::thinking(const search_report& report) {
  // Depth 0 is no search, only what the table held before one began.
  if (report.depth == 0 || report.pv.empty()) return;
  const std::size_t seldepth = std::max(report.pv.size(), static_cast<std::size_t>(report.depth));
  std::string line = "info depth " + std::to_string(report.depth) + " seldepth " +
                     std::to_string(seldepth) + " score " + score_words(report) + " nodes " +
                     std::to_string(report.nodes) + " nps " +
                     std::to_string(nodes_per_second(report)) + " time " +
                     std::to_string(report.elapsed_ms) + " pv";
  for (const std::string& move : report.pv) line += ' ' + move;
  output_line(line);
  thinking_reported.store(true);
}

void uci_output::engine_move(std::string_view move, std::string_view predicted_reply) {
  if (!thinking_reported.load()) report_unthought_move(move);
  std::string line = "bestmove " + std::string(move);
  if (!predicted_reply.empty()) line += " ponder " + std::string(predicted_reply);
  search_running.store(false);
  output_line(line);
}

void uci_output::no_legal_move(bool mated) {
  output_line(mated ? "info depth 0 score mate 0" : "info depth 0 score cp 0");
  search_running.store(false);
  output_line("bestmove 0000");
}

void uci_output::report_unthought_move(std::string_view move) {
  output_line("info depth 0 seldepth 0 score cp 0 nodes 0 nps 0 time 0 pv " + std::string(move));
}

void uci_output::search_started() {
  thinking_reported.store(false);
  search_running.store(true);
}

// The set-up names itself at the start of its reason ("root::SetBoard: ");
// the GUI needs only the reason.
void uci_output::position_refused(std::string_view reason) {
  if (reason.starts_with("root::"))
    if (const std::size_t colon = reason.find(": "); colon != std::string_view::npos)
      reason.remove_prefix(colon + 2);
  output_line("info string position: " + std::string(reason) + " The position is unchanged.");
}

void uci_output::illegal_move(std::string_view text) {
  output_line("info string position: illegal move " + std::string(text) +
              ". The position is unchanged.");
}

void uci_output::pong(std::int32_t) { output_line("readyok"); }

void uci_output::game_over(game_end) {}

void uci_output::hint(std::string_view) {}

void uci_output::book_moves(const std::vector<book_share>&) {}

void uci_output::status(const search_status&) {}

}  // namespace marlek
