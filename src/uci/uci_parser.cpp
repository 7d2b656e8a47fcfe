#include "uci/uci_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "game/root.h"

namespace marlek {

namespace {

using word_list = std::vector<std::string_view>;

// Placement, side, castling and en passant are needed; the two counters
// may be left out.
constexpr std::size_t fewest_fen_fields = 4;
constexpr std::size_t most_fen_fields = 6;

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

// e2e4, e7e8q: squares on the board and an optional promotion letter.
bool read_move(std::string_view word, std::string& out) {
  auto on_board = [](char file, char rank) {
    return file >= 'a' && file <= 'h' && rank >= '1' && rank <= '8';
  };
  if (word.size() < 4 || word.size() > 5 || !on_board(word[0], word[1]) ||
      !on_board(word[2], word[3]))
    return false;
  out = std::string(word);
  if (word.size() == 5) {
    out[4] = static_cast<char>(std::tolower(static_cast<unsigned char>(word[4])));
    if (std::string_view("qrbn").find(out[4]) == std::string_view::npos) return false;
  }
  return true;
}

// Far beyond any clock or node count, and far enough from the ends of the
// type that sums and differences of such numbers cannot overflow.
constexpr std::int64_t largest_go_number = std::int64_t{1} << 50;

bool read_number(std::string_view word, std::int64_t& value) {
  const char* end = word.data() + word.size();
  auto [stop, fault] = std::from_chars(word.data(), end, value);
  value = std::clamp(value, -largest_go_number, largest_go_number);
  return fault == std::errc() && stop == end;
}

std::optional<std::int64_t>* go_number(uci_go& go, std::string_view key) {
  if (key == "wtime") return &go.wtime;
  if (key == "btime") return &go.btime;
  if (key == "winc") return &go.winc;
  if (key == "binc") return &go.binc;
  if (key == "movestogo") return &go.movestogo;
  if (key == "movetime") return &go.movetime;
  if (key == "depth") return &go.depth;
  if (key == "nodes") return &go.nodes;
  return nullptr;
}

bool is_go_word(uci_go& go, std::string_view word) {
  return word == "infinite" || word == "ponder" || go_number(go, word) != nullptr;
}

void note(std::string& notes, const std::string& text) {
  if (!notes.empty()) notes += "; ";
  notes += text;
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
    out.fen = start_position_fen;
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
    std::string text;
    if (!read_move(*it, text)) {
      error = "'" + std::string(*it) + "' is not a move in coordinate notation";
      return false;
    }
    out.moves.push_back(std::move(text));
  }
  return true;
}

bool parse_go(const word_list& words, uci_go& out, std::string& unknown) {
  out = {};
  unknown.clear();
  for (auto it = words.begin() + 1; it != words.end(); ++it) {
    if (*it == "infinite") {
      out.infinite = true;
    } else if (*it == "ponder") {
      out.ponder = true;
    } else if (auto* number = go_number(out, *it)) {
      std::int64_t value = 0;
      const bool has_value = it + 1 != words.end() && read_number(it[1], value);
      if (!has_value) note(unknown, "'" + std::string(*it) + "' needs a whole number");
      if (has_value) *number = value;
      // A bad value goes with its word, unless it is the next word itself.
      if (has_value || (it + 1 != words.end() && !is_go_word(out, it[1]))) ++it;
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
