// The engine process: read the command line (`bench` runs the bench and
// ends), then, as an xboard engine,
// announce the features, read the keys and the book (from wherever they are
// found), start the timer, and read and run commands until `quit` or the
// end of input. The first command `uci`, or the option --uci, makes it a
// UCI engine instead, with the same engine behind it.
#include <csignal>
#include <iostream>
#include <string>

#include "base/front_end.h"
#include "base/line_reader.h"
#include "base/output.h"
#include "board/keys.h"
#include "book/book_loader.h"
#include "engine/timer.h"
#include "entry/start_options.h"
#include "game/bench_command.h"
#include "uci/uci_session.h"
#include "xboard/dispatcher.h"
#include "xboard/option_commands.h"
#include "xboard/winboard_interface.h"
#include "xboard/xboard_output.h"

namespace {

// The key file is needed; a faulty book is reported and the engine goes on
// without it. A file missing from disk is replaced by the built-in copy.
void load_data_files() {
  marlek::find_and_load_keys();
  marlek::find_and_load_book();
}

// An xboard GUI starts with `xboard`; a UCI GUI that started the engine
// plain starts with `uci` and gets a UCI engine from then on.
void run_first_command() {
  std::string line;
  const marlek::line_status status = marlek::read_line(std::cin, line);
  if (status == marlek::line_status::complete && marlek::is_uci_greeting(line))
    marlek::run_uci_session(true);
  marlek::dispatch_read_line(status, line);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (marlek::is_bench_command(argc, argv)) return marlek::run_bench_command(argc, argv);
  // A GUI may interrupt an engine that did not ask it not to; the engine
  // stops its thinking through commands, never through signals.
  std::signal(SIGINT, SIG_IGN);
  // Only the main thread reads input, but both threads write output: the
  // input must not flush the output behind output_line's back.
  std::cin.tie(nullptr);

  if (marlek::read_start_options(argc, argv) == marlek::start_mode::uci) {
    marlek::speak_uci();
    load_data_files();
    marlek::mt_timer timer;
    marlek::run_uci_session(false);
  }
  marlek::winboard_interface protocol;
  // The engine speaks xboard's words, until a first `uci` installs UCI's;
  // it reports nothing before the engine thread starts, which the first
  // command to it does, but a fault in the data files.
  static marlek::xboard_output words;
  marlek::install_front_end(&words);
  // The settings follow the opening lines, before anything can go wrong.
  marlek::announce_settings();
  load_data_files();
  marlek::output_line("feature done=1");
  marlek::mt_timer timer;
  run_first_command();
  for (;;) marlek::dispatch_line();
}
