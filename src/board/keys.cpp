#include "board/keys.h"

#include <cstdlib>
#include <fstream>
#include <string>

#include "base/data_files.h"
#include "base/output.h"

namespace marlek {

namespace {

bool read_one(std::istream& in, hash_key& key) {
  unsigned char bytes[8];
  if (!in.read(reinterpret_cast<char*>(bytes), 8)) return false;
  auto word = [&](int at) {
    return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
  };
  key.low = word(0);
  key.high = word(4);
  return true;
}

bool read_table(std::istream& in, hash_key* table, int count) {
  for (int i = 0; i < count; ++i)
    if (!read_one(in, table[i])) return false;
  return true;
}

}  // namespace

key_status read_keys(std::istream& in) {
  // The order of the file: bishops, castling (K, Q, k, q), kings, knights,
  // pawns, side to move, queens, rooks.
  bool ok = read_table(in, zobrist.bishop, 128) && read_table(in, zobrist.castling, 4) &&
            read_table(in, zobrist.king, 128) && read_table(in, zobrist.knight, 128) &&
            read_table(in, zobrist.pawn, 128) && read_table(in, &zobrist.side_to_move, 1) &&
            read_table(in, zobrist.queen, 240) && read_table(in, zobrist.rook, 128);
  return ok ? key_status::ok : key_status::too_short;
}

namespace {

void load_keys_or_abort(std::istream& in) {
  if (!in) {
    output_line(std::string("Error opening ") + key_file_name);
    std::abort();
  }
  if (read_keys(in) != key_status::ok) {
    output_line(std::string("Error reading ") + key_file_name + " (out of keys?)");
    std::abort();
  }
}

}  // namespace

void load_keys(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  load_keys_or_abort(in);
}

void find_and_load_keys() { load_keys_or_abort(*open_data_file(key_file_name, std::ios::binary)); }

}  // namespace marlek
