// Move text from arbitrary bytes. The parser must stop at the text's NUL
// (the text sits in a block of exactly its size), read as a move exactly the
// texts of the form file, rank, file, rank and an optional promotion letter
// (in either case), and write such a move back as the text it came from,
// its letter in lower case. The form test that the protocols use must agree
// on every text of at most five characters.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "board/move.h"
#include "fuzz_support.h"

namespace {

using namespace marlek;

constexpr std::size_t square_pair_length = 4;

bool is_file(char c) { return c >= 'a' && c <= 'h'; }
bool is_rank(char c) { return c >= '1' && c <= '8'; }

// What the text should read as, judged from its characters alone.
bool has_move_form(const char* text) {
  if (std::strlen(text) < square_pair_length) return false;
  if (!is_file(text[0]) || !is_rank(text[1]) || !is_file(text[2]) || !is_rank(text[3]))
    return false;
  return text[4] == '\0' || std::strchr("qrbnQRBN", text[4]) != nullptr;
}

void check_readable(const char* text, move m) {
  FUZZ_REQUIRE(m.kind >= no_promotion && m.kind <= promote_queen);
  FUZZ_REQUIRE(on_board(m.from) && on_board(m.to));
  FUZZ_REQUIRE((m.kind == no_promotion) == (text[4] == '\0'));
  const std::size_t written_length = square_pair_length + (m.kind == no_promotion ? 0 : 1);
  const std::string written = to_text(m);
  std::string expected(text, written_length);
  if (written_length > square_pair_length) expected[4] = static_cast<char>(expected[4] | 0x20);
  FUZZ_REQUIRE(written == expected);
  std::ostringstream streamed;
  streamed << m;
  FUZZ_REQUIRE(streamed.str() == written);
  FUZZ_REQUIRE(move(written.c_str()) == m);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::initialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto text = fuzz::exact_text(data, size);
  const move m(text.get());
  FUZZ_REQUIRE(has_move_form(text.get()) == (m.kind != unreadable_kind));
  const std::string_view whole(text.get());
  FUZZ_REQUIRE(is_move_text(whole) == (has_move_form(text.get()) && whole.size() <= 5));
  if (m.kind != unreadable_kind) check_readable(text.get(), m);
  return 0;
}
