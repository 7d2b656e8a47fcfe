#include "base/output.h"

#include <iostream>
#include <mutex>
#include <string>

namespace marlek {

namespace {
std::mutex output_lock;
std::ostream* output_stream = nullptr;
}  // namespace

void output_line(std::string_view line) {
  std::string whole;
  whole.reserve(line.size() + 1);
  whole.append(line);
  whole.push_back('\n');
  std::lock_guard<std::mutex> hold(output_lock);
  std::ostream& out = output_stream ? *output_stream : std::cout;
  out.write(whole.data(), static_cast<std::streamsize>(whole.size()));
  out.flush();
}

void set_output_stream(std::ostream* stream) {
  std::lock_guard<std::mutex> hold(output_lock);
  output_stream = stream;
}

}  // namespace marlek
