// The engine binary driven by the line sequences that real clients send, as
// recorded from each: tournament managers and GUIs of protocol version 2
// that reject features, GUIs of version 1 that send bare moves, `edit`,
// `white` and `black`. Each sequence must end with a legal move in the
// position the client means, and the engine must still answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "board_helpers.h"
#include "engine_checks.h"
#include "xboard/bare_move.h"

namespace marlek {
namespace {

using namespace std::chrono_literals;

// Lines of a sequence that are not sent: "MOVE" waits for the engine's move
// and checks it, "SEARCHED" does too and wants a thinking line of three plies
// or more before it (a move thought about, not one made at once); "@FEN" names the position the
// client means from here on (where the lines alone do not say it, after an edit); "EXPECT TEXT"
// waits for that exact line. The test follows `new`, `setboard` and every move sent or played to
// know the position the client means.
struct client_case {
  const char* name;
  std::vector<std::string> lines;
};

// Test names and failures show a case by its name.
void PrintTo(const client_case& c, std::ostream* out) { *out << c.name; }

const std::vector<std::string> cutechess_handshake = {
    "xboard",           "protover 2",        "accepted myname", "accepted usermove",
    "accepted ping",    "accepted setboard", "rejected colors", "rejected playother",
    "rejected analyze", "accepted variants", "accepted done"};

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const client_case client_cases[] = {
    // Two games: the engine White, then Black; e7e5 answers any first move.
    {"CutechessCli", joined(cutechess_handshake, {"new",
                                                  "force",
                                                  "level 0 0:10 0.1",
                                                  "post",
                                                  "hard",
                                                  "time 1000",
                                                  "otim 1000",
                                                  "go",
                                                  "MOVE",
                                                  "time 990",
                                                  "otim 1000",
                                                  "usermove e7e5",
                                                  "MOVE",
                                                  "result 1/2-1/2 {Draw}",
                                                  "ping 1",
                                                  "EXPECT pong 1",
                                                  "new",
                                                  "force",
                                                  "sd 2",
                                                  "post",
                                                  "easy",
                                                  "time 1000",
                                                  "otim 1000",
                                                  "usermove e2e4",
                                                  "time 1000",
                                                  "otim 990",
                                                  "go",
                                                  "MOVE"})},
    {"PyChess",
     {"xboard",
      "protover 2",
      "accepted myname",
      "accepted usermove",
      "accepted ping",
      "accepted setboard",
      "accepted colors",
      "rejected playother",
      "accepted analyze",
      "accepted variants",
      "accepted done",
      "new",
      "random",
      "book off",
      "level 0 1 0",
      "post",
      "easy",
      "time 6000",
      "otim 6000",
      "usermove e2e4",
      "MOVE"}},
    {"ChessX",
     {"xboard", "protover 2", "rejected myname", "rejected usermove", "rejected ping",
      "accepted setboard", "rejected colors", "rejected playother", "accepted analyze",
      "rejected variants", "accepted done", "new", "force",
      "setboard r1bqkbnr/pp1ppppp/2n5/2p5/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3", "d2d4", "post",
      "go", "MOVE"}},
    {"GnomeChessEngineBlack", {"xboard", "random", "easy", "sd 1", "force", "e2e4", "go", "MOVE"}},
    {"GnomeChessEngineWhite", {"xboard", "random", "hard", "go", "MOVE"}},
    {"KnightsEngineWhite",
     {"xboard", "depth 8", "sd 8", "memory 32", "level 40 0 2", "go", "MOVE", "e7e5", "MOVE"}},
    // Without `new`: the engine takes the human's first move as Black.
    {"KnightsEngineBlack", {"xboard", "level 40 0 2", "e2e4", "MOVE"}},
    // GUIs that never send a clock still get moves thought about: Knights'
    // level has no base time, GNOME Chess sends no level at all.
    {"KnightsWithoutClockThinks", {"xboard", "level 40 0 2", "h2h4", "SEARCHED"}},
    {"GnomeChessHardThinks", {"xboard", "random", "hard", "force", "h2h4", "go", "SEARCHED"}},
    // The king and rook at home keep their right: the castle is legal.
    {"EditWhiteToMove",
     {"xboard", "new", "edit", "#", "Ke1", "Rh1", "Pa2", "Pe4", "xe4", "c", "ke8", "pa7", ".",
      "@4k3/p7/8/8/8/8/P7/4K2R w K - 0 1", "e1g1", "MOVE"}},
    // How a GUI sets up a position with Black to move: a move, then the edit.
    {"EditBlackToMove",
     {"xboard", "new", "force", "a2a3", "edit", "#",
      "Kg1",    "Pf2", "Pg2",   "Ph2",  "c",    "kg8",
      "qd8",    "pf7", "pg7",   "pb2",  ".",    "@3q2k1/5pp1/8/8/8/8/1p3PPP/6K1 b - - 0 1",
      "go",     "MOVE"}},
    // A board without a black king is refused; the game stays as it was.
    {"EditRefused",
     {"xboard", "new", "force", "e2e4", "edit", "#", "Ke1", ".",
      "EXPECT Error (illegal position: each side needs exactly one king): edit", "go", "MOVE"}},
    // `white` puts White on move; a pair around the clock changes nothing.
    {"ColourWords",
     {"xboard", "new", "force", "e2e4", "white",
      "@rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR "
      "w KQkq - 0 1",
      "black", "time 500", "otim 500", "white", "go", "MOVE"}},
};

// The position the client means: a set-up and the moves made since.
struct intended_game {
  std::string fen = start_position_fen;
  std::vector<std::string> moves;

  void follow(const std::string& line) {
    if (line == "new") *this = intended_game{};
    if (line.starts_with("setboard ")) *this = intended_game{line.substr(9), {}};
    if (line.starts_with("usermove ")) moves.push_back(line.substr(9));
    if (is_move_text(line)) moves.push_back(line);
  }

  // Whether `text` is a legal move in the position.
  bool allows(const std::string& text) const {
    test::set_up(fen);
    test::output_capture quiet;
    for (const std::string& m : moves)
      if (root::play_move(move(m.c_str())) == play_result::not_legal) return false;
    const std::vector<std::string> legal = test::root_move_texts();
    return std::find(legal.begin(), legal.end(), text) != legal.end();
  }
};

class ProtocolClients : public testing::TestWithParam<client_case> {};

TEST_P(ProtocolClients, SequenceEndsWithALegalMoveAndALiveEngine) {
  test::engine_process engine;
  ASSERT_TRUE(engine.wait_ready());
  intended_game game;
  for (const std::string& line : GetParam().lines) {
    if (line.starts_with("@")) {
      game = intended_game{line.substr(1), {}};
    } else if (line.starts_with("EXPECT ")) {
      ASSERT_TRUE(engine.read_until(line.substr(7)).has_value()) << line;
    } else if (line == "MOVE" || line == "SEARCHED") {
      std::optional<std::string> reply;
      int deepest = 0;
      while ((reply = engine.read_line(20s)) && !reply->starts_with("move ")) {
        // Words this engine does not know (sd, memory, book) may be answered.
        EXPECT_FALSE(reply->starts_with("Illegal") || reply->starts_with("Error")) << *reply;
        if (test::is_thinking_line(*reply)) deepest = std::max(deepest, std::stoi(*reply));
      }
      ASSERT_TRUE(reply.has_value()) << "no move";
      if (line == "SEARCHED") {
        EXPECT_GE(deepest, 3) << *reply;
      }
      const std::string played = reply->substr(5);
      ASSERT_TRUE(game.allows(played)) << played << " after " << testing::PrintToString(game.moves);
      game.moves.push_back(played);
    } else {
      ASSERT_TRUE(engine.send(line));
      game.follow(line);
    }
  }
  ASSERT_TRUE(engine.send("ping 99"));
  EXPECT_TRUE(engine.read_until("pong 99").has_value());
  test::quit_cleanly(engine);
}

INSTANTIATE_TEST_SUITE_P(Recorded, ProtocolClients, testing::ValuesIn(client_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace marlek
