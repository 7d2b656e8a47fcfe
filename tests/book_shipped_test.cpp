// The book that ships with the engine: it loads without a word, stays well
// inside the table, and holds the main lines one expects.
#include "book_test_support.h"

namespace marlek {
namespace {

using ShippedBook = BookTest;

TEST_F(ShippedBook, LoadsSilentlyWithinTheTable) {
  EXPECT_EQ(load_file(MARLEK_BUILD_DIR "/MarlekBook.txt"), "");
  const int positions = opening_book::stored_positions();
  RecordProperty("stored_positions", positions);
  EXPECT_GE(positions, 500);
  EXPECT_LE(positions, 750);
}

TEST_F(ShippedBook, HoldsTheMainLines) {
  load_file(MARLEK_BUILD_DIR "/MarlekBook.txt");
  EXPECT_TRUE(stored({"e2e4"}));
  EXPECT_TRUE(stored({"d2d4"}));
  EXPECT_TRUE(stored({"c2c4"}));
  EXPECT_TRUE(stored({"g1f3"}));
  EXPECT_TRUE(stored({"e2e4", "e7e5", "g1f3", "b8c6", "f1b5"}));          // Ruy Lopez
  EXPECT_TRUE(stored({"e2e4", "e7e5", "g1f3", "b8c6", "f1c4"}));          // Italian
  EXPECT_TRUE(stored({"e2e4", "c7c5", "g1f3", "d7d6", "d2d4", "c5d4"}));  // Open Sicilian
  EXPECT_TRUE(stored({"e2e4", "e7e6", "d2d4", "d7d5"}));                  // French
  EXPECT_TRUE(stored({"e2e4", "c7c6", "d2d4", "d7d5"}));                  // Caro-Kann
  EXPECT_TRUE(stored({"d2d4", "d7d5", "c2c4"}));                          // Queen's Gambit
  EXPECT_TRUE(stored({"d2d4", "g8f6", "c2c4", "e7e6", "b1c3", "f8b4"}));  // Nimzo-Indian
  EXPECT_TRUE(stored({"d2d4", "g8f6", "c2c4", "g7g6", "b1c3", "f8g7"}));  // King's Indian
  // Dubious moves stay out.
  EXPECT_FALSE(stored({"g2g4"}));
  EXPECT_FALSE(stored({"e2e4", "e7e5", "d1h5"}));
}

}  // namespace
}  // namespace marlek
