#include "base/line_reader.h"

#include <istream>

namespace marlek {

line_status read_line(std::istream& in, std::string& line, std::size_t limit) {
  line.clear();
  bool read_any = false;
  bool too_long = false;
  for (int c = in.get(); c != std::char_traits<char>::eof() && c != '\n'; c = in.get()) {
    read_any = true;
    if (line.size() < limit)
      line.push_back(static_cast<char>(c));
    else
      too_long = true;
  }
  if (!read_any && in.eof()) return line_status::end_of_input;
  return too_long ? line_status::too_long : line_status::complete;
}

}  // namespace marlek
