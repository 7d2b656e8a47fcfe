#pragma once
// Captures the engine's output lines for the life of the object.
#include <sstream>
#include <string>
#include <vector>

#include "protocol/output.h"

namespace marlek::test {

class output_capture {
 public:
  output_capture() { set_output_stream(&stream); }
  ~output_capture() { set_output_stream(nullptr); }
  output_capture(const output_capture&) = delete;
  output_capture& operator=(const output_capture&) = delete;

  std::string text() const { return stream.str(); }

  std::vector<std::string> lines() const {
    std::vector<std::string> result;
    std::istringstream in(stream.str());
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
  }

 private:
  std::ostringstream stream;
};

}  // namespace marlek::test
