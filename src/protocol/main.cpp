// The engine process: announce the features, read the keys and the book
// (from wherever they are found), start the timer, then read and run
// commands until `quit` or the end of input.
#include <csignal>
#include <iostream>

#include "base/data_files.h"
#include "base/output.h"
#include "board/keys.h"
#include "book/book_loader.h"
#include "engine/timer.h"
#include "protocol/dispatcher.h"
#include "protocol/option_commands.h"
#include "protocol/winboard_interface.h"
#include "protocol/xboard_output.h"

int main() {
  // A GUI may interrupt an engine that did not ask it not to; the engine
  // stops its thinking through commands, never through signals.
  std::signal(SIGINT, SIG_IGN);
  // Only the main thread reads input, but both threads write output: the
  // input must not flush the output behind output_line's back.
  std::cin.tie(nullptr);

  marlek::winboard_interface protocol;
  // The engine speaks xboard's words; it reports nothing before the engine
  // thread starts, which the first command to it does.
  static marlek::xboard_output words;
  marlek::install_front_end(&words);
  // The settings follow the opening lines, before anything can go wrong.
  marlek::announce_settings();
  marlek::load_keys(marlek::find_data_file(marlek::key_file_name));
  // A missing or faulty book is reported and the engine goes on without it.
  marlek::load_book(marlek::find_data_file(marlek::book_file_name), marlek::book_file_name);
  marlek::output_line("feature done=1");
  marlek::mt_timer timer;
  for (;;) marlek::dispatch_line();
}
