#pragma once
// Checks shared by the tests that drive the engine binary.
#include <gtest/gtest.h>

#include "engine_process.h"

namespace marlek::test {

// Ends the engine with `quit` and checks the normal end: status 0 and
// nothing on standard error.
inline void quit_cleanly(engine_process& engine) {
  ASSERT_TRUE(engine.send("quit"));
  auto end = engine.wait_for_exit();
  ASSERT_TRUE(end.has_value());
  EXPECT_TRUE(end->exited);
  EXPECT_EQ(end->code, 0);
  EXPECT_EQ(engine.error_output(), "");
}

}  // namespace marlek::test
