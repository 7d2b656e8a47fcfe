#include "book/book_loader.h"

#include <algorithm>
#include <fstream>
#include <string>

#include "base/data_files.h"
#include "base/front_end.h"
#include "board/attacks.h"
#include "board/move_list.h"
#include "book/opening_book.h"
#include "game/root.h"
#include "search/root_moves.h"

namespace marlek {

namespace {

// The longest well-formed token: a three-digit move number and three dots.
constexpr std::size_t max_token_length = 6;
// A digit that is a token's fourth character ends it: a move such as e2e4
// needs no separator after it.
constexpr std::size_t digit_ending_token = 4;
constexpr std::size_t move_token_length = 4;

bool is_digit(int c) { return c >= '0' && c <= '9'; }
bool is_file_letter(int c) { return c >= 'a' && c <= 'h'; }

enum class token_status { token, end_of_file, bad_character };

// Splits the file into tokens and counts its lines.
class book_reader {
 public:
  explicit book_reader(std::istream& in) : in_(in) {}
  token_status next(std::string& token);
  int line() const { return line_; }

 private:
  bool skip_comment();
  std::istream& in_;
  int line_ = 1;
};

// Skips to the end of the line; false when the file ends first.
bool book_reader::skip_comment() {
  for (int c = in_.get(); c != std::char_traits<char>::eof(); c = in_.get()) {
    if (c == '\n') {
      ++line_;
      return true;
    }
  }
  return false;
}

token_status book_reader::next(std::string& token) {
  token.clear();
  for (int c = in_.get(); c != std::char_traits<char>::eof(); c = in_.get()) {
    if (c == '#') {
      if (!skip_comment()) break;
      continue;
    }
    if (c == ' ' || c == '\t') continue;
    if (c == '\n') {
      ++line_;
      continue;
    }
    if (c == '\r' && in_.peek() == '\n') continue;  // CR LF line end
    if (token.size() == max_token_length) return token_status::bad_character;
    if (c == '.') {
      token += '.';
      if (in_.peek() != '.') return token_status::token;
    } else if (is_digit(c)) {
      token += static_cast<char>(c);
      if (token.size() == digit_ending_token) return token_status::token;
    } else if (is_file_letter(c)) {
      token += static_cast<char>(c);
    } else {
      return token_status::bad_character;
    }
  }
  return token_status::end_of_file;  // an unfinished token is dropped
}

// Reads "N." (White's move N follows) or "N..." (Black's) as the ply the
// line must be back at. False for anything else, and for N below 1.
bool read_move_number(const std::string& token, int& target_ply) {
  std::size_t at = 0;
  int number = 0;
  for (; at < token.size() && is_digit(token[at]); ++at) number = 10 * number + (token[at] - '0');
  const std::size_t first_dot = at;
  if (number < 1 || first_dot == token.size()) return false;
  for (; at < token.size(); ++at)
    if (token[at] != '.') return false;
  const bool black_follows = token.size() > first_dot + 2;  // a dot two places after the first
  target_ply = 2 * number - 2 + (black_follows ? 1 : 0);
  return true;
}

bool has_move_form(const std::string& token) {
  return token.size() == move_token_length && is_move_text(token);
}

// Whether `m` is a legal move of the position. A book move has no
// promotion letter, so a pawn move to the last rank never matches.
bool is_legal_here(move m) {
  move_list frame;
  generate_captures();
  generate_quiet();
  const auto first = global_moves.begin() + static_cast<std::ptrdiff_t>(frame.start());
  return std::find(first, global_moves.end(), m) != global_moves.end() && is_legal(m);
}

class book_loader {
 public:
  book_loader(std::istream& in, const std::string& file_name)
      : reader_(in), file_name_(file_name) {}
  void run();

 private:
  bool take_number(const std::string& token);
  bool take_move(const std::string& token);
  bool fail(const std::string& words);

  book_reader reader_;
  std::string file_name_;
};

void book_loader::run() {
  std::string token;
  for (;;) {
    const token_status status = reader_.next(token);
    if (status == token_status::end_of_file) return;
    if (status == token_status::bad_character) {
      fail("Error parsing " + file_name_ + " at line ");
      return;
    }
    const bool go_on = is_digit(token[0]) ? take_number(token) : take_move(token);
    if (!go_on) return;
  }
}

// Writes the message that ends the loading, with the current line.
bool book_loader::fail(const std::string& words) {
  reporter().complaint(words + std::to_string(reader_.line()) + ".");
  return false;
}

// A move number goes back along the line to its ply, never forward.
bool book_loader::take_number(const std::string& token) {
  int target = 0;
  if (!read_move_number(token, target)) return fail("Error parsing " + file_name_ + " at line ");
  if (target > position::ply)
    return fail("Error: Illogical move number in " + file_name_ + " at line ");
  while (position::ply != target && !book_line.empty()) {
    unmake_move(book_line.back());
    book_line.pop_back();
  }
  return true;
}

bool book_loader::take_move(const std::string& token) {
  const move m(token.c_str());
  if (!has_move_form(token) || !is_legal_here(m))
    return fail("Error parsing " + file_name_ + " at line ");
  make_move(m);
  book_line.push_back(m);
  const int slot = find_book_slot(hash_key{});
  if (slot == no_book_slot) {
    reporter().complaint("Error: Book either full, or there's a hashing problem.");
    return false;
  }
  opening_book::store(slot, position::position_key);
  return true;
}

void load_book_from(std::istream& file, const std::string& name) {
  root::SetBoard(start_position_fen);
  book_line.clear();
  if (!file) {
    reporter().complaint("Error: Unable to open " + name + ". No opening book loaded.");
    return;
  }
  book_loader(file, name).run();
  // The game starts where the book does, set up afresh as `new` sets it:
  // taking the replayed moves back would leave the piece lists in another
  // order, and so another search of the same position.
  book_line.clear();
  root::SetBoard(start_position_fen);
}

}  // namespace

void load_book(const std::filesystem::path& path, const std::string& name) {
  std::ifstream file(path);
  load_book_from(file, name);
}

void find_and_load_book() { load_book_from(*open_data_file(book_file_name), book_file_name); }

}  // namespace marlek
