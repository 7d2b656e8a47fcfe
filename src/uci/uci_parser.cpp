#include "uci/uci_parser.h"

#include <algorithm>
#include <cctype>

#include "base/numbers.h"
#include "board/move.h"

namespace marlek {

namespace {

using word_list = std::vector<std::string_view>;

// Placement, side, castling and en passant are needed; the two counters
// may be left out.
constexpr std::size_t fewest_fen_fields = 4;
constexpr std::size_t most_fen_fields = 6;
// The deepest search a GUI can ask for, in plies, and the longest mate.
constexpr std::int64_t deepest_search = 100;

bool is_separator(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string joined(word_list::const_iterator first, word_list::const_iterator last) {
  std::string text;
  for (auto it = first; it != last; ++it) {
    if (!text.empty()) text += ' ';
    text += *it;
  }
  return text;
}

bool read_fen(word_list::const_iterator first, word_list::const_iterator last, std::string& fen,
              std::string& error) {
  const auto count = static_cast<std::size_t>(last - first);
  if (count < fewest_fen_fields || count > most_fen_fields) {
    error = "a FEN has 4 to 6 fields, this one has " + std::to_string(count);
    return false;
  }
  fen = joined(first, last);
  // NUL and other control bytes have no place in a FEN, and a NUL would cut
  // the text short on its way to the set-up.
  if (std::any_of(fen.begin(), fen.end(), [](char c) { return c < ' ' || c > '~'; })) {
    error = "the FEN holds a character that is not printable ASCII";
    return false;
  }
  return true;
}

// A move as the engine reads it, its promotion letter in lower case.
std::string move_word(std::string_view word) {
  std::string text(word);
  if (text.size() == 5)
    text[4] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[4])));
  return text;
}

bool is_go_keyword(std::string_view word) {
  static constexpr std::string_view keywords[] = {"wtime",     "btime",    "winc",   "binc",
                                                  "movestogo", "movetime", "depth",  "nodes",
                                                  "mate",      "infinite", "ponder", "searchmoves"};
  return std::find(std::begin(keywords), std::end(keywords), word) != std::end(keywords);
}

void note(std::string& notes, const std::string& text) {
  if (!notes.empty()) notes += "; ";
  notes += text;
}

// Stores the number that follows the key word `key` in the request.
bool take_number(search_request& out, std::string_view key, std::int64_t value) {
  const auto plies = [](std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, 1, deepest_search));
  };
  if (key == "wtime")
    out.white_ms = value;
  else if (key == "btime")
    out.black_ms = value;
  else if (key == "winc")
    out.white_increment_ms = value;
  else if (key == "binc")
    out.black_increment_ms = value;
  else if (key == "movestogo")
    out.moves_to_go = std::max<std::int64_t>(value, 0);
  else if (key == "movetime")
    out.move_time_ms = std::max<std::int64_t>(value, 1);
  else if (key == "depth")
    out.depth = plies(value);
  else if (key == "nodes")
    out.nodes = static_cast<std::uint64_t>(std::max<std::int64_t>(value, 1));
  else if (key == "mate")
    out.mate_in = plies(value);
  else
    return false;
  return true;
}

}  // namespace

std::vector<std::string_view> uci_words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  for (;;) {
    while (at < line.size() && is_separator(line[at])) ++at;
    if (at == line.size()) return words;
    std::size_t end = at;
    while (end < line.size() && !is_separator(line[end])) ++end;
    words.push_back(line.substr(at, end - at));
    at = end;
  }
}

bool parse_position(const word_list& words, uci_position& out, std::string& error) {
  out = {};
  auto next = words.begin() + 1;
  auto moves = std::find(next, words.end(), "moves");
  if (next != words.end() && *next == "startpos") {
    out.from_start = true;
    if (next + 1 != moves) {
      error = "expected 'moves' after startpos, not '" + std::string(next[1]) + "'";
      return false;
    }
  } else if (next != words.end() && *next == "fen") {
    if (!read_fen(next + 1, moves, out.fen, error)) return false;
  } else {
    error = "position needs 'startpos' or 'fen'";
    return false;
  }
  if (moves == words.end()) return true;
  for (auto it = moves + 1; it != words.end(); ++it) {
    if (!is_move_text(*it)) {
      error = "'" + std::string(*it) + "' is not a move in coordinate notation";
      return false;
    }
    out.moves.push_back(move_word(*it));
  }
  return true;
}

bool parse_go(const word_list& words, search_request& out, std::string& unknown) {
  out = {};
  unknown.clear();
  for (auto it = words.begin() + 1; it != words.end(); ++it) {
    if (*it == "infinite") {
      out.infinite = true;
    } else if (*it == "ponder") {
      out.ponder = true;
    } else if (*it == "searchmoves") {
      for (; it + 1 != words.end() && !is_go_keyword(it[1]); ++it) {
        if (is_move_text(it[1]))
          out.search_moves.push_back(move_word(it[1]));
        else
          note(unknown, "searchmoves: '" + std::string(it[1]) + "' is not a move");
      }
    } else if (is_go_keyword(*it)) {
      const bool has_word = it + 1 != words.end();
      const std::optional<std::int64_t> value = has_word ? whole_number(it[1]) : std::nullopt;
      if (value)
        take_number(out, *it, *value);
      else
        note(unknown, "'" + std::string(*it) + "' needs a whole number");
      // A bad value goes with its word, unless it is the next word itself.
      if (value || (has_word && !is_go_keyword(it[1]))) ++it;
    } else {
      note(unknown, "'" + std::string(*it) + "' is not supported");
    }
  }
  return unknown.empty();
}

bool parse_setoption(const word_list& words, uci_setoption& out, std::string& error) {
  out = {};
  if (words.size() < 3 || words[1] != "name") {
    error = "setoption needs 'name' and the option's name";
    return false;
  }
  auto value = std::find(words.begin() + 2, words.end(), "value");
  out.name = joined(words.begin() + 2, value);
  if (out.name.empty()) {
    error = "setoption needs the option's name";
    return false;
  }
  if (value != words.end()) out.value = joined(value + 1, words.end());
  return true;
}

}  // namespace marlek
