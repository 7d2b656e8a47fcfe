// Test entry: the keys are read once, from the copy of the key file that the
// build puts in the build directory (the tests' working directory).
#include <gtest/gtest.h>

#include "board/keys.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  marlek::load_keys(MARLEK_BUILD_DIR "/marlekkeys.bin");
  return RUN_ALL_TESTS();
}
