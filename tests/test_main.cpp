// Test entry: the keys are read once, from the copy of the key file that the
// build puts in the build directory (the tests' working directory), and the
// engine reports in xboard's words.
#include <gtest/gtest.h>

#include "board/keys.h"
#include "xboard/xboard_output.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The engine's reports in the words the tests expect, as the engine has them.
  static marlek::xboard_output words;
  marlek::install_front_end(&words);
  marlek::load_keys(MARLEK_BUILD_DIR "/marlekkeys.bin");
  return RUN_ALL_TESTS();
}
