// Where the engine binary finds its key file and book: started from any
// folder, by a GUI, it must still find them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/built_in_data.h"
#include "base/data_files.h"
#include "board/keys.h"
#include "book/book_loader.h"
#include "engine_checks.h"
#include "temp_folder.h"

namespace marlek {
namespace {

using test::engine_process;
using test::temp_folder;

// Starts `binary` in `folder` and checks that it found both files (no error
// before "feature done=1") and plays a move.
void plays_from(const std::string& binary, const temp_folder& folder) {
  SCOPED_TRACE(binary);
  engine_process engine(binary, folder.path().string());
  auto before = engine.read_until("feature done=1");
  ASSERT_TRUE(before.has_value());
  EXPECT_EQ(*before, test::startup_lines);
  ASSERT_TRUE(engine.send("new"));
  ASSERT_TRUE(engine.send("go"));
  auto reply = engine.read_line();
  ASSERT_TRUE(reply.has_value());
  EXPECT_TRUE(reply->starts_with("move ")) << *reply;
  test::quit_cleanly(engine);
}

TEST(DataFiles, EngineStartedInAnEmptyFolderFindsItsData) {
  // Beside the executable, as in the build folder.
  const temp_folder empty;
  plays_from(MARLEK_BINARY, empty);

  // In an installed tree, wherever it was installed to. (A Windows engine
  // is not installed: it is unpacked and found beside itself, as above.)
#ifndef _WIN32
  const temp_folder prefix;
  const std::string install =
      std::string("'" MARLEK_CMAKE "' --install '" MARLEK_BUILD_DIR "' --prefix '") +
      prefix.path().string() + "' >/dev/null";
  ASSERT_EQ(std::system(install.c_str()), 0);
  plays_from(prefix / MARLEK_INSTALL_BIN_DIR "/marlek", empty);
#endif
}

TEST(DataFiles, FileInTheWorkingDirectoryWins) {
  const temp_folder folder;
  {
    // A good key file lies beside the executable: the short one here wins.
    std::ofstream(folder / key_file_name, std::ios::binary) << std::string(100, 'k');
    engine_process engine(MARLEK_BINARY, folder.path().string());
    auto before = engine.read_until("Error reading marlekkeys.bin (out of keys?)");
    ASSERT_TRUE(before.has_value());
    EXPECT_EQ(*before, test::startup_lines);
    auto end = engine.wait_for_exit();
    ASSERT_TRUE(end.has_value());
    EXPECT_TRUE(end->aborted());
  }
  {
    // The book here is faulty; the one beside the executable is sound.
    std::filesystem::copy_file(MARLEK_BUILD_DIR "/marlekkeys.bin", folder / key_file_name,
                               std::filesystem::copy_options::overwrite_existing);
    std::ofstream(folder / "MarlekBook.txt") << "1. e2e4\n1... X\n";
    engine_process engine(MARLEK_BINARY, folder.path().string());
    auto before = engine.read_until("feature done=1");
    ASSERT_TRUE(before.has_value());
    ASSERT_EQ(before->size(), test::startup_lines.size() + 1);
    EXPECT_EQ(before->back(), "Error parsing MarlekBook.txt at line 2.");
    test::quit_cleanly(engine);
  }
}

// The copies built into the program are the files that ship beside it.
TEST(DataFiles, BuiltInCopiesAreTheShippedFilesByteForByte) {
  EXPECT_EQ(built_in_files().size(), 2u);
  for (const std::string name : {key_file_name, book_file_name}) {
    std::ifstream file(MARLEK_SHIPPED_DATA "/" + name, std::ios::binary);
    ASSERT_TRUE(file) << name;
    const std::string shipped{std::istreambuf_iterator<char>(file), {}};
    const std::optional<std::string_view> built_in = built_in_data_file(name);
    ASSERT_TRUE(built_in.has_value()) << name;
    ASSERT_EQ(built_in->size(), shipped.size()) << name;
    EXPECT_TRUE(*built_in == shipped) << name;  // binary: not printed
  }
}

}  // namespace
}  // namespace marlek
