// The engine binary as a UCI engine over pipes, driven as UCI GUIs and
// testers drive it: the handshake, searches by depth, time and without
// limit, isready during a search, stop, ponderhit, the game's moves, and
// bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "engine_checks.h"

namespace marlek {
namespace {

using namespace std::chrono_literals;
using lines = std::vector<std::string>;

const std::string middlegame = "position fen " + test::middlegame_fen;

// The thinking line of one completed depth, with a principal variation.
bool is_info_line(const std::string& line) {
  static const std::regex form(
      "info depth [0-9]+ seldepth [0-9]+ score (cp -?[0-9]+|mate -?[0-9]+) nodes [0-9]+ "
      "nps [0-9]+ time [0-9]+ pv( [a-h][1-8][a-h][1-8][qrbn]?)+");
  return std::regex_match(line, form);
}

// The move of a "bestmove" line, checked for its form.
std::string best_move_of(const std::string& line) {
  static const std::regex form("bestmove ([a-h][1-8][a-h][1-8][qrbn]?|0000)( ponder \\S+)?");
  std::smatch match;
  return std::regex_match(line, match, form) ? match[1].str() : "malformed: " + line;
}

class UciProcess : public test::engine_session {
 protected:
  UciProcess() : engine_session({"--uci"}) {}

  void SetUp() override {
    send_all({"uci"});
    ASSERT_TRUE(engine.read_until("uciok").has_value());
  }

  // The lines up to "bestmove", which must be the only one and come within
  // `wait`; returns them with the bestmove line last.
  lines search_lines(std::chrono::milliseconds wait = 20s) {
    return read_through("bestmove", wait);
  }

  // The lines until "readyok": isready must be answered at once.
  lines until_ready() {
    send_all({"isready"});
    auto seen = engine.read_until("readyok", 2s);
    EXPECT_TRUE(seen.has_value()) << "isready not answered";
    return seen.value_or(lines{});
  }

  static bool has_best_move(const lines& seen) {
    return std::any_of(seen.begin(), seen.end(),
                       [](const std::string& l) { return l.starts_with("bestmove"); });
  }
};

TEST(UciStart, PlainStartTurnsToUciOnItsFirstCommand) {
  test::engine_process engine;
  ASSERT_TRUE(engine.wait_ready());  // the xboard opening lines, unchanged
  ASSERT_TRUE(engine.send("uci"));
  auto handshake = engine.read_until("uciok");
  ASSERT_TRUE(handshake.has_value());
  ASSERT_GE(handshake->size(), 2u);
  EXPECT_EQ((*handshake)[0], "id name Marlek 4.4.6");
  EXPECT_TRUE((*handshake)[1].starts_with("id author "));
  for (const char* option :
       {"option name Hash type spin default ", "option name OwnBook type check default true",
        "option name Ponder type check default false", "option name Clear Hash type button",
        "option name Move Overhead type spin default "})
    EXPECT_TRUE(std::any_of(handshake->begin(), handshake->end(), [&](const std::string& l) {
      return l.starts_with(option);
    })) << option;
  ASSERT_TRUE(engine.send("isready"));
  EXPECT_EQ(engine.read_line(), "readyok");
  test::quit_cleanly(engine);
}

TEST(UciStart, OptionStartsWithoutTheXboardLines) {
  test::engine_process engine{MARLEK_BINARY, MARLEK_BUILD_DIR, {"--uci"}};
  ASSERT_TRUE(engine.send("uci"));
  EXPECT_EQ(engine.read_line(), "id name Marlek 4.4.6");
  test::quit_cleanly(engine);
}

// One search behind both protocols: from the start position, without the
// book, depth 5 in UCI is the xboard engine's depth 5, node for node.
TEST_F(UciProcess, GoDepthSearchesAsTheXboardEngineDoes) {
  test::engine_process xboard;
  ASSERT_TRUE(xboard.wait_ready());
  for (const char* line :
       {"post", "setboard rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 0", "level 0 60 0",
        "time 600000", "otim 600000", "go"})
    ASSERT_TRUE(xboard.send(line));
  std::optional<std::string> depth_five;
  while ((depth_five = xboard.read_line(20s)) && !depth_five->starts_with("5\t")) {
  }
  ASSERT_TRUE(depth_five.has_value());
  test::quit_cleanly(xboard);
  std::smatch xboard_fields;
  ASSERT_TRUE(std::regex_search(*depth_five, xboard_fields,
                                std::regex("^5\t-?[0-9]+\t[0-9]+\t([0-9]+)\t([a-h1-8qrbn]+) ")));

  send_all({"setoption name OwnBook value false", "position startpos", "go depth 5"});
  const lines seen = search_lines();
  ASSERT_GE(seen.size(), 2u);
  for (std::size_t i = 0; i + 1 < seen.size(); ++i) EXPECT_TRUE(is_info_line(seen[i])) << seen[i];
  EXPECT_FALSE(has_best_move(until_ready()));  // one bestmove, not two
  std::smatch uci_fields;
  ASSERT_TRUE(
      std::regex_search(seen[seen.size() - 2], uci_fields,
                        std::regex("^info depth 5 .* nodes ([0-9]+) .* pv ([a-h1-8qrbn]+)")));
  EXPECT_EQ(uci_fields[1].str(), xboard_fields[1].str());  // nodes
  EXPECT_EQ(best_move_of(seen.back()), xboard_fields[2].str());
  test::quit_cleanly(engine);
}

TEST_F(UciProcess, BookMoveAndShortClockStillGetAnInfoLine) {
  send_all({"position startpos", "go wtime 100 btime 100"});
  const lines seen = search_lines(5s);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_TRUE(seen[seen.size() - 2].starts_with("info ")) << seen[seen.size() - 2];
  EXPECT_NE(seen[seen.size() - 2].find(" score "), std::string::npos);
  test::quit_cleanly(engine);
}

TEST_F(UciProcess, MovetimeIsKept) {
  send_all({middlegame});
  const auto start = std::chrono::steady_clock::now();
  send_all({"go movetime 500"});
  const lines seen = search_lines(10s);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 300ms);
  EXPECT_LT(took, 3s);
  EXPECT_EQ(best_move_of(seen.back()).size(), 4u) << seen.back();
  test::quit_cleanly(engine);
}

TEST_F(UciProcess, InfiniteAnswersIsreadyAndMovesOnlyOnStop) {
  send_all({middlegame, "go infinite"});
  ASSERT_TRUE(engine.wait_for_cpu(engine.cpu_time() + 300ms, 20s));
  EXPECT_FALSE(has_best_move(until_ready()));
  send_all({"stop"});
  EXPECT_EQ(best_move_of(search_lines(5s).back()).size(), 4u);
  EXPECT_FALSE(has_best_move(until_ready()));  // one bestmove, not two
  test::quit_cleanly(engine);
}

TEST_F(UciProcess, PonderhitTurnsThePonderSearchIntoTheMove) {
  // A mate in one is found at once: the ponder search must still hold it.
  send_all(
      {"position fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", "go ponder wtime 2000 btime 2000"});
  lines seen;
  while (auto line = engine.read_line()) {
    seen.push_back(*line);
    if (line->find(" score mate 1 ") != std::string::npos) break;
  }
  ASSERT_NE(seen.back().find(" score mate 1 "), std::string::npos);
  EXPECT_FALSE(has_best_move(seen));
  EXPECT_FALSE(has_best_move(until_ready()));
  send_all({"ponderhit"});
  EXPECT_EQ(best_move_of(search_lines(5s).back()), "d1d8");
  test::quit_cleanly(engine);
}

TEST_F(UciProcess, RepetitionCountsTheMovesOfThePosition) {
  // Black, a queen down, can go back to a position the game has had: a
  // draw the search sees only through the moves.
  const std::string fen = "position fen 7k/8/8/8/8/8/8/KQ6 b - - 0 1";
  send_all({fen, "go depth 4"});
  const lines alone = search_lines();
  send_all({fen + " moves h8g8 a1a2 g8h8 a2a1", "go depth 4"});
  const lines repeated = search_lines();
  ASSERT_GE(alone.size(), 2u);
  ASSERT_GE(repeated.size(), 2u);
  EXPECT_EQ(alone[alone.size() - 2].find(" score cp -39 "), std::string::npos);
  EXPECT_NE(repeated[repeated.size() - 2].find(" score cp -39 "), std::string::npos)
      << repeated[repeated.size() - 2];
  EXPECT_EQ(best_move_of(repeated.back()), "h8g8");
  test::quit_cleanly(engine);
}

TEST_F(UciProcess, BadInputIsReportedAndTheLastSoundPositionStays) {
  send_all({"position startpos moves e2e4", "position fen junk",
            "position fen 8/8/8/8/8/8/8/8 w - - 0 1", "position startpos moves e2e4 e7e5 e1e3",
            "position startpos moves e2e4 e7e5 e1", "setoption name Nope value 1",
            "setoption name Hash value lots", "frobnicate"});
  const lines reports = until_ready();
  ASSERT_EQ(reports.size(), 7u);
  for (const std::string& line : reports) EXPECT_TRUE(line.starts_with("info string ")) << line;
  send_all({"go depth 3"});
  const std::string best = best_move_of(search_lines().back());
  ASSERT_EQ(best.size(), 4u) << best;
  EXPECT_TRUE(best[1] == '7' || best[1] == '8') << best;  // Black answers 1. e4
  // A mated side has no move to give.
  send_all({"position fen 7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", "go depth 3"});
  EXPECT_EQ(search_lines().back(), "bestmove 0000");
  test::quit_cleanly(engine);
}

// The faults a tester finds when it sends what GUIs send, each mended.

// A `stop` that arrives in one write with the next search is not lost: every
// `go` gets its move, and `isready` its answer after them.
TEST_F(UciProcess, StopSentWithTheNextSearchStillEndsBoth) {
  send_all({"go infinite"});
  ASSERT_TRUE(engine.wait_for_cpu(engine.cpu_time() + 100ms, 20s));
  send_all({"stop\nposition startpos moves e2e4 e7e5 g1f3\ngo infinite"});
  ASSERT_TRUE(engine.wait_for_cpu(engine.cpu_time() + 100ms, 20s));
  send_all({"stop", "isready"});
  const auto seen = engine.read_until("readyok", 10s);
  ASSERT_TRUE(seen.has_value()) << "the engine hangs";
  std::vector<std::string> moves;
  for (const std::string& line : *seen)
    if (line.starts_with("bestmove")) moves.push_back(best_move_of(line));
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_TRUE(moves[1][1] == '7' || moves[1][1] == '8') << moves[1];  // Black's answer to 2. Nf3
  test::quit_cleanly(engine);
}

// The GUI keeps the game: a move the engine gives is not played on its
// board, so each search of one position is a search for the same side.
TEST_F(UciProcess, EverySearchOfOnePositionIsForItsSideToMove) {
  send_all({"setoption name OwnBook value false", "position startpos moves e2e4"});
  for (int i = 0; i < 3; ++i) {
    send_all({"go depth 3"});
    const std::string best = best_move_of(search_lines().back());
    EXPECT_TRUE(best[1] == '7' || best[1] == '8') << best;
  }
  for (int i = 0; i < 2; ++i) {
    send_all({"go infinite"});
    ASSERT_TRUE(engine.wait_for_cpu(engine.cpu_time() + 50ms, 20s));
    send_all({"stop"});
    const std::string best = best_move_of(search_lines().back());
    EXPECT_TRUE(best[1] == '7' || best[1] == '8') << best;
  }
  test::quit_cleanly(engine);
}

TEST_F(UciProcess, GoMateAnswersOnceItHasTheMate) {
  // 1. Qh8#: a mate within the two moves asked for.
  send_all({"position fen 5k2/8/5K2/8/8/8/8/7Q w - - 0 1", "go mate 2"});
  const lines seen = search_lines(10s);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_NE(seen[seen.size() - 2].find(" score mate "), std::string::npos) << seen[seen.size() - 2];
  EXPECT_EQ(best_move_of(seen.back()).substr(0, 2), "h1");
  test::quit_cleanly(engine);
}

TEST_F(UciProcess, SearchmovesLimitsTheRootAndRefusesWhatIsNotLegal) {
  send_all({"setoption name OwnBook value false", "position startpos",
            "go depth 4 searchmoves a2a3 h2h3 e7e5"});
  const lines seen = search_lines();
  EXPECT_EQ(seen.front(), "info string searchmoves: e7e5 is not a legal move here; left out.");
  const std::string best = best_move_of(seen.back());
  EXPECT_TRUE(best == "a2a3" || best == "h2h3") << best;
  send_all({"go depth 4 searchmoves e7e5"});
  EXPECT_EQ(search_lines(),
            (lines{"info string searchmoves: e7e5 is not a legal move here; left out.",
                   "info string searchmoves: none of the moves is legal here; no search.",
                   "info depth 0 score cp 0", "bestmove 0000"}));
  test::quit_cleanly(engine);
}

// One of several lines: its depth, number, score (a mate as a score beyond
// every centipawn score, the nearer the higher) and first move.
struct numbered_line {
  int depth = 0, number = 0, score = 0;
  std::string first_move;
};

std::optional<numbered_line> read_numbered_line(const std::string& line) {
  static const std::regex form(
      "info depth ([0-9]+) seldepth [0-9]+ multipv ([0-9]+) score (cp|mate) (-?[0-9]+) nodes "
      "[0-9]+ nps [0-9]+ time [0-9]+ pv ([a-h][1-8][a-h][1-8][qrbn]?)( "
      "[a-h][1-8][a-h][1-8][qrbn]?)*");
  std::smatch match;
  if (!std::regex_match(line, match, form)) return std::nullopt;
  int score = std::stoi(match[4].str());
  if (match[3].str() == "mate") score = score > 0 ? 100000 - score : -100000 - score;
  return numbered_line{std::stoi(match[1].str()), std::stoi(match[2].str()), score, match[5].str()};
}

// The info lines of a search, each of them numbered, grouped by depth
// (1 on) in the order they came.
std::vector<std::vector<numbered_line>> lines_by_depth(const lines& seen) {
  std::vector<std::vector<numbered_line>> depths;
  for (const std::string& line : seen) {
    if (!line.starts_with("info depth")) continue;
    const auto numbered = read_numbered_line(line);
    EXPECT_TRUE(numbered.has_value()) << line;
    if (!numbered) continue;
    if (depths.size() < static_cast<std::size_t>(numbered->depth))
      depths.resize(static_cast<std::size_t>(numbered->depth));
    depths[static_cast<std::size_t>(numbered->depth) - 1].push_back(*numbered);
  }
  return depths;
}

// Every depth shows `count` lines numbered 1 on, best first, each starting
// with another move, one of `allowed` when it names any.
void expect_lines_per_depth(const std::vector<std::vector<numbered_line>>& depths,
                            std::size_t count, const std::vector<std::string>& allowed = {}) {
  for (std::size_t d = 0; d < depths.size(); ++d) {
    const auto& at_depth = depths[d];
    ASSERT_EQ(at_depth.size(), count) << "depth " << d + 1;
    std::vector<std::string> first_moves;
    std::vector<int> scores;
    for (std::size_t k = 0; k < count; ++k) {
      EXPECT_EQ(at_depth[k].number, static_cast<int>(k) + 1) << "depth " << d + 1;
      scores.push_back(at_depth[k].score);
      first_moves.push_back(at_depth[k].first_move);
      const bool may_start = allowed.empty() || std::find(allowed.begin(), allowed.end(),
                                                          first_moves.back()) != allowed.end();
      EXPECT_TRUE(may_start) << "depth " << d + 1 << " starts with " << first_moves.back();
    }
    EXPECT_TRUE(std::is_sorted(scores.rbegin(), scores.rend())) << "depth " << d + 1;
    std::sort(first_moves.begin(), first_moves.end());
    EXPECT_EQ(std::adjacent_find(first_moves.begin(), first_moves.end()), first_moves.end())
        << "depth " << d + 1 << ": two lines start with the same move";
  }
}

// MultiPV: three lines at every depth of a search to depth 7, the move
// played being line 1's; with only two moves to choose from (searchmoves,
// in an analysis that runs until stopped), two lines.
TEST_F(UciProcess, MultiPvShowsTheBestLinesOfEveryDepth) {
  send_all({"setoption name OwnBook value false", "setoption name MultiPV value 3",
            "position startpos", "go depth 7"});
  const lines seen = search_lines(60s);
  const auto depths = lines_by_depth(seen);
  ASSERT_EQ(depths.size(), 7u);
  expect_lines_per_depth(depths, 3);
  EXPECT_EQ(best_move_of(seen.back()), depths.back().front().first_move);

  send_all({"go infinite searchmoves a2a3 h2h3"});
  lines analysis;
  while (auto line = engine.read_line(20s)) {
    analysis.push_back(*line);
    if (line->starts_with("info depth 4 ") && line->find(" multipv 2 ") != std::string::npos) break;
  }
  send_all({"stop"});
  const lines rest = search_lines(5s);
  analysis.insert(analysis.end(), rest.begin(), rest.end());
  const auto analysed = lines_by_depth(analysis);
  ASSERT_GE(analysed.size(), 4u);
  expect_lines_per_depth(analysed, 2, {"a2a3", "h2h3"});
  const std::string best = best_move_of(analysis.back());
  EXPECT_TRUE(best == "a2a3" || best == "h2h3") << best;
  test::quit_cleanly(engine);
}

// The clock of `go` is the side to move's, also after a position the
// engine refused: Black is still to move, with a clock that has run out.
TEST_F(UciProcess, RefusedPositionKeepsWhoseClockIsRead) {
  send_all({"setoption name OwnBook value false", "position startpos moves e2e4",
            "position startpos moves e2e4 e7e5 g1f3 e8e6"});
  const auto start = std::chrono::steady_clock::now();
  send_all({"go wtime 600000 btime 10"});
  const std::string best = best_move_of(search_lines(20s).back());
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);  // Black's 10 ms, not White's 10 minutes
  EXPECT_TRUE(best[1] == '7' || best[1] == '8') << best;
  test::quit_cleanly(engine);
}

// What the layers below have to say reaches a UCI GUI in UCI words.
TEST_F(UciProcess, FaultsBelowTheFrontEndAreInfoStrings) {
  send_all({"setoption name Hash value 65536", "ucinewgame"});
  const lines seen = until_ready();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].starts_with("info string not enough memory for the hash table")) << seen[0];
  test::quit_cleanly(engine);
}

// Chess960 in UCI: castling is the king taking its own rook, read in the
// game's moves and written in the engine's own.
TEST_F(UciProcess, Chess960CastlesKingTakesRook) {
  const std::string start = "position fen 1r2k1r1/pppppppp/8/8/8/8/PPPPPPPP/1R2K1R1 w GBgb - 0 1";
  send_all({"setoption name UCI_Chess960 value true", start, "go depth 1 searchmoves e1b1"});
  EXPECT_EQ(best_move_of(search_lines().back()), "e1b1");  // O-O-O: Kc1, Rd1
  // O-O for White (Kg1, Rf1), O-O-O for Black (Kc8, Rd8): a rook stands on
  // f1 now, beside the square the king has left.
  send_all({start + " moves e1g1 e8b8", "go depth 1 searchmoves f1e1"});
  const lines seen = search_lines();
  EXPECT_FALSE(seen.front().starts_with("info string")) << seen.front();
  EXPECT_EQ(best_move_of(seen.back()), "f1e1");
  test::quit_cleanly(engine);
}

// A short game at the lowest level, from start to ply 16 on a clock of two
// seconds: every go gets a legal move (the position with it is taken
// without complaint) well within the clock, and the same level in another
// process plays the same game, move for move.
std::vector<std::string> game_at_lowest_level(test::engine_process& engine) {
  for (const char* command :
       {"uci", "setoption name OwnBook value false", "setoption name UCI_LimitStrength value true",
        "setoption name UCI_Elo value 1000", "isready"})
    EXPECT_TRUE(engine.send(command));
  EXPECT_TRUE(engine.read_until("readyok").has_value());
  std::vector<std::string> played;
  std::string position = "position startpos moves";
  for (int ply = 0; ply < 16; ++ply) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(engine.send(position) && engine.send("go wtime 2000 btime 2000"));
    bool info = false;
    std::optional<std::string> line;
    while ((line = engine.read_line(5s)) && !line->starts_with("bestmove"))
      info = info || is_info_line(*line);
    if (!line) return played;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
    EXPECT_TRUE(info) << "no thinking line before " << *line;
    played.push_back(best_move_of(*line));
    position += ' ' + played.back();
  }
  EXPECT_TRUE(engine.send(position) && engine.send("isready"));
  EXPECT_EQ(engine.read_until("readyok"), std::optional<lines>(lines{}))
      << "the last move was refused";
  return played;
}

TEST_F(UciProcess, LowestLevelPlaysLegallyInTimeAndRepeatsItsGames) {
  const std::vector<std::string> game = game_at_lowest_level(engine);
  EXPECT_EQ(game.size(), 16u);
  test::engine_process again(MARLEK_BINARY, MARLEK_BUILD_DIR, {"--uci"});
  EXPECT_EQ(game_at_lowest_level(again), game);
  test::quit_cleanly(engine);
}

// Two search threads: a search of a few seconds on both (ThreadSanitizer
// runs this one too), one move when stopped, and quit in the middle of the
// next search ends the engine at once.
TEST_F(UciProcess, TwoThreadsSearchStopAndQuitTogether) {
  send_all({"setoption name Threads value 2", middlegame, "go infinite"});
  ASSERT_TRUE(engine.wait_for_cpu(engine.cpu_time() + 2000ms, 30s));
  send_all({"stop"});
  EXPECT_EQ(best_move_of(search_lines(5s).back()).size(), 4u);
  send_all({"go infinite"});
  ASSERT_TRUE(engine.wait_for_cpu(engine.cpu_time() + 200ms, 20s));
  ASSERT_TRUE(engine.send("quit"));
  const auto end = engine.wait_for_exit(2s);
  ASSERT_TRUE(end.has_value()) << "quit did not end a threaded search";
  EXPECT_TRUE(end->exited && end->code == 0);
  EXPECT_EQ(engine.error_output(), "");
}

}  // namespace
}  // namespace marlek
