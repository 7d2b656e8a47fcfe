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

// The engine's own lines begin with the xboard way of saying so.
std::string_view without_error_word(std::string_view text) {
  if (text.starts_with("Error: ")) text.remove_prefix(7);
  return text;
}

}  // namespace

// The engine does not track the deepest ply its search reaches; the
// principal variation is a lower bound of it.
void uci_output::thinking(const search_report& report) {
  // Depth 0 is no search, only what the table held before one began.
  if (report.depth == 0 || report.pv.empty()) return;
  const std::size_t seldepth = std::max(report.pv.size(), static_cast<std::size_t>(report.depth));
  std::string line =
      "info depth " + std::to_string(report.depth) + " seldepth " + std::to_string(seldepth);
  // One of several lines says which; a single line stays as it always was.
  if (report.line > 0) line += " multipv " + std::to_string(report.line);
  line += " score " + score_words(report) + " nodes " + std::to_string(report.nodes) + " nps " +
          std::to_string(nodes_per_second(report)) + " time " + std::to_string(report.elapsed_ms) +
          " pv";
  for (const std::string& move : report.pv) line += ' ' + move;
  output_line(line);
  scored = true;
}

// Testers want a score before every move, also a book move or one made at
// once: a move without a thinking line of its own gets one.
void uci_output::best_move(const best_move_report& report) {
  if (!scored)
    output_line("info depth 0 seldepth 0 score cp 0 nodes 0 nps 0 time 0 pv " + report.move);
  scored = false;
  std::string line = "bestmove " + report.move;
  if (!report.predicted_reply.empty()) line += " ponder " + report.predicted_reply;
  output_line(line);
}

void uci_output::no_legal_move(bool mated) {
  output_line(mated ? "info depth 0 score mate 0" : "info depth 0 score cp 0");
  scored = false;
  output_line("bestmove 0000");
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

void uci_output::complaint(std::string_view text) {
  output_line("info string " + std::string(without_error_word(text)));
}

}  // namespace marlek
