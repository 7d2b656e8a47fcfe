#include "xboard/variant_command.h"

#include <string>
#include <string_view>

#include "base/output.h"
#include "xboard/command_line.h"

namespace marlek {

namespace {
bool fischerandom = false;
}  // namespace

void variant_command() {
  const std::string_view name(line_rest);
  if (name == "normal" || name == "fischerandom")
    fischerandom = name == "fischerandom";
  else
    output_line("Error (unknown variant): " + std::string(name));
}

bool playing_fischerandom() { return fischerandom; }

}  // namespace marlek
