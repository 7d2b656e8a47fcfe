#include "entry/start_options.h"

#include <cstdlib>
#include <string>
#include <string_view>

#include "base/output.h"

namespace marlek {

namespace {

// Exit status for a command line the engine cannot run with.
constexpr int usage_status = 2;

constexpr std::string_view usage_lines[] = {
    "Usage: marlek [--uci | --help | bench [D]]",
    "A chess engine for GUIs that speak the xboard/WinBoard protocol (version 2) or UCI.",
    "  (no option)  start as an xboard engine; the first command `uci` switches to UCI",
    "  --uci        start as a UCI engine, without the xboard opening lines",
    "  --help       print this help and exit",
    "  bench [D]    search the bench positions D plies deep (default 4) and exit; the",
    "               last line reads \"NODES nodes SPEED nps\"",
};

[[noreturn]] void print_usage(int status) {
  for (std::string_view line : usage_lines) output_line(line);
  std::exit(status);
}

}  // namespace

start_mode read_start_options(int argc, char* argv[]) {
  start_mode mode = start_mode::xboard;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "--uci") {
      mode = start_mode::uci;
    } else if (option == "--help" || option == "-h") {
      print_usage(0);
    } else {
      output_line("Unknown option " + std::string(option));
      print_usage(usage_status);
    }
  }
  return mode;
}

}  // namespace marlek
