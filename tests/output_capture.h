#pragma once
// Captures the engine's output lines for the life of the object. The engine
// thread may write while the test's thread reads, so the captured text sits
// behind a lock of its own.
#include <chrono>
#include <mutex>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

#include "base/output.h"

namespace marlek::test {

class output_capture {
 public:
  output_capture() { set_output_stream(&stream); }
  ~output_capture() { set_output_stream(nullptr); }
  output_capture(const output_capture&) = delete;
  output_capture& operator=(const output_capture&) = delete;

  std::string text() const { return buffer.text(); }

  std::vector<std::string> lines() const {
    std::vector<std::string> result;
    std::istringstream in(text());
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
  }

  // Waits until `line` has been written (by any thread); false when it has
  // not come within `wait`.
  bool wait_for_line(const std::string& line, std::chrono::milliseconds wait) const {
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
      for (const std::string& seen : lines())
        if (seen == line) return true;
      if (std::chrono::steady_clock::now() >= until) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

 private:
  // Without a put area every write reaches xsputn or overflow, under the lock.
  class locked_text : public std::streambuf {
   public:
    std::string text() const {
      std::lock_guard<std::mutex> hold(lock);
      return written;
    }

   protected:
    std::streamsize xsputn(const char* s, std::streamsize n) override {
      std::lock_guard<std::mutex> hold(lock);
      written.append(s, static_cast<std::size_t>(n));
      return n;
    }
    int_type overflow(int_type c) override {
      if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
      std::lock_guard<std::mutex> hold(lock);
      written.push_back(traits_type::to_char_type(c));
      return c;
    }

   private:
    mutable std::mutex lock;
    std::string written;
  };

  locked_text buffer;
  std::ostream stream{&buffer};
};

}  // namespace marlek::test
