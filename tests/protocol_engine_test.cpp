// The engine thread driven over pipes, as a GUI drives it: modes, moves,
// pings, take-backs, analysis and pondering.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine_checks.h"

namespace marlek {
namespace {

using namespace std::chrono_literals;
using lines = std::vector<std::string>;

const std::string middlegame = "setboard " + test::middlegame_fen;

// A thinking line as the engine posts it in a game: a principal variation
// is always there, and the time is whole seconds (the clock counts seconds).
bool is_posted_thinking_line(const std::string& line) {
  return test::is_thinking_line(line) && !line.ends_with('\t');
}

// Evidence that the engine thinks: it uses `more` processor time before
// `wait` is over.
bool cpu_time_grows(const test::engine_process& engine, std::chrono::milliseconds more,
                    std::chrono::seconds wait = 20s) {
  return engine.wait_for_cpu(engine.cpu_time() + more, wait);
}

// Evidence that the engine has stopped thinking: its processor time stays
// put (within a hundredth of a second) for half a second, before `wait` is
// over.
bool cpu_time_settles(const test::engine_process& engine, std::chrono::seconds wait = 10s) {
  constexpr int quiet_samples = 5;
  auto last = engine.cpu_time();
  int quiet = 0;
  for (auto until = std::chrono::steady_clock::now() + wait;
       std::chrono::steady_clock::now() < until;) {
    std::this_thread::sleep_for(100ms);
    const auto now = engine.cpu_time();
    quiet = now - last <= 10ms ? quiet + 1 : 0;
    last = now;
    if (quiet == quiet_samples) return true;
  }
  return false;
}

class ProtocolEngine : public test::engine_session {
 protected:
  // The engine moves at once and then ponders on the opponent's time: the
  // evidence is the processor time it goes on using.
  void move_then_ponder() {
    send_all(
        {"hard", "nopost", "level 0 60 0", "time 360000", "otim 360000", middlegame, "go", "?"});
    read_through("move ", 10s);
    ASSERT_TRUE(cpu_time_grows(engine, 300ms));
  }
  void SetUp() override { ASSERT_TRUE(engine.wait_ready()); }

  void quit_cleanly() { test::quit_cleanly(engine); }
};

TEST_F(ProtocolEngine, NewThenGoPlaysABookMoveAtOnce) {
  send_all({"new", "post", "go"});
  auto first = engine.read_line(3s);
  ASSERT_TRUE(first.has_value());
  EXPECT_TRUE(first->starts_with("move ")) << *first;
  quit_cleanly();
}

TEST_F(ProtocolEngine, SetboardThenGoThinksAndMovesWithinItsBudget) {
  // 30 seconds left, 30 moves to go: a budget of one second.
  send_all({"post", "level 0 1 0", "time 3000", "otim 3000", middlegame});
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(engine.send("go"));
  lines seen = read_through("move ", 10s);
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_FALSE(seen.empty());
  EXPECT_TRUE(seen.back().starts_with("move "));
  ASSERT_GE(seen.size(), 2u) << "no thinking line";
  for (std::size_t i = 0; i + 1 < seen.size(); ++i)
    EXPECT_TRUE(is_posted_thinking_line(seen[i])) << seen[i];
  EXPECT_EQ(seen[0].substr(0, 2), "0\t");  // the first line reports the stored depth 0
  EXPECT_LT(took, 4s);
  quit_cleanly();
}

// Five seconds left at 10 s + 0.1 s: a share of about a quarter of a
// second, spent, and deep enough to see a queen left hanging.
TEST_F(ProtocolEngine, ShortClockIsSpentOnASearch) {
  send_all({"post", "level 0 0:10 0.1", middlegame, "ping 1"});
  ASSERT_TRUE(engine.read_until("pong 1").has_value());
  const auto start = std::chrono::steady_clock::now();
  send_all({"time 500", "otim 500", "go"});
  const lines seen = read_through("move ", 10s);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 100ms);
  EXPECT_LE(took, 500ms);
  int deepest = 0;
  for (const std::string& line : seen)
    if (test::is_thinking_line(line)) deepest = std::max(deepest, std::stoi(line));
  EXPECT_GE(deepest, 3);
  quit_cleanly();
}

TEST_F(ProtocolEngine, PingsAreAnsweredAtOnceOrAfterTheMove) {
  send_all({"force", "ping 5"});
  EXPECT_EQ(engine.read_line(), "pong 5");
  send_all(
      {"nopost", "level 0 1 0", "time 3000", "otim 3000", middlegame, "go", "ping 6", "ping 7"});
  lines seen = read_through("pong", 10s);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_TRUE(seen[seen.size() - 2].starts_with("move "));
  EXPECT_EQ(seen.back(), "pong 7");  // only the later of two pings, after the move
  EXPECT_TRUE(engine.read_lines_for(300ms).empty());
  quit_cleanly();
}

TEST_F(ProtocolEngine, MoveNowPlaysAtOnce) {
  send_all({"nopost", "level 0 60 0", "time 360000", "otim 360000", middlegame, "go"});
  EXPECT_TRUE(engine.read_lines_for(500ms).empty());
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(engine.send("?"));
  lines seen = read_through("move ", 5s);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  quit_cleanly();
}

TEST_F(ProtocolEngine, ClockBeyondAnyGameThinksUntilToldToMove) {
  // The engine's clock as long as it can count and none for the opponent:
  // the whole lead is the budget, and the alarm lies as far ahead as the
  // clock reaches, so only `?` ends the search.
  send_all({"nopost", "level 0 99999999 0", "otim 0", middlegame, "go"});
  EXPECT_TRUE(engine.read_lines_for(1500ms).empty());
  ASSERT_TRUE(engine.send("?"));
  lines seen = read_through("move ", 5s);
  quit_cleanly();
}

// True when no line of `seen` is a move.
bool no_move_in(const lines& seen) {
  return std::none_of(seen.begin(), seen.end(),
                      [](const std::string& line) { return line.starts_with("move "); });
}

TEST_F(ProtocolEngine, ForceDuringThinkingGivesNoMove) {
  send_all({"post", "level 0 60 0", "time 360000", "otim 360000", middlegame, "go"});
  read_through("0\t");  // the search has started
  send_all({"force", "ping 9"});
  auto before_pong = engine.read_until("pong 9");
  ASSERT_TRUE(before_pong.has_value());
  EXPECT_TRUE(no_move_in(*before_pong));
  EXPECT_TRUE(engine.read_lines_for(500ms).empty());
  quit_cleanly();
}

TEST_F(ProtocolEngine, UserMoveWhileThinkingIsRefusedAndTheEngineStillMoves) {
  send_all({"nopost", "level 0 1 0", "time 3000", "otim 3000", middlegame, "go", "usermove e7e5"});
  lines seen = read_through("move ", 10s);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), "Error: Not your move.");
  quit_cleanly();
}

TEST_F(ProtocolEngine, IllegalAndUnreadableMovesAreRefusedByTheirText) {
  send_all({"new", "force", "usermove e2e5", "usermove e2", "usermove e2e4Q", "usermove zz",
            "usermove e2e4", "ping 1"});
  EXPECT_EQ(engine.read_until("pong 1"), (lines{"Illegal move: e2e5", "Illegal move: e2",
                                                "Illegal move: e2e4Q", "Illegal move: zz"}));
  quit_cleanly();
}

TEST_F(ProtocolEngine, UndoInForceModeTakesBack) {
  send_all({"new", "force", "usermove e2e4", "undo", "usermove e2e4", "undo", "undo", "ping 2"});
  // The second e2e4 is legal only because the first was taken back; the
  // last undo has nothing left to take.
  lines seen = *engine.read_until("pong 2");
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].starts_with("Error"));
  quit_cleanly();
}

TEST_F(ProtocolEngine, RemoveInForceModeTakesBackTwoMovesOrNone) {
  send_all({"new", "force", "remove", "usermove e2e4", "remove",
            // Black is still to move: the lone move stayed.
            "usermove e7e5", "usermove g1f3", "remove",
            // Black is to move again after e2e4, and g1f3 is free again.
            "usermove c7c5", "usermove g1f3", "ping 1"});
  EXPECT_EQ(engine.read_until("pong 1"),
            (lines{"Error: no move to undo.", "Error: no move to undo."}));
  quit_cleanly();
}

TEST_F(ProtocolEngine, RemoveInAGameKeepsTheEngineOnItsSide) {
  // The engine has Black and answers e2e4 from the book; the pair is taken
  // back and it waits for White's move again instead of playing.
  send_all({"nopost", "level 0 1 0", "time 3000", "otim 3000", "new", "usermove e2e4"});
  lines seen = read_through("move ", 10s);
  ASSERT_EQ(seen.size(), 1u);
  send_all({"remove", "ping 2"});
  EXPECT_EQ(engine.read_until("pong 2"), lines{});
  ASSERT_TRUE(engine.send("usermove d2d4"));
  auto reply = engine.read_line();
  ASSERT_TRUE(reply.has_value());
  ASSERT_TRUE(reply->starts_with("move ")) << *reply;
  EXPECT_TRUE(reply->at(6) == '7' || reply->at(6) == '8') << *reply;  // a black piece moves

  // On move, the engine refuses as it refuses undo, and still moves.
  send_all({"level 0 60 0", "time 360000", "otim 360000", middlegame, "go", "remove", "?"});
  EXPECT_EQ(read_through("move ", 10s).front(), "Error: undo not legal when it's Marlek's turn.");
  quit_cleanly();
}

TEST_F(ProtocolEngine, RepetitionNeedsTheSameRightsAndEnPassant) {
  auto play = [&](std::initializer_list<const char*> moves, const char* ping) {
    for (const char* text : moves) ASSERT_TRUE(engine.send(std::string("usermove ") + text));
    ASSERT_TRUE(engine.send(ping));
  };
  // King and both rooks of each side leave and return: the set-up placement
  // again, but without its castling rights, and twice is no draw.
  send_all({"force", "setboard r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"});
  play({"e1e2", "e8e7", "a1a2", "a8a7", "h1h2", "h8h7", "e2e1", "e7e8", "a2a1", "a7a8", "h2h1",
        "h7h8", "a1b1", "a8b8", "b1a1", "b8a8"},
       "ping 1");
  EXPECT_EQ(engine.read_until("pong 1"), lines{});
  play({"a1b1", "a8b8", "b1a1", "b8a8"}, "ping 2");
  EXPECT_EQ(engine.read_until("pong 2"), lines{"1/2-1/2 {Draw by repetition}"});

  // Right after e2e4 Black could take en passant: that position is not the
  // one the knights come back to.
  send_all({"setboard 4k1n1/8/7R/8/3p4/8/4P3/4K1N1 w - - 0 1"});
  play({"e2e4", "g8f6", "g1f3", "f6g8", "f3g1", "g8f6", "g1f3", "f6g8", "f3g1"}, "ping 3");
  EXPECT_EQ(engine.read_until("pong 3"), lines{});
  play({"g8f6"}, "ping 4");  // the knights' first position, a third time
  EXPECT_EQ(engine.read_until("pong 4"), lines{"1/2-1/2 {Draw by repetition}"});
  quit_cleanly();
}

TEST_F(ProtocolEngine, NewWhileThinkingPlaysNoMove) {
  send_all(
      {"nopost", "level 0 60 0", "time 360000", "otim 360000", middlegame, "go", "new", "ping 5"});
  EXPECT_EQ(engine.read_until("pong 5"), lines{});
  // The engine now has Black in the new game.
  ASSERT_TRUE(engine.send("usermove e2e4"));
  EXPECT_EQ(read_through("move ", 10s).size(), 1u);
  quit_cleanly();
}

TEST_F(ProtocolEngine, PostWhilePonderingIsKeptForTheNextSearch) {
  ASSERT_NO_FATAL_FAILURE(move_then_ponder());
  ASSERT_TRUE(engine.send("post"));
  EXPECT_EQ(engine.read_lines_for(1500ms), lines{});  // pondering prints nothing
  // The engine takes the side to move and thinks: it posts, as the GUI asked.
  ASSERT_TRUE(engine.send("go"));
  auto first = engine.read_line(5s);
  ASSERT_TRUE(first.has_value());
  EXPECT_TRUE(test::is_thinking_line(*first)) << *first;
  ASSERT_TRUE(engine.send("?"));
  read_through("move ", 10s);
  quit_cleanly();
}

TEST_F(ProtocolEngine, EasyStopsPonderingAtOnce) {
  ASSERT_NO_FATAL_FAILURE(move_then_ponder());
  ASSERT_TRUE(engine.send("easy"));
  EXPECT_TRUE(cpu_time_settles(engine));
  send_all({"ping 6"});
  EXPECT_EQ(engine.read_line(), "pong 6");
  quit_cleanly();
}

TEST_F(ProtocolEngine, AnalyzePostsLinesUntilExit) {
  send_all({"post", middlegame, "analyze"});
  lines seen = read_through("4\t", 20s);  // wait for some depth
  for (const auto& line : seen) EXPECT_TRUE(is_posted_thinking_line(line)) << line;
  send_all({"exit", "ping 3"});
  lines rest = read_through("pong 3", 10s);
  EXPECT_TRUE(engine.read_lines_for(500ms).empty());  // analysis has stopped
  quit_cleanly();
}

// The first move of a thinking line's variation.
std::string first_move_of(const std::string& line) {
  const std::string pv = line.substr(line.rfind('\t') + 1);
  return pv.substr(0, pv.find(' '));
}

// Two lines a depth (MultiPV 2); the moves of both left out, no line starts
// with either, until `include all` takes them back in.
TEST_F(ProtocolEngine, ExcludedMovesStayOutOfTheAnalysisUntilIncluded) {
  send_all({"post", "option MultiPV=2", middlegame, "analyze"});
  const std::string best = first_move_of(read_through("4\t", 20s).back());
  const auto second = engine.read_line(5s);
  ASSERT_TRUE(second.has_value() && second->starts_with("4\t")) << second.value_or("none");
  const std::string next = first_move_of(*second);
  ASSERT_NE(best, next);

  send_all({"exclude " + best, "exclude " + next, "ping 1"});
  read_through("pong 1", 10s);
  // Every line from here on comes from the search without them, the depth-4
  // lines too: two of them, each with another move.
  lines fours;
  while (fours.size() < 2) {
    const auto line = engine.read_line(20s);
    ASSERT_TRUE(line.has_value()) << "no two depth-4 lines";
    EXPECT_TRUE(is_posted_thinking_line(*line)) << *line;
    EXPECT_NE(first_move_of(*line), best) << *line;
    EXPECT_NE(first_move_of(*line), next) << *line;
    if (line->starts_with("4\t")) fours.push_back(*line);
  }
  EXPECT_NE(first_move_of(fours[0]), first_move_of(fours[1]));

  send_all({"include all", "ping 2"});
  read_through("pong 2", 10s);
  bool back = false;
  while (!back) {
    const auto line = engine.read_line(20s);
    ASSERT_TRUE(line.has_value()) << best << " did not come back";
    back = first_move_of(*line) == best;
  }
  send_all({"exit"});
  quit_cleanly();
}

TEST_F(ProtocolEngine, PonderingPostsNothing) {
  const auto idle = engine.cpu_time();
  send_all({"hard", "post", "time 100000", "otim 100000", middlegame, "playother"});
  // Half a second of processor time is the evidence that it ponders.
  ASSERT_TRUE(engine.wait_for_cpu(idle + 500ms, 20s));
  send_all({"force", "ping 4"});
  EXPECT_EQ(engine.read_until("pong 4"), lines{});
  quit_cleanly();
}

TEST_F(ProtocolEngine, MatingUserMoveInForceModeWritesTheResult) {
  send_all({"setboard rnbqkbnr/ppppp2p/5p2/6p1/4P3/3P4/PPP2PPP/RNBQKBNR w KQkq - 0 3", "force",
            "usermove d1h5", "ping 8"});
  EXPECT_EQ(engine.read_until("pong 8"), (lines{"1-0 {White mates}"}));
  quit_cleanly();
}

TEST_F(ProtocolEngine, GoWithoutLegalMovesPlaysNothing) {
  send_all({"setboard 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", "go", "ping 10"});
  EXPECT_EQ(engine.read_line(), "pong 10");
  EXPECT_TRUE(engine.read_lines_for(300ms).empty());
  quit_cleanly();
}

TEST_F(ProtocolEngine, QuitDuringASearchEndsWithoutAMove) {
  send_all({"post", "level 0 60 0", "time 360000", "otim 360000", middlegame, "go"});
  read_through("0\t");  // the search has started
  ASSERT_TRUE(engine.send("quit"));
  auto end = engine.wait_for_exit();
  ASSERT_TRUE(end.has_value());
  EXPECT_TRUE(end->exited);
  EXPECT_EQ(end->code, 0);
  EXPECT_TRUE(no_move_in(engine.read_lines_for(1s)));
}

// Two search threads think together; `?` stops both at once with a move,
// after which the engine thinks no more.
TEST_F(ProtocolEngine, TwoThreadsStopTogether) {
  send_all({"cores 2", "nopost", "level 0 60 0", "time 360000", "otim 360000", middlegame, "go"});
  ASSERT_TRUE(cpu_time_grows(engine, 1000ms));
  send_all({"?"});
  read_through("move ", 5s);
  EXPECT_TRUE(cpu_time_settles(engine));
  quit_cleanly();
}

TEST_F(ProtocolEngine, RejectedSetUpLeavesNothingToPlay) {
  send_all({"setboard 8/8/8/8/8/8/8/8 w - - 0 1", "go", "usermove e2e4", "ping 11"});
  lines seen = *engine.read_until("pong 11");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_TRUE(seen[0].starts_with("root::SetBoard: "));
  EXPECT_EQ(seen[1], "Illegal move: e2e4");
  quit_cleanly();
}

}  // namespace
}  // namespace marlek
