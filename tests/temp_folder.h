#pragma once
// A fresh, empty folder for one test, removed with everything in it when
// the test ends. Its name is random: the same test may run at the same time
// in another build tree on the same machine.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "base/data_files.h"
#include "board/keys.h"

namespace marlek::test {

class temp_folder {
 public:
  temp_folder() {
    std::random_device random;
    const std::string name = "marlek-" + std::to_string(random()) + "-" + std::to_string(random());
    path_ = std::filesystem::path(::testing::TempDir()) / name;
    std::filesystem::create_directories(path_);
  }
  ~temp_folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  temp_folder(const temp_folder&) = delete;
  temp_folder& operator=(const temp_folder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Copies the engine binary alone into `folder`/bin and returns its path.
// Started there from `folder`, it finds no data file anywhere of its own:
// not in the working directory, not beside itself, not in the data folder
// it would have under that tree.
inline std::string lone_engine_copy(const temp_folder& folder) {
  std::filesystem::create_directories(folder.path() / "bin");
  const std::filesystem::path copy = folder.path() / "bin" / "marlek";
  std::filesystem::copy_file(MARLEK_BINARY, copy);
  return copy.string();
}

// Whether the data folder of this build's installation holds a key file:
// an engine then finds one from anywhere, and the missing key file cannot
// be tested on this machine.
inline bool key_file_installed() {
  return std::filesystem::exists(data_folders().front() / key_file_name);
}

}  // namespace marlek::test
