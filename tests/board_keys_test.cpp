// The key file and the properties of the position key.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "board/pieces.h"
#include "board_helpers.h"

namespace marlek::test {
namespace {

std::string file_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Restores the real keys after a test that loaded others.
class KeyFileTest : public ::testing::Test {
 protected:
  void TearDown() override { load_keys(MARLEK_BUILD_DIR "/marlekkeys.bin"); }
};

TEST_F(KeyFileTest, ExactLengthLoadsAndOneByteShortFails) {
  const std::string bytes = file_bytes(MARLEK_BUILD_DIR "/marlekkeys.bin");
  ASSERT_EQ(bytes.size(), static_cast<std::size_t>(key_file_bytes));
  std::istringstream whole(bytes);
  EXPECT_EQ(read_keys(whole), key_status::ok);
  std::istringstream short_file(bytes.substr(0, bytes.size() - 1));
  EXPECT_EQ(read_keys(short_file), key_status::too_short);
}

TEST_F(KeyFileTest, KeysSitAtByteEightN) {
  const std::string bytes = file_bytes(MARLEK_BUILD_DIR "/marlekkeys.bin");
  auto word_at = [&](std::size_t at) {
    std::uint32_t w = 0;
    for (int b = 3; b >= 0; --b) w = w << 8 | static_cast<unsigned char>(bytes[at + b]);
    return w;
  };
  EXPECT_EQ(zobrist.bishop[0].low, word_at(0));       // white bishop on a1
  EXPECT_EQ(zobrist.bishop[8].low, word_at(64));      // black bishop on a1
  EXPECT_EQ(zobrist.castling[0].low, word_at(1024));  // K
  EXPECT_EQ(zobrist.castling[0].high, word_at(1028));
  EXPECT_EQ(zobrist.side_to_move.low, word_at(8 * (128 + 4 + 3 * 128)));
  EXPECT_EQ(zobrist.rook[127].low, word_at(8 * 884));
}

TEST_F(KeyFileTest, AllZeroKeysGiveEveryPositionKeyZero) {
  std::istringstream zeros(std::string(key_file_bytes, '\0'));
  ASSERT_EQ(read_keys(zeros), key_status::ok);
  set_up(start_position_fen);
  make_move(move(0x14, 0x34));
  EXPECT_TRUE(position::position_key.is_zero());
}

TEST_F(KeyFileTest, GeneratorRegeneratesTheShippedFile) {
  const std::string path = ::testing::TempDir() + "regenerated_keys.bin";
  std::string command = std::string(MARLEK_BUILD_DIR "/make_keys ") + path;
#ifdef MARLEK_EMULATOR
  command = MARLEK_EMULATOR " " + command;
#endif
#ifdef _WIN32
  // The command shell reads a leading '/' as a switch.
  std::replace(command.begin(), command.end(), '/', '\\');
#endif
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(file_bytes(path), file_bytes(MARLEK_BUILD_DIR "/marlekkeys.bin"));
}

hash_key pieces_key() {
  hash_key key;
  for (int c = 0; c < 2; ++c)
    for (const apiece* p : position::pieces[c]) key ^= static_cast<const piece*>(p)->keys[p->sq];
  return key;
}

TEST(BoardKeys, StartKeyIsThePieceKeysAndMovesKeepIt) {
  set_up(start_position_fen);
  const hash_key start = position::position_key;
  EXPECT_EQ(start, pieces_key());
  const hash_key pawn_e2 = zobrist.pawn[0x14], pawn_e4 = zobrist.pawn[0x34];
  const hash_key pawn_e7 = zobrist.pawn[0x64 + 8], pawn_e5 = zobrist.pawn[0x44 + 8];
  make_move(move(0x14, 0x34));
  make_move(move(0x64, 0x44));
  // The side-to-move key was applied twice, so it is not present.
  EXPECT_EQ(position::position_key, start ^ pawn_e2 ^ pawn_e4 ^ pawn_e7 ^ pawn_e5);
}

TEST(BoardKeys, OnlyARooksFirstMoveTakesItsRight) {
  set_up("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  const hash_key start = position::position_key;
  const hash_key* rook_keys = static_cast<const piece*>(position::board[a1])->keys;
  const move out(a1, 0x10), back(0x10, a1);
  make_move(out);
  make_move(move(e8, 0x75));
  make_move(back);
  make_move(move(0x75, e8));
  make_move(out);
  // Five moves: the side key is present; the two rook trips cancel except
  // the last; the black king's first move applied k and q.
  hash_key expected = start ^ rook_keys[a1] ^ rook_keys[0x10] ^ zobrist.side_to_move ^
                      zobrist.castling[castle_white_queen] ^ zobrist.castling[castle_black_king] ^
                      zobrist.castling[castle_black_queen];
  EXPECT_EQ(position::position_key, expected);
}

TEST(BoardKeys, CastlingAndACornerCaptureApplyTheirKeys) {
  set_up("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
  const hash_key start = position::position_key;
  ASSERT_EQ(start, pieces_key());
  make_move(move(e1, g1));
  // Castling short leaves Q applied and K not (K twice).
  EXPECT_EQ(position::position_key,
            pieces_key() ^ zobrist.side_to_move ^ zobrist.castling[castle_white_queen]);

  set_up("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
  make_move(move(h8, h1));  // black takes the unmoved rook on h1
  // The black rook's first move applies k; the capture of the h1 rook, K.
  EXPECT_EQ(position::position_key, pieces_key() ^ zobrist.side_to_move ^
                                        zobrist.castling[castle_black_king] ^
                                        zobrist.castling[castle_white_king]);
}

}  // namespace
}  // namespace marlek::test
