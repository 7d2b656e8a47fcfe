#pragma once
// Standard output is the engine's only voice, and two threads use it: the
// main thread (feature lines, command errors) and the engine thread (moves,
// results, pongs, thinking lines). A GUI parses it line by line, so every
// line must leave the process whole: callers compose a complete line and
// hand it over here, where it is written and flushed under one lock.
#include <iosfwd>
#include <string_view>

namespace marlek {

// Writes `line` followed by a newline, then flushes.
void output_line(std::string_view line);

// Redirects all output lines (tests capture them); nullptr means stdout.
void set_output_stream(std::ostream* stream);

}  // namespace marlek
