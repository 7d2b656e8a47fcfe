#pragma once
// Runs the real engine binary as a child process, talking to it over pipes
// the way a GUI does: lines to its standard input, lines back from its
// standard output, with its standard error captured apart. Every wait has a
// time limit, and the destructor kills a child that is still running, so
// that no engine outlives its test. On Windows the engine's runtime writes
// each newline as CR LF; read_line hands the line back without the CR, as
// a GUI reads it.
//
//   test::engine_process engine;
//   ASSERT_TRUE(engine.wait_ready());          // up to "feature done=1"
//   engine.send("ping 5");
//   EXPECT_EQ(engine.read_line(), "pong 5");
//   engine.send("quit");
//   auto end = engine.wait_for_exit();
//   EXPECT_TRUE(end && end->exited && end->code == 0);
//   EXPECT_EQ(engine.error_output(), "");
#ifndef _WIN32
#include <sys/types.h>
#endif

#include <chrono>
#include <csignal>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace marlek::test {

// Generous: sanitizer builds start and run much slower.
inline constexpr std::chrono::milliseconds default_wait{10000};

struct process_end {
  bool exited = false;  // ended through exit(): `code` is its status
  int code = -1;
  int signal = 0;  // otherwise the signal that ended it

  // Ended by abort(). Windows has no signals between processes: its
  // runtime's abort() ends the process with status 3.
  bool aborted() const {
#ifdef _WIN32
    return exited && code == 3;
#else
    return !exited && signal == SIGABRT;
#endif
  }
};

class engine_process {
 public:
  // Starts `binary` with `directory` as its working directory and
  // `arguments` on its command line.
  explicit engine_process(const std::string& binary = MARLEK_BINARY,
                          const std::string& directory = MARLEK_BUILD_DIR,
                          const std::vector<std::string>& arguments = {});
  ~engine_process();
  engine_process(const engine_process&) = delete;
  engine_process& operator=(const engine_process&) = delete;

  // Writes `line` and a newline. False when the engine no longer reads.
  bool send(std::string_view line);
  // Closes the engine's standard input, as a GUI that goes away does.
  void close_input();

  // The next line of output without its newline; nullopt when none comes
  // within `wait` or the output has ended.
  std::optional<std::string> read_line(std::chrono::milliseconds wait = default_wait);
  // Reads lines until one equals `line` and returns those before it;
  // nullopt when it does not come within `wait`.
  std::optional<std::vector<std::string>> read_until(std::string_view line,
                                                     std::chrono::milliseconds wait = default_wait);
  // Reads past the start-up lines, up to "feature done=1".
  bool wait_ready(std::chrono::milliseconds wait = default_wait);
  // Every line that arrives within `wait` (to check that nothing does).
  std::vector<std::string> read_lines_for(std::chrono::milliseconds wait);

  // Waits for the engine to end; nullopt when it still runs after `wait`.
  std::optional<process_end> wait_for_exit(std::chrono::milliseconds wait = default_wait);
  // Everything the engine has written to standard error so far.
  const std::string& error_output();

  // Processor time the engine has used so far, all its threads together.
  std::chrono::milliseconds cpu_time() const;
  // Waits until the engine has used `total` processor time: the evidence
  // that it is thinking. False when that does not happen within `wait`.
  bool wait_for_cpu(std::chrono::milliseconds total,
                    std::chrono::milliseconds wait = default_wait) const;

#ifndef _WIN32
  pid_t pid() const { return child; }
#endif

 private:
  using time_point = std::chrono::steady_clock::time_point;
  // Moves what the engine has written into the buffers, waiting for it at
  // most until `until`. True when something was read or a pipe ended; false
  // on time-out or when both pipes are closed.
  bool pump(time_point until);
  std::optional<std::string> take_line();
  bool output_ended() const;

#ifdef _WIN32
  struct windows_child;  // the process and pipe handles, the pipe readers
  std::unique_ptr<windows_child> child;
#else
  pid_t child = -1;
  int input_fd = -1;
  int output_fd = -1;
  int error_fd = -1;
#endif
  std::string output_buffer;
  std::string error_buffer;
  std::optional<process_end> end;
};

}  // namespace marlek::test
