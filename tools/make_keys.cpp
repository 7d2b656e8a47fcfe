// Writes the key file: 885 independent random 64-bit keys from a fixed
// seed, so that anyone can regenerate the identical file.
//   make_keys [OUTPUT]   (default: marlekkeys.bin)
#include <cstdint>
#include <cstdio>
#include <fstream>

#include "board/keys.h"

namespace {
// SplitMix64: a small generator whose outputs are well mixed and
// independent enough for Zobrist keys.
std::uint64_t next_key(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}
constexpr std::uint64_t seed = 0x4D61726C656B0001ull;
}  // namespace

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : marlek::key_file_name;
  std::ofstream out(path, std::ios::binary);
  if (!out) {
    std::printf("cannot write %s\n", path);
    return 1;
  }
  std::uint64_t state = seed;
  for (int n = 0; n < marlek::key_count; ++n) {
    std::uint64_t key = next_key(state);
    unsigned char bytes[8];
    for (int b = 0; b < 8; ++b) bytes[b] = static_cast<unsigned char>(key >> (8 * b));
    out.write(reinterpret_cast<const char*>(bytes), 8);
  }
  return out ? 0 : 1;
}
