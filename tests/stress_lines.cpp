#include "stress_lines.h"

#include <algorithm>

#include "base/line_limit.h"

namespace marlek::test {

namespace {

// The engine thinks at most about its own remaining time, so a clock of at
// most this many seconds keeps every search short.
constexpr int short_clock_centis = 500;
constexpr int longest_garbage = 200;
constexpr int longest_ping = 999999;  // the test's own pings count above this

// Moves of ordinary openings for both sides, castling, and the captures,
// en-passant captures and promotions of the positions below: in most
// positions a few of them are legal.
const std::vector<std::string> plausible_moves = {
    "e2e4", "e7e5",  "g1f3",  "b8c6",  "f1c4",  "g8f6", "d2d4", "d7d5", "c2c4",
    "e7e6", "b1c3",  "f8e7",  "c1g5",  "c8f5",  "e1g1", "e8g8", "e1c1", "e8c8",
    "f3e5", "d1h5",  "e5d6",  "e5f6",  "e4d3",  "d5c4", "e4d5", "g2g3", "b7b6",
    "h2h4", "a7a8q", "a7a8n", "b2b1r", "h7h8b", "e1e2", "e8d8", "g1h1", "f6e4",
};

// Everything that changes the engine's mode, the shared flags or its
// limits and settings, and the questions it answers; the commands that
// make it think come twice, so that it often does.
const std::vector<std::string> mode_words = [] {
  std::vector<std::string> words = {
      "go",      "go",   "force",     "?",   "?",   "undo", "undo",   "remove", "analyze",
      "analyze", "exit", "playother", "new", "new", "post", "nopost", "hard",   "easy",
  };
  for (const char* setting : {"st 0.3", "sd 4", "nps 20000", "hint", "bk", ".", "memory 2",
                              "option Clear Hash", "option OwnBook=0", "option OwnBook=1"})
    words.emplace_back(setting);
  return words;
}();

// Positions the engine accepts: the start, en-passant squares for either
// side, castling rights, a mate in one, a stalemate, a promotion race, a
// fifty-move count close to the claim, and fields left out at the end.
const std::vector<std::string> good_fens = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
    "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3",
    "rnbqkbnr/pppp1ppp/8/8/3Pp3/5N2/PPP1PPPP/RNBQKB1R b KQkq d3 0 3",
    "r3k2r/pppq1ppp/2npbn2/2b1p3/2B1P3/2NPBN2/PPPQ1PPP/R3K2R w KQkq - 4 8",
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R1BQ1RK1 w - - 0 9",
    "rnbqkbnr/ppppp2p/5p2/6p1/4P3/3P4/PPP2PPP/RNBQKBNR w KQkq - 0 3",
    "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1",
    "8/P6k/8/8/8/8/1p5K/8 w - - 0 50",
    "8/8/4k3/8/8/3K4/R7/8 w - - 98 120",
    "4k3/8/8/8/8/8/8/4K2R w K -",
    "4k3/8/8/8/8/8/8/4K3 b - - 0",
    // Odd but accepted: the engine's own en-passant form (the pawn's
    // square), an en-passant square with no pawn to take (dropped), clocks
    // beyond any game or negative (clamped), words after the fields.
    "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d5 0 3",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e4 0 1",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 99999999999999999999 1",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - -5 1",
    "4k3/8/8/8/8/8/8/4K3 w - - 0 1 extra words here",
};

// Texts the engine must refuse: no king, too many kings, a bad side, bad
// castling letters, en-passant squares off the board or on a wrong rank, a
// pawn on an end rank, the side not to move in check, a board running off
// its edge, fields missing or empty.
const std::vector<std::string> bad_fens = {
    "",
    "hello",
    "8/8/8/8/8/8/8/8 w - - 0 1",
    "kk6/8/8/8/8/8/8/4K3 w - - 0 1",
    "4k3/8/8/8/8/8/8/3KK3 w - - 0 1",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkz - 0 1",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e9 0 1",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq i6 0 1",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e7 0 1",
    "P3k3/8/8/8/8/8/8/4K3 w - - 0 1",
    "4k3/8/8/8/8/8/8/4Q1K1 w - - 0 1",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR/8 w KQkq - 0 1",
    "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w",
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR  w KQkq - 0 1",
};

// Clock lines that leave the engine's own time at a few seconds.
const std::vector<std::string> short_levels = {"0 0:05 0", "40 0:03 0", "0 0:02 2",
                                               "1 0:04 1", "0 0 0",     "60 0:01 3"};

// Clock lines with long, negative, overflowing or malformed values.
const std::vector<std::string> wild_clocks = {
    "level 40 5 0",
    "level 0 999999 0",
    "level -1 -1 -1",
    "level 40 5",
    "level 40 5 0 0",
    "level  40 5 0",
    "level a b c",
    "level 0 2:30 12",
    "level 40 0:xx 0",
    "level 2147483647 99999999999 99999999999",
    "time 99999999",
    "time 99999999999999999999",
    "time -500",
    "time",
    "time ",
    "time 5 6",
    "time abc",
    "otim",
    "otim 1 2",
    "otim -99999999",
    "otim 99999999999",
};

const std::vector<std::string> ignored_lines = {
    "xboard",   "protover 2", "accepted usermove",  "accepted ping", "result 1-0 {White mates}",
    "result *", "random",     "name Some Opponent", "ics -",
};

// Command words that take arguments: raw bytes after them reach the handlers.
const std::vector<std::string> argument_words = {"setboard ", "usermove ", "ping ", "level ",
                                                 "time ",     "otim ",     ""};

}  // namespace

std::string command_word(const std::string& line) {
  return line.substr(0, std::min(line.find(' '), line.find('\0')));
}

stress_lines::stress_lines(std::uint64_t seed) : random(seed) {}

int stress_lines::number(int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

bool stress_lines::one_in(int n) { return number(1, n) == 1; }

std::string stress_lines::pick(const std::vector<std::string>& choices) {
  return choices[static_cast<std::size_t>(number(0, static_cast<int>(choices.size()) - 1))];
}

std::string stress_lines::next() {
  for (;;) {
    std::string line = any_line();
    const std::string word = command_word(line);
    if (word != "quit" && word != "rejected") return line;
  }
}

std::string stress_lines::next_in_game() { return game_line(); }

std::vector<std::string> stress_lines::settle_clock() {
  unsettled = false;
  return {"time " + std::to_string(number(100, short_clock_centis)),
          "otim " + std::to_string(number(0, 10 * short_clock_centis))};
}

std::string stress_lines::any_line() {
  // Weights out of 100.
  const int roll = number(1, 100);
  if (roll <= 22) return "usermove " + plausible_move();
  if (roll <= 27) return "usermove " + random_move_text();
  if (roll <= 46) return mode_command();
  if (roll <= 52) return good_setboard();
  if (roll <= 58) return "setboard " + bad_fen();
  if (roll <= 63) return short_clock();
  if (roll <= 66) return wild_clock();
  if (roll <= 71) return ping_line();
  if (roll <= 74) return pick(ignored_lines);
  if (roll <= 76) return plausible_move();  // a move without its command word
  if (roll <= 78) return overlong_line();
  if (roll <= 80) return "";
  if (roll <= 86) return odd_whitespace();
  const std::string word = pick(argument_words);
  // Raw bytes after a clock word may read as a long time.
  if (word == "level " || word == "time ") unsettled = true;
  return word + garbage(number(1, longest_garbage));
}

std::string stress_lines::game_line() {
  const int roll = number(1, 100);
  if (roll <= 45) return "usermove " + plausible_move();
  if (roll <= 55) return "go";
  if (roll <= 63) return "?";
  if (roll <= 68) return "undo";
  if (roll <= 73) return ping_line();
  if (roll <= 80) return short_clock();
  if (roll <= 84) return "playother";
  if (roll <= 87) return "force";
  if (roll <= 90) return good_setboard();
  if (roll <= 92) return "new";
  return pick({"post", "nopost", "hard", "easy"});
}

std::string stress_lines::plausible_move() { return pick(plausible_moves); }

// Coordinates anywhere on the board with any promotion letter, or text
// that is no move at all.
std::string stress_lines::random_move_text() {
  static const std::string promotions = "qrbnkQx1";
  std::string text;
  switch (number(0, 3)) {
    case 0:
      text += static_cast<char>('a' + number(0, 7));
      text += static_cast<char>('1' + number(0, 7));
      text += static_cast<char>('a' + number(0, 7));
      text += static_cast<char>('1' + number(0, 7));
      if (one_in(3)) text += promotions[static_cast<std::size_t>(number(0, 7))];
      return text;
    case 1: return "e2";
    case 2: return "";
    default:
      for (int i = number(1, 8); i > 0; --i) text += static_cast<char>(number('0', 'z'));
      return text;
  }
}

std::string stress_lines::mode_command() {
  std::string word = pick(mode_words);
  if (one_in(8)) word += " and some words";                      // ignored by these commands
  if (one_in(10)) word[0] = static_cast<char>(word[0] & ~0x20);  // Go, Force: unknown
  return word;
}

std::string stress_lines::good_setboard() { return "setboard " + pick(good_fens); }

std::string stress_lines::bad_fen() {
  const std::string fen = pick(good_fens);
  switch (number(0, 3)) {
    case 0: return pick(bad_fens);
    case 1:
      return fen.substr(0, static_cast<std::size_t>(number(0, static_cast<int>(fen.size()) - 1)));
    case 2: {
      // A few characters changed: sometimes still a position, often not.
      std::string changed = fen;
      for (int i = number(1, 3); i > 0; --i)
        changed[static_cast<std::size_t>(number(0, static_cast<int>(changed.size()) - 1))] =
            static_cast<char>(number(' ', '~'));
      return changed;
    }
    default: {
      // Far longer than any position, still one command line.
      std::string longer = fen + " ";
      while (longer.size() < static_cast<std::size_t>(number(100, 900))) longer += fen + "/";
      return longer;
    }
  }
}

std::string stress_lines::short_clock() {
  switch (number(0, 2)) {
    case 0: return "level " + pick(short_levels);
    case 1: return "time " + std::to_string(number(0, short_clock_centis));
    default: return "otim " + std::to_string(number(0, 100 * short_clock_centis));
  }
}

std::string stress_lines::wild_clock() {
  unsettled = true;
  return pick(wild_clocks);
}

std::string stress_lines::ping_line() {
  switch (number(0, 5)) {
    case 0: return "ping 0";
    case 1: return "ping";
    case 2: return "ping x";
    case 3: return "ping " + std::to_string(-number(1, longest_ping));
    default: return "ping " + std::to_string(number(1, longest_ping));
  }
}

// A tab or carriage return inside or after a command: part of a word.
std::string stress_lines::odd_whitespace() {
  std::string line = one_in(2) ? mode_command() : "usermove " + plausible_move();
  const char odd = one_in(2) ? '\t' : '\r';
  if (one_in(2))
    line.push_back(odd);
  else
    line.insert(static_cast<std::size_t>(number(0, static_cast<int>(line.size()))), 1, odd);
  return line;
}

// Longer than the engine reads (refused whole), or exactly the longest it
// reads.
std::string stress_lines::overlong_line() {
  const std::size_t length =
      one_in(3) ? max_line_length : max_line_length + static_cast<std::size_t>(number(1, 3000));
  std::string line = one_in(2) ? "setboard " : "";
  while (line.size() < length) line += pick(good_fens) + " ";
  line.resize(length);
  return line;
}

// Any bytes but the newline, NULs included.
std::string stress_lines::garbage(int length) {
  std::string bytes;
  for (int i = 0; i < length; ++i) {
    char byte = static_cast<char>(number(0, 255));
    bytes.push_back(byte == '\n' ? '\0' : byte);
  }
  return bytes;
}

}  // namespace marlek::test
