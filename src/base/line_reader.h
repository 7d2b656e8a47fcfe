#pragma once
// Reads the GUI's command lines. A line is read whole up to a length limit;
// a longer one is consumed to its end and refused, so that the next line
// starts clean. The line is not trimmed: a carriage return or a tab is an
// ordinary character.
#include <cstddef>
#include <iosfwd>
#include <string>

#include "base/line_limit.h"

namespace marlek {

enum class line_status { complete, too_long, end_of_input };

// Reads one line, without its newline, into `line`. A last line without a
// newline still counts; end_of_input means nothing at all was left. On
// too_long `line` holds the first `limit` characters.
line_status read_line(std::istream& in, std::string& line, std::size_t limit = max_line_length);

}  // namespace marlek
