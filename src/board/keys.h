#pragma once
// Zobrist keys. A position is identified by the exclusive-or of one random
// 64-bit key per (piece type, colour, square) occupied, plus keys for the
// events that take castling rights and for the side to move.
//
// The random keys come from the file "marlekkeys.bin", read once at start-up
// in a fixed order (key n at byte 8n): the file's meaning depends on that
// order, so it is spelled out in one place, read_keys(), instead of being left
// to the order of static initialisation.
#include <bit>
#include <cstdint>
#include <filesystem>
#include <iosfwd>

namespace marlek {

// A 64-bit key held as two 32-bit words, low word first. The transposition
// table takes its slot from the low word.
struct hash_key {
  std::uint32_t low = 0;
  std::uint32_t high = 0;

  // Both words at once, as one 64-bit value: two 32-bit stores read back
  // as one 64-bit load, as the next change of the key does, make the
  // processor wait.
  hash_key& operator^=(const hash_key& other) {
    *this = std::bit_cast<hash_key>(std::bit_cast<std::uint64_t>(*this) ^
                                    std::bit_cast<std::uint64_t>(other));
    return *this;
  }
  friend hash_key operator^(hash_key a, const hash_key& b) { return a ^= b; }
  friend bool operator==(const hash_key& a, const hash_key& b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
  }
  bool is_zero() const { return low == 0 && high == 0; }
};
static_assert(sizeof(hash_key) == 8);

// Key tables. The 128-entry tables use the 0x88 layout for both colours:
// White's key for square sq at [sq], Black's at [sq + 8], the off-board half
// of the same rank row. The queen table holds two blocks of 120 instead.
inline constexpr int castle_white_king = 0;   // K
inline constexpr int castle_white_queen = 1;  // Q
inline constexpr int castle_black_king = 2;   // k
inline constexpr int castle_black_queen = 3;  // q

struct key_tables {
  hash_key bishop[128];
  hash_key castling[4];
  hash_key king[128];
  hash_key knight[128];
  hash_key pawn[128];
  hash_key side_to_move;
  hash_key queen[240];
  hash_key rook[128];
};
inline constexpr int key_count = 885;
inline constexpr int key_file_bytes = key_count * 8;

inline key_tables zobrist;

inline constexpr const char* key_file_name = "marlekkeys.bin";

enum class key_status { ok, cannot_open, too_short };

// Fills `zobrist` from the stream, in file order. On a short stream the keys read
// so far stay and too_short is returned.
key_status read_keys(std::istream& in);

// Reads the key file at `path` (where it was found). A missing or short file
// is fatal: the engine cannot recognise positions without it, so it prints
// "Error opening marlekkeys.bin" or "Error reading marlekkeys.bin (out of
// keys?)" and aborts. The messages name the file, never the folder it was
// looked for in.
void load_keys(const std::filesystem::path& path = key_file_name);

// Reads the key file from the first place the engine looks for its data
// (base/data_files.h), the built-in copy when no place on disk has one.
// A file found on disk but short or unreadable is as fatal as above.
void find_and_load_keys();

}  // namespace marlek
