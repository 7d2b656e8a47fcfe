#include "xboard/xboard_output.h"

#include <string>

#include "base/output.h"

namespace marlek {

namespace {

constexpr std::int64_t millis_per_centi = 10;

const char* result_line(game_end end) {
  switch (end) {
    case game_end::white_mates: return "1-0 {White mates}";
    case game_end::black_mates: return "0-1 {Black mates}";
    case game_end::stalemate: return "1/2-1/2 {Stalemate}";
    case game_end::repetition: return "1/2-1/2 {Draw by repetition}";
    case game_end::fifty_moves: break;
  }
  return "1/2-1/2 {50 move rule}";
}

}  // namespace

void xboard_output::best_move(const best_move_report& report) {
  output_line("move " + report.move);
}

// The game's end has been announced with the move that ended it.
void xboard_output::no_legal_move(bool) {}

void xboard_output::position_refused(std::string_view reason) { output_line(reason); }

// Depth, score, centiseconds, nodes and the variation, separated by tabs;
// every move of the variation is followed by a space.
void xboard_output::thinking(const search_report& report) {
  std::string line = std::to_string(report.depth) + '\t' + std::to_string(report.score) + '\t' +
                     std::to_string(report.elapsed_ms / millis_per_centi) + '\t' +
                     std::to_string(report.nodes) + '\t';
  for (const std::string& move : report.pv) line += move + ' ';
  output_line(line);
}

void xboard_output::pong(std::int32_t number) { output_line("pong " + std::to_string(number)); }

void xboard_output::game_over(game_end end) { output_line(result_line(end)); }

void xboard_output::illegal_move(std::string_view text) {
  output_line("Illegal move: " + std::string(text));
}

// The engine's own lines are the protocol's error lines as they stand.
void xboard_output::complaint(std::string_view text) { output_line(text); }

void xboard_output::hint(std::string_view move) { output_line("Hint: " + std::string(move)); }

// The GUI shows every line that starts with a space, up to an empty line.
void xboard_output::book_moves(const std::vector<book_share>& moves) {
  if (moves.empty()) output_line(" no book move in this position");
  for (const book_share& share : moves)
    output_line(' ' + share.move + ' ' + std::to_string(share.percent) + '%');
  output_line("");
}

void xboard_output::status(const search_status& now) {
  std::string line = "stat01: " + std::to_string(now.elapsed_ms / 10) + ' ' +
                     std::to_string(now.nodes) + ' ' + std::to_string(now.depth) + ' ' +
                     std::to_string(now.moves_left) + ' ' + std::to_string(now.moves_total);
  if (!now.current_move.empty()) line += ' ' + now.current_move;
  output_line(line);
}

}  // namespace marlek
