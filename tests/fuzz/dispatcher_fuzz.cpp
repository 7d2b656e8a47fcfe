// The main thread's side of the protocol on arbitrary lines: the tokenizer,
// the command table, the flag and clock commands, and the handlers up to
// the message they post. The input is cut into lines at line feeds, as the
// line reader would. Each line is run and then held against what its first
// word promises: the messages posted (kinds and contents), the flags, the
// clock variables, and the error or "Unrecognized command" line. The target
// keeps its own account of the state that lines leave for later ones: an
// open edit, a colour word held back, whether the game has begun.
//
// The engine thread is not started: this target's post_to_engine is a
// checking sink that takes the place of the engine's (the core library is
// an archive, so the engine's object file is never pulled in).
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/flags.h"
#include "base/line_limit.h"
#include "engine/engine.h"
#include "engine/time_control.h"
#include "fuzz_support.h"
#include "game/root.h"
#include "threads/set_up_messages.h"
#include "xboard/dispatcher.h"

namespace {

using namespace marlek;

// The messages posted while the current line ran, by kind.
std::vector<std::int32_t> posted;

template <typename message_class>
bool is_a(const message* m) {
  return dynamic_cast<const message_class*>(m) != nullptr;
}

// The class each kind the main thread may post must have.
bool class_matches(const message* m) {
  switch (m->kind) {
    case force::kind_id: return is_a<force>(m);
    case analyze::kind_id: return is_a<analyze>(m);
    case go::kind_id: return is_a<go>(m);
    case go_now::kind_id: return is_a<go_now>(m);
    case user_move::kind_id: return is_a<user_move>(m);
    case setboard::kind_id: return is_a<setboard>(m);
    case play_other::kind_id: return is_a<play_other>(m);
    case undo::kind_id: return is_a<undo>(m);
    case remove_pair::kind_id: return is_a<remove_pair>(m);
    case ping::kind_id: return is_a<ping>(m);
    case clear_hash::kind_id: return is_a<clear_hash>(m);
    case hint_request::kind_id: return is_a<hint_request>(m);
    case book_request::kind_id: return is_a<book_request>(m);
    case edit_board::kind_id: return is_a<edit_board>(m);
    case set_side::kind_id: return is_a<set_side>(m);
    case set_threads::kind_id: return is_a<set_threads>(m);
    case root_choice::kind_id: return is_a<root_choice>(m);
    case root_lines_changed::kind_id: return is_a<root_lines_changed>(m);
    default: return false;  // timer kinds and the worker's quit are not the main thread's
  }
}

// What the handlers expect of the words of a line, worked out from the raw
// text: the line ends at its first NUL, and only the single space splits.
struct line_words {
  std::vector<std::string> words;
  std::string argument_text;  // after the first space, spaces included

  explicit line_words(std::string_view line) {
    line = line.substr(0, line.find('\0'));
    const std::size_t first_space = line.find(' ');
    if (first_space != std::string_view::npos) argument_text = line.substr(first_space + 1);
    std::size_t start = 0;
    for (;;) {
      const std::size_t end = line.find(' ', start);
      words.emplace_back(line.substr(start, end - start));
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
  }
};

// The leading integer as the handlers read it: the C library's reading,
// saturated to 32 bits.
std::int32_t leading(const std::string& text) {
  const long long value = std::strtoll(text.c_str(), nullptr, 10);
  return static_cast<std::int32_t>(std::clamp<long long>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// What the posted messages of the current line must carry.
std::string expected_setboard;
std::string expected_move_text;
std::int32_t expected_ping = 0;
move expected_move;
// exclude and include: the command word and its argument text.
std::string expected_word;
std::string expected_argument;

// What earlier lines left: an edit open, a colour word not yet posted,
// whether a command has begun the game.
struct session_state {
  bool editing = false;
  bool colour_held = false;
  bool game_begun = false;
};
session_state session;

}  // namespace

namespace marlek {

// The checking sink in place of the engine thread.
void post_to_engine(message* m) {
  FUZZ_REQUIRE(m != nullptr);
  FUZZ_REQUIRE(class_matches(m));
  if (const auto* s = dynamic_cast<const setboard*>(m)) {
    FUZZ_REQUIRE(std::memchr(s->text, '\0', setboard::text_size) != nullptr);
    FUZZ_REQUIRE(std::string(s->text) == expected_setboard);
  }
  if (const auto* p = dynamic_cast<const ping*>(m)) {
    FUZZ_REQUIRE(p->number != 0);
    FUZZ_REQUIRE(p->number == expected_ping);
  }
  if (const auto* c = dynamic_cast<const root_choice*>(m)) {
    using change = root_choice::change;
    const bool all = expected_argument == "all";
    const bool exclude = expected_word == "exclude";
    FUZZ_REQUIRE(exclude || expected_word == "include");
    FUZZ_REQUIRE(c->what == (exclude ? (all ? change::exclude_all : change::exclude)
                                     : (all ? change::include_all : change::include)));
    FUZZ_REQUIRE(c->move_text == (all ? std::string() : expected_argument));
  }
  if (const auto* u = dynamic_cast<const user_move*>(m)) {
    FUZZ_REQUIRE(std::memchr(u->text, '\0', user_move::text_size) != nullptr);
    FUZZ_REQUIRE(std::string(u->text) == expected_move_text);
    FUZZ_REQUIRE(u->mv == expected_move);
  }
  posted.push_back(m->kind);
  delete m;
}

}  // namespace marlek

namespace {

using clock_state = xboard_clock_state;

struct flag_state {
  bool post, ponder, book;
  static flag_state read() {
    return {post_thinking.load(), ponder_enabled.load(), use_book.load()};
  }
  bool operator==(const flag_state&) const = default;
};

// The state a line may change, taken before it runs.
struct before_line {
  clock_state clock = xboard_clock_now();
  flag_state flags = flag_state::read();
  std::int64_t millis = clock_millis();
};

bool stamped_during(std::int64_t stamp, const before_line& before) {
  return stamp >= before.millis && stamp <= clock_millis();
}

// The clock as a new game leaves it: both sides at the base, the engine
// keeping its own time until the GUI sends one.
bool restarted_from(const clock_state& now, const clock_state& control, const before_line& before) {
  return now.moves_per_control == control.moves_per_control && now.base_ms == control.base_ms &&
         now.increment_ms == control.increment_ms && now.own_ms == control.base_ms &&
         now.opp_ms == control.base_ms && !now.gui_keeps_time &&
         stamped_during(now.own_stamp, before) && stamped_during(now.opp_stamp, before);
}

// Seconds with an optional fraction, as milliseconds; nothing when the text
// is beyond what any clock holds.
std::optional<long long> leading_ms(const std::string& text) {
  std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string::npos) return 0;
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  long long ms = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    if (ms > 1'000'000'000LL) return std::nullopt;
    ms = ms * 10 + (text[i] - '0');
  }
  ms *= 1000;
  if (i < text.size() && text[i] == '.')
    for (long long scale = 100;
         ++i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); scale /= 10)
      ms += (text[i] - '0') * scale;
  return negative ? -ms : ms;
}

// level MPS BASE INC: all four words, a base of minutes or minutes:seconds
// and some time in all; or nothing changes and one error line says why.
void check_level(const line_words& line, const before_line& before,
                 const std::vector<std::string>& out) {
  const clock_state now = xboard_clock_now();
  if (line.words.size() != 4) {
    FUZZ_REQUIRE(out.size() == 1 && out[0] == "Error: level command format.");
    FUZZ_REQUIRE(now == before.clock);
    return;
  }
  if (!out.empty()) {
    FUZZ_REQUIRE(out.size() == 1 && out[0].starts_with("Error (") &&
                 out[0].ends_with("): level " + line.argument_text));
    FUZZ_REQUIRE(now == before.clock);
    return;
  }
  const std::string& base = line.words[2];
  const long long minutes = std::strtoll(base.c_str(), nullptr, 10);
  long long extra = 0;
  if (const std::size_t colon = base.find(':'); colon != std::string::npos) {
    extra = std::strtoll(base.c_str() + colon + 1, nullptr, 10);
    FUZZ_REQUIRE(extra >= 0 && extra < 60);
  }
  FUZZ_REQUIRE(now.moves_per_control == leading(line.words[1]) && now.moves_per_control >= 0);
  if (minutes >= 0 && minutes < 1'000'000'000LL)
    FUZZ_REQUIRE(now.base_ms == (60 * minutes + extra) * 1000);
  if (const auto increment = leading_ms(line.words[3]))
    FUZZ_REQUIRE(now.increment_ms == *increment);
  FUZZ_REQUIRE(now.base_ms > 0 || now.increment_ms > 0);
  FUZZ_REQUIRE(restarted_from(now, now, before));
}

// A number as `time` and `otim` take it: digits after an optional sign.
bool is_signed_number(const std::string& word) {
  const std::size_t digits_from = word[0] == '-' || word[0] == '+' ? 1 : 0;
  return word.size() > digits_from &&
         word.find_first_not_of("0123456789", digits_from) == std::string::npos;
}

// time N / otim N: exactly two words and a number (or none, read as 0);
// only that side's time and stamp change.
void check_clock(const line_words& line, const before_line& before,
                 const std::vector<std::string>& out, bool own_side) {
  clock_state now = xboard_clock_now();
  const std::string number = line.words.size() == 2 ? line.words[1] : std::string();
  if (line.words.size() != 2 || !(number.empty() || is_signed_number(number))) {
    FUZZ_REQUIRE(out.size() == 1 && out[0] == (own_side ? "Error: Improper time format."
                                                        : "Error: Improper otim format."));
    FUZZ_REQUIRE(now == before.clock);
    return;
  }
  FUZZ_REQUIRE(out.empty());
  std::int64_t& time = own_side ? now.own_ms : now.opp_ms;
  std::int64_t& stamp = own_side ? now.own_stamp : now.opp_stamp;
  // Up to thirteen digits a time is taken as it is; beyond, it saturates.
  if (number.size() <= 13)
    FUZZ_REQUIRE(time == std::max(std::strtoll(number.c_str(), nullptr, 10), 0LL) * 10);
  FUZZ_REQUIRE(time >= 0 && stamped_during(stamp, before));
  // With this side put back, nothing else may differ.
  const clock_state old = before.clock;
  time = own_side ? old.own_ms : old.opp_ms;
  stamp = own_side ? old.own_stamp : old.opp_stamp;
  if (own_side) {
    FUZZ_REQUIRE(now.gui_keeps_time);
    now.gui_keeps_time = old.gui_keeps_time;
  }
  FUZZ_REQUIRE(now == old);
}

// Commands that neither print, post nor change anything but their flag.
const std::map<std::string, std::vector<std::int32_t>, std::less<>> posting_commands = {
    {"?", {go_now::kind_id}},
    {"analyze", {analyze::kind_id}},
    {"bk", {book_request::kind_id}},
    {"exclude", {root_choice::kind_id}},
    {"exit", {force::kind_id}},
    {"force", {force::kind_id}},
    {"go", {go::kind_id}},
    {"hint", {hint_request::kind_id}},
    {"include", {root_choice::kind_id}},
    {"new", {force::kind_id, setboard::kind_id, play_other::kind_id}},
    {"playother", {play_other::kind_id}},
    {"remove", {remove_pair::kind_id}},
    {"setboard", {setboard::kind_id}},
    {"undo", {undo::kind_id}},
    {"usermove", {user_move::kind_id}},
};
constexpr std::string_view silent_commands[] = {
    "accepted", "ics",      "name",  "protover", "random",   "result", "xboard",
    "post",     "nopost",   "hard",  "easy",     "computer", "rating", "draw",
    ".",        "rejected", "white", "black",    "edit"};
// Commands that set a limit or a setting: silent, or one error line.
constexpr std::string_view setting_commands[] = {"st",     "sd",     "depth",   "nps",
                                                 "memory", "option", "variant", "cores"};
// The words after which a bare move no longer starts a new game.
constexpr std::string_view game_words[] = {"analyze",  "black", "edit",      "exit",     "force",
                                           "go",       "new",   "playother", "protover", "remove",
                                           "setboard", "undo",  "usermove",  "white"};

bool is_silent(std::string_view word) {
  return std::find(std::begin(silent_commands), std::end(silent_commands), word) !=
         std::end(silent_commands);
}

bool is_setting(std::string_view word) {
  return std::find(std::begin(setting_commands), std::end(setting_commands), word) !=
         std::end(setting_commands);
}

// The flags after the line: only their own commands touch them.
flag_state expected_flags(const std::string& word, flag_state flags, bool new_game) {
  if (word == "post") flags.post = true;
  if (word == "nopost") flags.post = false;
  if (word == "hard") flags.ponder = true;
  if (word == "easy") flags.ponder = false;
  if (word == "new" || new_game) flags.book = true;
  if (word == "setboard") flags.book = false;
  return flags;
}

// A line of an open edit: '.' posts the board, the edit words are silent,
// anything else is refused; nothing else changes.
void check_edit_line(const line_words& line, const before_line& before) {
  const std::vector<std::string> out = fuzz::take_output();
  const std::string& word = line.words[0];
  const bool placement = word.size() == 3 &&
                         std::string_view("PNBRQKXpnbrqkx").find(word[0]) != std::string::npos &&
                         word[1] >= 'a' && word[1] <= 'h' && word[2] >= '1' && word[2] <= '8';
  FUZZ_REQUIRE(flag_state::read() == before.flags && xboard_clock_now() == before.clock);
  if (word == "." || word == "#" || word == "c" || placement)
    FUZZ_REQUIRE(out.empty());
  else
    FUZZ_REQUIRE(out.size() == 1 && out[0].starts_with("Error (not an edit command"));
  FUZZ_REQUIRE(posted == (word == "." ? std::vector<std::int32_t>{edit_board::kind_id}
                                      : std::vector<std::int32_t>{}));
  if (word == ".") session.editing = false;
}

// The messages a line posts before its own: a colour word held back.
std::vector<std::int32_t> settle_colour(const std::string& word) {
  if (!session.colour_held || word == "white" || word == "black" || word == "time" ||
      word == "otim")
    return {};
  session.colour_held = false;
  return {set_side::kind_id};
}

void check_line(const line_words& line, const before_line& before) {
  const std::vector<std::string> out = fuzz::take_output();
  const std::string& word = line.words[0];
  std::vector<std::int32_t> expected_posts = settle_colour(word);
  const bool bare_move = is_move_text(word);
  const bool new_game = bare_move && !session.game_begun;
  if (std::find(std::begin(game_words), std::end(game_words), word) != std::end(game_words) ||
      bare_move)
    session.game_begun = true;
  if (word == "white" || word == "black") session.colour_held = true;
  if (word == "edit") session.editing = true;
  FUZZ_REQUIRE(flag_state::read() == expected_flags(word, before.flags, new_game));
  if (word == "level") return check_level(line, before, out);
  if (word == "time" || word == "otim") return check_clock(line, before, out, word == "time");
  // Only a new game restarts the clock from its control.
  if (word == "new" || new_game)
    FUZZ_REQUIRE(restarted_from(xboard_clock_now(), before.clock, before));
  else
    FUZZ_REQUIRE(xboard_clock_now() == before.clock);

  if (bare_move) {
    FUZZ_REQUIRE(out.empty());
    if (new_game)
      expected_posts.insert(expected_posts.end(),
                            {force::kind_id, setboard::kind_id, play_other::kind_id});
    expected_posts.push_back(user_move::kind_id);
  } else if (auto entry = posting_commands.find(word); entry != posting_commands.end()) {
    FUZZ_REQUIRE(out.empty());
    expected_posts.insert(expected_posts.end(), entry->second.begin(), entry->second.end());
  } else if (word == "ping") {
    if (expected_ping == 0)
      FUZZ_REQUIRE(out.size() == 1 && out[0] == "Error: malformed ping command.");
    else
      expected_posts.push_back(ping::kind_id);
  } else if (is_silent(word)) {
    FUZZ_REQUIRE(out.empty());
  } else if (is_setting(word)) {
    FUZZ_REQUIRE(out.empty() || (out.size() == 1 && out[0].starts_with("Error")));
    // The settings the engine thread hears of: a button, the number of
    // root lines, which a running search starts again with, and the threads.
    if (word == "option" && line.argument_text == "Clear Hash")
      expected_posts.push_back(clear_hash::kind_id);
    if (word == "option" && out.empty() && line.argument_text.starts_with("MultiPV="))
      expected_posts.push_back(root_lines_changed::kind_id);
    const bool some_cores =
        !line.argument_text.empty() &&
        line.argument_text.find_first_not_of("0123456789") == std::string::npos &&
        line.argument_text.find_first_not_of('0') != std::string::npos;
    if (word == "cores" && some_cores) expected_posts.push_back(set_threads::kind_id);
  } else {
    FUZZ_REQUIRE(out.size() == 1 && out[0] == "Unrecognized command " + word);
  }
  FUZZ_REQUIRE(posted == expected_posts);
}

void run_line(std::string_view text) {
  const line_words line(text);
  // Ends the process by design, even in an edit.
  if (line.words[0] == "quit") return;
  posted.clear();
  const bool bare_move = !session.editing && is_move_text(line.words[0]);
  const bool new_game = line.words[0] == "new" || (bare_move && !session.game_begun);
  expected_setboard = new_game ? start_position_fen : line.argument_text;
  expected_move_text = bare_move ? line.words[0] : line.argument_text;
  expected_ping = leading(line.argument_text);
  expected_move = move(expected_move_text.c_str());
  expected_word = line.words[0];
  expected_argument = line.argument_text;
  const before_line before;
  dispatch_text(text);
  if (text.size() > max_line_length) {
    const std::vector<std::string> out = fuzz::take_output();
    FUZZ_REQUIRE(out.size() == 1 && out[0].starts_with("Error: command line longer than"));
    FUZZ_REQUIRE(posted.empty() && xboard_clock_now() == before.clock &&
                 flag_state::read() == before.flags);
    return;
  }
  if (session.editing)
    check_edit_line(line, before);
  else
    check_line(line, before);
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
