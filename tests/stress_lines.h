#pragma once
// Random command lines for the protocol stress test: what a GUI sends, mixed
// with what a broken or hostile one might send (illegal and unreadable
// moves, bad positions, bad clock values, overlong lines, tabs and carriage
// returns, raw bytes and NULs).
//
// Every line is safe to send in the middle of a burst: it holds no newline,
// and its command word is never `quit`, which ends the engine by design. The same seed gives the
// same lines.
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace marlek::test {

class stress_lines {
 public:
  explicit stress_lines(std::uint64_t seed);

  // The next line of a chaotic burst: anything at all.
  std::string next();
  // The next line of a burst that mostly plays a game: moves, go, ?, undo,
  // pings and short clocks, so that the engine is often on move.
  std::string next_in_game();

  // Whether a clock line since the last settle_clock() may have given the
  // engine more than a few seconds to think on its move.
  bool clock_unsettled() const { return unsettled; }
  // Lines that give both sides a clock of a few seconds again.
  std::vector<std::string> settle_clock();

  // A uniformly drawn integer in [low, high].
  int number(int low, int high);
  // True with probability 1 / n.
  bool one_in(int n);

 private:
  std::string any_line();
  std::string game_line();
  std::string pick(const std::vector<std::string>& choices);
  std::string plausible_move();
  std::string random_move_text();
  std::string mode_command();
  std::string good_setboard();
  std::string bad_fen();
  std::string short_clock();
  std::string wild_clock();
  std::string ping_line();
  std::string odd_whitespace();
  std::string overlong_line();
  std::string garbage(int length);

  std::mt19937_64 random;
  bool unsettled = false;
};

// The first word of `line` as the engine's dispatcher sees it: up to the
// first space or NUL.
std::string command_word(const std::string& line);

}  // namespace marlek::test
