// The UCI front end on arbitrary lines: the word splitter, the parsers and
// the handlers up to the messages they post. The input is cut into lines at
// line feeds. Each line is run and held against what its command promises:
// every line the engine writes is a UCI line; a word that is no command,
// and a `position` or `setoption` that cannot be read, get one "info
// string" line and post nothing; a `position` that can be read posts one
// whole game, whose FEN has four to six fields and whose moves read as
// moves. That game is then set up on the real game layer, here on the
// fuzzing thread: a refused one must leave the game as it was, an accepted
// one must be that game on a sound position.
//
// The engine thread is not started: this target's post_to_engine is a
// checking sink that takes the place of the engine's (the core library is
// an archive, so the engine's object file is never pulled in).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "fuzz_support.h"
#include "game/root.h"
#include "search/hash_table.h"
#include "search/search_state.h"
#include "uci/uci_commands.h"
#include "uci/uci_parser.h"
#include "uci/uci_session.h"

namespace {

using namespace marlek;

std::vector<const set_game*> games_posted;
// The kinds of the other messages posted for the current line.
std::vector<std::int32_t> others_posted;

bool is_file(char c) { return c >= 'a' && c <= 'h'; }
bool is_rank(char c) { return c >= '1' && c <= '8'; }

bool reads_as_move(const std::string& text) {
  return (text.size() == 4 ||
          (text.size() == 5 && std::string_view("qrbn").find(text[4]) != std::string_view::npos)) &&
         is_file(text[0]) && is_rank(text[1]) && is_file(text[2]) && is_rank(text[3]);
}

bool fen_fields_fit(const std::string& fen) {
  const auto fields = uci_words(fen);
  return fields.size() >= 4 && fields.size() <= 6 && fen.find("  ") == std::string::npos;
}

// Lines the front end may write for a command that is not refused.
bool is_uci_answer(const std::string& line) {
  return line == "uciok" || line == "readyok" || line.starts_with("id ") ||
         line.starts_with("option name ");
}

// The game as the engine holds it, to tell whether a refused one changed it.
struct game_state {
  std::string fen = root::set_up_text;
  move::move_vector moves = root::game_record;
  hash_key key = position::position_key;
  std::int32_t side = position::side_to_move;
  bool operator==(const game_state&) const = default;
};

void check_set_up(const set_game& sg) {
  FUZZ_REQUIRE(fen_fields_fit(sg.fen));
  FUZZ_REQUIRE(std::all_of(sg.moves.begin(), sg.moves.end(), reads_as_move));
  move::move_vector moves;
  for (const std::string& text : sg.moves) moves.push_back(move(text.c_str()));
  // A Hash option may have asked for gigabytes; the set-up would take them.
  hash_table::request_size(hash_table::default_size);
  const game_state before;
  std::size_t refused = 0;
  std::string refusal;
  const game_set_up outcome = root::set_up_game(sg.fen, moves, refused, refusal);
  fuzz::take_output();  // the set-up's own complaints are not the front end's
  if (outcome != game_set_up::done) {
    FUZZ_REQUIRE(outcome == game_set_up::illegal_move ? refused < moves.size() : !refusal.empty());
    FUZZ_REQUIRE(game_state() == before);
    return;
  }
  FUZZ_REQUIRE(root::set_up_text == sg.fen && root::game_record == moves);
  fuzz::require_sound_position();
}

}  // namespace

namespace marlek {

// The checking sink in place of the engine thread.
void post_to_engine(message* m) {
  FUZZ_REQUIRE(m != nullptr);
  if (m->kind == set_game::kind_id) {
    const auto* sg = dynamic_cast<const set_game*>(m);
    FUZZ_REQUIRE(sg != nullptr);
    games_posted.push_back(sg);
    return;
  }
  others_posted.push_back(m->kind);
  delete m;
}

}  // namespace marlek

namespace {

void run_line(std::string_view line) {
  const auto words = uci_words(line);
  if (!words.empty() && words[0] == "quit") return;  // ends the process by design
  games_posted.clear();
  others_posted.clear();
  run_uci_line(line);
  const std::vector<std::string> out = fuzz::take_output();
  const std::size_t refusals = std::count_if(
      out.begin(), out.end(), [](const std::string& l) { return l.starts_with("info string "); });
  FUZZ_REQUIRE(refusals + std::count_if(out.begin(), out.end(), is_uci_answer) == out.size());
  const std::string command = words.empty() ? "" : std::string(words[0]);
  const auto only_posted = [](std::int32_t kind) {
    return std::all_of(others_posted.begin(), others_posted.end(),
                       [kind](std::int32_t k) { return k == kind; });
  };
  if (command == "position") {
    // One game or one refusal; a search still running is stopped first.
    FUZZ_REQUIRE(refusals + games_posted.size() == 1 && only_posted(go_now::kind_id));
  } else {
    FUZZ_REQUIRE(games_posted.empty());
  }
  if (command == "setoption") FUZZ_REQUIRE(refusals <= 1 && only_posted(clear_hash::kind_id));
  if (command.empty()) FUZZ_REQUIRE(out.empty() && others_posted.empty());
  if (!find_uci_command(command) && !command.empty()) {
    FUZZ_REQUIRE(out.size() == 1 && refusals == 1 && others_posted.empty());
  }
  for (const set_game* sg : games_posted) {
    check_set_up(*sg);
    delete sg;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::for_each_line(data, size, run_line);
  return 0;
}
