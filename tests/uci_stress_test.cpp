// The engine binary as a UCI engine under seeded random bursts of what
// testers and GUIs send: positions, searches with every kind of limit, stop,
// isready, ponderhit, setoption and ucinewgame, some of them in one write.
// Every `go` must get exactly one "bestmove", legal in the position it
// searched and among its searchmoves (0000 when it has none), and every
// `isready` its "readyok"; nothing else may come but "info" lines.
//
// MARLEK_STRESS_SECONDS sets how long it runs, MARLEK_STRESS_SEED which
// lines it sends; a failure names the seed and shows the last burst.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "board_helpers.h"
#include "engine_checks.h"

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define MARLEK_UCI_STRESS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define MARLEK_UCI_STRESS_SANITIZED 1
#endif
#endif

namespace marlek {
namespace {

using namespace std::chrono_literals;
using std::chrono::steady_clock;

#ifdef MARLEK_UCI_STRESS_SANITIZED
constexpr int default_seconds = 8;
#else
constexpr int default_seconds = 15;
#endif
constexpr std::chrono::milliseconds answer_wait = 20s;

const std::vector<std::string> fens = {
    test::middlegame_fen, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", "7k/6Q1/6K1/8/8/8/8/8 b - - 0 1",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1"};

// The game the test has sent last, as the engine must hold it.
struct sent_game {
  std::string fen = start_position_fen;
  std::vector<std::string> moves;

  // Sets it up in this process and returns its legal moves.
  std::vector<std::string> legal_moves() const {
    test::set_up(fen);
    test::output_capture quiet;
    for (const std::string& m : moves) root::play_move(move(m.c_str()));
    return test::root_move_texts();
  }
};

// One search the engine owes an answer: the moves it may give.
struct owed_search {
  std::vector<std::string> allowed;  // empty: 0000
  std::string line;
};

class uci_stress {
 public:
  explicit uci_stress(std::uint64_t seed) : seed(seed), random(seed) {}

  bool run(int seconds) {
    if (!send_now("uci") || !wait_for("uciok")) return false;
    const auto until = steady_clock::now() + std::chrono::seconds(seconds);
    while (steady_clock::now() < until)
      if (!burst()) return false;
    return send_now("quit") && engine.wait_for_exit(answer_wait).has_value() &&
           engine.error_output().empty();
  }

  std::string summary() const {
    std::ostringstream out;
    out << "uci stress: seed " << seed << ", " << bursts << " bursts, " << searches
        << " searches answered";
    return out.str();
  }

 private:
  int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
  bool one_in(int n) { return number(1, n) == 1; }

  std::string position_line() {
    if (one_in(6)) return one_in(2) ? "position fen 8/8/8 w - -" : "position startpos moves e2e5";
    sent_game next;
    if (one_in(3)) next.fen = fens[static_cast<std::size_t>(number(0, int(fens.size()) - 1))];
    for (int plies = number(0, 6); plies > 0; --plies) {
      const std::vector<std::string> legal = next.legal_moves();
      if (legal.empty()) break;
      next.moves.push_back(legal[static_cast<std::size_t>(number(0, int(legal.size()) - 1))]);
    }
    game = next;
    std::string line =
        next.fen == start_position_fen ? "position startpos" : "position fen " + next.fen;
    if (!next.moves.empty()) line += " moves";
    for (const std::string& m : next.moves) line += ' ' + m;
    return line;
  }

  std::string go_line() {
    owed_search owed;
    const std::vector<std::string> legal = game.legal_moves();
    owed.allowed = legal;
    std::string line = "go";
    switch (number(0, 8)) {
      case 0: line += " depth " + std::to_string(number(1, 4)); break;
      case 1: line += " nodes " + std::to_string(number(100, 30000)); break;
      case 2: line += " movetime " + std::to_string(number(1, 150)); break;
      case 3:
        line += " wtime " + std::to_string(number(0, 3000)) + " btime " +
                std::to_string(number(0, 3000)) + " winc 10 binc 10";
        break;
      case 4: line += " infinite"; break;
      case 5: line += " ponder wtime 500 btime 500"; break;
      case 6: line += " mate " + std::to_string(number(1, 3)); break;
      case 7:
        if (!legal.empty()) {
          owed.allowed = {legal.front(), legal.back()};
          line += " depth 3 searchmoves " + legal.front() + ' ' + legal.back();
        }
        break;
      default:
        line += " searchmoves a1a1";
        owed.allowed.clear();
        break;
    }
    owed.line = line;
    owed_searches.push_back(owed);
    return line;
  }

  std::string any_line() {
    switch (number(0, 11)) {
      case 0:
      case 1: return position_line();
      case 2:
      case 3:
      case 4: return go_line();
      case 5:
      case 6: return "stop";
      case 7: ++readies_owed; return "isready";
      case 8: return "ponderhit";
      case 9:
        return one_in(2) ? "setoption name Hash value " + std::to_string(number(1, 8))
                         : "setoption name Move Overhead value " + std::to_string(number(0, 100));
      case 10:
        return one_in(2) ? "setoption name Clear Hash" : "setoption name OwnBook value false";
      default: game = sent_game{}; return "ucinewgame";
    }
  }

  // A burst, a few lines at a time in one write, then a stop and isready:
  // by its readyok every search must have answered.
  bool burst() {
    ++bursts;
    recent.clear();
    for (int count = number(5, 25); count > 0;) {
      std::string write;
      for (int together = number(1, 4); together > 0 && count > 0; --together, --count) {
        if (!write.empty()) write += '\n';
        write += any_line();
      }
      if (!send_now(write) || !read_available(one_in(4) ? number(1, 200) : 0)) return false;
    }
    ++readies_owed;
    if (!send_now("stop\nisready")) return false;
    while (readies_owed > 0)
      if (!read_one(answer_wait)) return fail("no readyok for every isready");
    if (!owed_searches.empty())
      return fail("a search without its bestmove: " + owed_searches.front().line);
    return true;
  }

  bool send_now(const std::string& text) {
    recent.push_back(text);
    return engine.send(text) || fail("the engine stopped reading");
  }

  bool wait_for(const std::string& line) {
    for (;;) {
      auto got = engine.read_line(answer_wait);
      if (!got) return fail("no " + line);
      if (*got == line) return true;
    }
  }

  bool read_available(int ms) {
    for (const std::string& line : engine.read_lines_for(std::chrono::milliseconds(ms)))
      if (!take(line)) return false;
    return true;
  }

  bool read_one(std::chrono::milliseconds wait) {
    auto line = engine.read_line(wait);
    return line && take(*line);
  }

  bool take(const std::string& line) {
    if (line == "readyok") {
      --readies_owed;
      return readies_owed >= 0 || fail("a readyok nobody asked for");
    }
    if (line.starts_with("info ")) return true;
    if (!line.starts_with("bestmove ")) return fail("unexpected line: " + line);
    if (owed_searches.empty()) return fail("a bestmove for no search: " + line);
    const owed_search owed = owed_searches.front();
    owed_searches.pop_front();
    ++searches;
    const std::string best = line.substr(9, line.find(' ', 9) - 9);
    const bool fits = owed.allowed.empty() ? best == "0000"
                                           : std::find(owed.allowed.begin(), owed.allowed.end(),
                                                       best) != owed.allowed.end();
    return fits || fail(line + " does not answer " + owed.line);
  }

  bool fail(const std::string& what) {
    std::ostringstream report;
    report << what << "\n" << summary() << "; MARLEK_STRESS_SEED=" << seed << " sends it again.\n";
    for (const std::string& text : recent) report << "  > " << text << "\n";
    report << engine.error_output();
    ADD_FAILURE() << report.str();
    return false;
  }

  std::uint64_t seed;
  std::mt19937_64 random;
  test::engine_process engine{MARLEK_BINARY, MARLEK_BUILD_DIR, {"--uci"}};
  sent_game game;
  std::deque<owed_search> owed_searches;
  int readies_owed = 0;
  std::vector<std::string> recent;
  int bursts = 0;
  long searches = 0;
};

TEST(UciStress, EveryGoGetsOneLegalBestmoveAndEveryIsreadyAnAnswer) {
  const char* seed_text = std::getenv("MARLEK_STRESS_SEED");
  const char* seconds_text = std::getenv("MARLEK_STRESS_SECONDS");
  uci_stress stress(seed_text ? std::strtoull(seed_text, nullptr, 10) : 20261209);
  EXPECT_TRUE(stress.run(seconds_text ? std::max(1, std::atoi(seconds_text)) : default_seconds));
  std::cout << stress.summary() << std::endl;
}

}  // namespace
}  // namespace marlek
