// The Windows side of engine_process: CreateProcess with three anonymous
// pipes. Windows has no poll() on pipes, so one thread per output pipe reads
// whatever the engine writes and hands it over under a lock; pump() waits
// for it on a condition variable with the caller's time limit.
#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "engine_process.h"

namespace marlek::test {

namespace {

using std::chrono::steady_clock;

constexpr DWORD read_chunk = 4096;

struct pipe_pair {
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
};

// `parent_end` stays with the tests and must not be inherited by the child,
// or the child would hold its own pipe open.
pipe_pair make_pipe(HANDLE pipe_pair::*parent_end) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  pipe_pair ends;
  if (!CreatePipe(&ends.read_end, &ends.write_end, &inherit, 0))
    throw std::runtime_error("CreatePipe failed");
  SetHandleInformation(ends.*parent_end, HANDLE_FLAG_INHERIT, 0);
  return ends;
}

void close_handle(HANDLE& handle) {
  if (handle) CloseHandle(handle);
  handle = nullptr;
}

void join(std::thread& thread) {
  if (thread.joinable()) thread.join();
}

}  // namespace

// One output pipe of the engine and the thread that drains it.
struct pipe_reader {
  std::string pending;
  bool open = true;
  std::thread thread;
};

struct engine_process::windows_child {
  HANDLE process = nullptr;
  HANDLE input = nullptr;
  std::mutex lock;
  std::condition_variable arrived;
  pipe_reader output, error;

  void start_reader(pipe_reader& reader, HANDLE pipe) {
    reader.thread = std::thread([this, &reader, pipe] {
      char chunk[read_chunk];
      DWORD n = 0;
      while (ReadFile(pipe, chunk, read_chunk, &n, nullptr) && n > 0) {
        std::lock_guard<std::mutex> hold(lock);
        reader.pending.append(chunk, n);
        arrived.notify_all();
      }
      CloseHandle(pipe);
      std::lock_guard<std::mutex> hold(lock);
      reader.open = false;
      arrived.notify_all();
    });
  }
};

engine_process::engine_process(const std::string& binary, const std::string& directory,
                               const std::vector<std::string>& arguments)
    : child(std::make_unique<windows_child>()) {
  pipe_pair in = make_pipe(&pipe_pair::write_end);
  pipe_pair out = make_pipe(&pipe_pair::read_end);
  pipe_pair err = make_pipe(&pipe_pair::read_end);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in.read_end;
  startup.hStdOutput = out.write_end;
  startup.hStdError = err.write_end;
  PROCESS_INFORMATION started{};
  std::string command_line = "\"" + binary + "\"";
  for (const std::string& argument : arguments) command_line += " " + argument;
  const BOOL ok = CreateProcessA(binary.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                                 DETACHED_PROCESS, nullptr, directory.c_str(), &startup, &started);
  // The child's ends now belong to the child alone.
  close_handle(in.read_end);
  close_handle(out.write_end);
  close_handle(err.write_end);
  child->input = in.write_end;
  child->start_reader(child->output, out.read_end);
  child->start_reader(child->error, err.read_end);
  if (!ok) {
    close_input();
    join(child->output.thread);
    join(child->error.thread);
    throw std::runtime_error("CreateProcess failed for " + binary);
  }
  CloseHandle(started.hThread);
  child->process = started.hProcess;
}

engine_process::~engine_process() {
  close_input();
  if (!end) {
    TerminateProcess(child->process, 1);
    WaitForSingleObject(child->process, INFINITE);
  }
  // The pipes end with the process, and with them the readers.
  join(child->output.thread);
  join(child->error.thread);
  close_handle(child->process);
}

bool engine_process::send(std::string_view line) {
  std::string whole(line);
  whole.push_back('\n');
  std::size_t written = 0;
  while (child->input && written < whole.size()) {
    DWORD n = 0;
    if (!WriteFile(child->input, whole.data() + written, static_cast<DWORD>(whole.size() - written),
                   &n, nullptr))
      return false;
    written += n;
  }
  return written == whole.size();
}

void engine_process::close_input() { close_handle(child->input); }

bool engine_process::output_ended() const {
  std::lock_guard<std::mutex> hold(child->lock);
  return !child->output.open && child->output.pending.empty();
}

bool engine_process::pump(time_point until) {
  std::unique_lock<std::mutex> hold(child->lock);
  auto has_news = [&] {
    return !child->output.pending.empty() || !child->error.pending.empty() ||
           (!child->output.open && !child->error.open);
  };
  child->arrived.wait_until(hold, until, has_news);
  const bool moved = !child->output.pending.empty() || !child->error.pending.empty();
  output_buffer += child->output.pending;
  error_buffer += child->error.pending;
  child->output.pending.clear();
  child->error.pending.clear();
  return moved;
}

std::optional<process_end> engine_process::wait_for_exit(std::chrono::milliseconds wait) {
  if (!end) {
    const DWORD millis = static_cast<DWORD>(std::max<std::int64_t>(0, wait.count()));
    if (WaitForSingleObject(child->process, millis) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(child->process, &code);
    end = process_end{true, static_cast<int>(code), 0};
  }
  // The child is gone: collect the rest of what it wrote.
  join(child->output.thread);
  join(child->error.thread);
  pump(steady_clock::now());
  return end;
}

const std::string& engine_process::error_output() {
  pump(steady_clock::now());
  return error_buffer;
}

std::chrono::milliseconds engine_process::cpu_time() const {
  // Kernel and user time of the whole process, in units of 100 ns.
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(child->process, &created, &ended, &kernel, &user))
    return std::chrono::milliseconds(0);
  auto units = [](const FILETIME& t) {
    return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return std::chrono::milliseconds((units(kernel) + units(user)) / 10000);
}

}  // namespace marlek::test
#endif  // _WIN32
