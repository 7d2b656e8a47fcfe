#pragma once
// The command loop's step: one line in, one command run.
#include <string>
#include <string_view>

#include "base/line_reader.h"

namespace marlek {

// Runs one command line (without its newline): splits off the command word
// and calls its handler, or answers "Unrecognized command " and the word. A
// line longer than max_line_length is refused with an error line.
void dispatch_text(std::string_view line);

// Runs a line that read_line gave with `status`: a complete one as a
// command, a long one refused; at the end of input the process ends.
void dispatch_read_line(line_status status, const std::string& line);

// Reads the next line from standard input and runs it. When the input has
// ended (the GUI is gone) the process ends as on `quit`.
void dispatch_line();

}  // namespace marlek
