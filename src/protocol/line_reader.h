#pragma once
// Reads the GUI's command lines. A line is read whole up to max_line_length
// characters; a longer one is consumed to its end and refused, so that the
// next line starts clean. The line is not trimmed: a carriage return or a
// tab is an ordinary character.
#include <iosfwd>
#include <string>

namespace marlek {

enum class line_status { complete, too_long, end_of_input };

// Reads one line, without its newline, into `line`. A last line without a
// newline still counts; end_of_input means nothing at all was left. On
// too_long `line` holds the first max_line_length characters.
line_status read_line(std::istream& in, std::string& line);

}  // namespace marlek
