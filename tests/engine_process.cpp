#include "engine_process.h"

#include <algorithm>
#include <thread>

namespace marlek::test {

using std::chrono::steady_clock;

std::optional<std::string> engine_process::take_line() {
  std::size_t newline = output_buffer.find('\n');
  if (newline == std::string::npos) return std::nullopt;
  std::string line = output_buffer.substr(0, newline);
  output_buffer.erase(0, newline + 1);
#ifdef _WIN32
  if (line.ends_with('\r')) line.pop_back();
#endif
  return line;
}

std::optional<std::string> engine_process::read_line(std::chrono::milliseconds wait) {
  time_point until = steady_clock::now() + wait;
  for (;;) {
    if (auto line = take_line()) return line;
    if (output_ended() || steady_clock::now() >= until) return std::nullopt;
    pump(until);
  }
}

std::optional<std::vector<std::string>> engine_process::read_until(std::string_view wanted,
                                                                   std::chrono::milliseconds wait) {
  time_point until = steady_clock::now() + wait;
  std::vector<std::string> before;
  for (;;) {
    auto line = read_line(
        std::chrono::duration_cast<std::chrono::milliseconds>(until - steady_clock::now()));
    if (!line) return std::nullopt;
    if (*line == wanted) return before;
    before.push_back(*line);
  }
}

bool engine_process::wait_ready(std::chrono::milliseconds wait) {
  return read_until("feature done=1", wait).has_value();
}

std::vector<std::string> engine_process::read_lines_for(std::chrono::milliseconds wait) {
  time_point until = steady_clock::now() + wait;
  std::vector<std::string> lines;
  while (auto line = read_line(
             std::chrono::duration_cast<std::chrono::milliseconds>(until - steady_clock::now())))
    lines.push_back(*line);
  return lines;
}

bool engine_process::wait_for_cpu(std::chrono::milliseconds total,
                                  std::chrono::milliseconds wait) const {
  const auto until = std::chrono::steady_clock::now() + wait;
  while (cpu_time() < total) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace marlek::test

// The POSIX side: fork and exec, pipes, poll and waitpid. The Windows side
// is in engine_process_windows.cpp.
#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace marlek::test {

namespace {

using std::chrono::steady_clock;

constexpr std::size_t read_chunk = 4096;
// How often wait_for_exit looks at the child while it drains the pipes.
constexpr std::chrono::milliseconds exit_poll{10};

struct pipe_pair {
  int read_end = -1;
  int write_end = -1;
};

pipe_pair make_pipe() {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
  return {ends[0], ends[1]};
}

void close_fd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

// In the child, between fork and exec: only async-signal-safe calls.
[[noreturn]] void become_engine(const std::string& directory, char* const argv[], pipe_pair in,
                                pipe_pair out, pipe_pair err) {
  if (dup2(in.read_end, STDIN_FILENO) < 0 || dup2(out.write_end, STDOUT_FILENO) < 0 ||
      dup2(err.write_end, STDERR_FILENO) < 0 || chdir(directory.c_str()) != 0)
    _exit(127);
  // An engine that aborts in a test must not leave a core file behind.
  rlimit no_core{0, 0};
  setrlimit(RLIMIT_CORE, &no_core);
  // The tests ignore SIGPIPE; the engine gets the default back.
  signal(SIGPIPE, SIG_DFL);
  execv(argv[0], argv);
  _exit(127);
}

int remaining_millis(steady_clock::time_point until) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

engine_process::engine_process(const std::string& binary, const std::string& directory,
                               const std::vector<std::string>& arguments) {
  // Writing to an engine that has ended must fail, not kill the tests.
  signal(SIGPIPE, SIG_IGN);
  // Built before the fork: the child may not allocate.
  std::vector<std::string> words{binary};
#ifdef MARLEK_EMULATOR
  // A cross-built engine runs under the same emulator as these tests: the
  // kernel here cannot start it by itself.
  words.insert(words.begin(), MARLEK_EMULATOR);
#endif
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  pipe_pair in = make_pipe(), out = make_pipe(), err = make_pipe();
  child = fork();
  if (child == 0) become_engine(directory, argv.data(), in, out, err);
  close(in.read_end);
  close(out.write_end);
  close(err.write_end);
  input_fd = in.write_end;
  output_fd = out.read_end;
  error_fd = err.read_end;
  if (child < 0) {
    close_fd(input_fd);
    close_fd(output_fd);
    close_fd(error_fd);
    throw std::runtime_error("fork failed");
  }
}

engine_process::~engine_process() {
  close_fd(input_fd);
  if (!end) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  close_fd(output_fd);
  close_fd(error_fd);
}

bool engine_process::send(std::string_view line) {
  std::string whole(line);
  whole.push_back('\n');
  std::size_t written = 0;
  while (input_fd >= 0 && written < whole.size()) {
    ssize_t n = write(input_fd, whole.data() + written, whole.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    written += static_cast<std::size_t>(n);
  }
  return written == whole.size();
}

void engine_process::close_input() { close_fd(input_fd); }

bool engine_process::pump(time_point until) {
  if (output_fd < 0 && error_fd < 0) return false;
  pollfd fds[2] = {{output_fd, POLLIN, 0}, {error_fd, POLLIN, 0}};
  int ready = poll(fds, 2, remaining_millis(until));
  if (ready < 0) return errno == EINTR;
  if (ready == 0) return false;
  char chunk[read_chunk];
  std::string* buffers[2] = {&output_buffer, &error_buffer};
  int* owners[2] = {&output_fd, &error_fd};
  for (int i = 0; i < 2; ++i) {
    if (fds[i].fd < 0 || fds[i].revents == 0) continue;
    ssize_t n = read(fds[i].fd, chunk, sizeof chunk);
    if (n > 0)
      buffers[i]->append(chunk, static_cast<std::size_t>(n));
    else if (n == 0 || errno != EINTR)
      close_fd(*owners[i]);
  }
  return true;
}

bool engine_process::output_ended() const { return output_fd < 0; }

std::chrono::milliseconds engine_process::cpu_time() const {
  // /proc/PID/stat: the name in parentheses, then the state (field 3);
  // user time and system time are fields 14 and 15, in clock ticks.
  std::ifstream stat("/proc/" + std::to_string(child) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 1));
  std::string field;
  long long ticks = 0;
  for (int number = 3; number <= 15 && fields >> field; ++number)
    if (number >= 14) ticks += std::stoll(field);
  return std::chrono::milliseconds(ticks * 1000 / sysconf(_SC_CLK_TCK));
}

std::optional<process_end> engine_process::wait_for_exit(std::chrono::milliseconds wait) {
  time_point until = steady_clock::now() + wait;
  while (!end) {
    int status = 0;
    pid_t done = waitpid(child, &status, WNOHANG);
    if (done == child) {
      end = process_end{WIFEXITED(status), WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                        WIFSIGNALED(status) ? WTERMSIG(status) : 0};
      break;
    }
    if (done < 0 && errno != EINTR) return std::nullopt;
    if (steady_clock::now() >= until) return std::nullopt;
    // Keep the pipes drained so the engine never blocks on a full one.
    if (output_fd < 0 && error_fd < 0)
      std::this_thread::sleep_for(exit_poll);
    else
      pump(std::min(until, steady_clock::now() + exit_poll));
  }
  // The child is gone: collect the rest of what it wrote.
  while (pump(until)) {
  }
  return end;
}

const std::string& engine_process::error_output() {
  while (pump(steady_clock::now())) {
  }
  return error_buffer;
}

}  // namespace marlek::test
#endif  // !_WIN32
