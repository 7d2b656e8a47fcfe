#include "xboard/winboard_interface.h"

#include <string_view>

#include "base/output.h"
#include "xboard/command_table.h"

namespace marlek {

namespace {

// "feature done=0" asks the GUI to wait for "feature done=1". A GUI may
// reject any of these features: the engine then goes on without it.
constexpr std::string_view opening_lines[] = {
    "",
    "feature done=0",
    "feature myname=\"Marlek 4.4.6\"",
    "feature usermove=1 ping=1 setboard=1 colors=0",
    "feature playother=1 analyze=1",
    "feature variants=\"normal\"",
};

// Features beyond the opening ones: a later line of a feature replaces an
// earlier one.
constexpr std::string_view further_lines[] = {
    "feature variants=\"normal,fischerandom\"",
    "feature exclude=1",
};

}  // namespace

winboard_interface::winboard_interface() {
  for (std::string_view line : opening_lines) output_line(line);
  for (std::string_view line : further_lines) output_line(line);
  command_table();
}

}  // namespace marlek
