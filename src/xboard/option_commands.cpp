#include "xboard/option_commands.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "base/numbers.h"
#include "base/output.h"
#include "engine/engine_interface.h"
#include "xboard/command_line.h"

namespace marlek {

namespace {

// The definition a GUI is given: name, kind and, for a spin, its default
// and bounds.
std::string option_feature(const setting& s) {
  std::string text(s.name);
  switch (s.kind) {
    case setting_kind::check: return text + " -check " + std::to_string(s.initial);
    case setting_kind::button: return text + " -button";
    case setting_kind::spin: break;
  }
  return text + " -spin " + std::to_string(s.initial) + ' ' + std::to_string(s.low) + ' ' +
         std::to_string(s.high);
}

// A check takes 0 or 1, a spin a number, a button nothing.
bool change_from_text(const setting& s, std::string_view value) {
  if (s.kind == setting_kind::button) return value.empty() && change_setting(s, 0);
  const auto number = whole_number(value);
  return number && change_setting(s, *number);
}

}  // namespace

void announce_settings() {
  output_line("feature memory=1 nps=1");
  output_line("feature smp=1");
  for (const setting& s : engine_settings())
    if (s.offered & offered_in_xboard) output_line("feature option=\"" + option_feature(s) + '"');
}

// The GUI's memory is the table size in megabytes.
void memory_command() {
  const auto megabytes = count_word(line_rest);
  const setting* hash = find_setting("Hash");
  if (!megabytes) {
    output_line("Error: memory needs a size in megabytes.");
  } else if (!change_setting(*hash, *megabytes)) {
    output_line("Error: memory needs a size in megabytes, from " + std::to_string(hash->low) +
                " to " + std::to_string(hash->high) + ".");
  }
}

// The GUI's cores are the engine's search threads, from the next search on;
// more than the engine can use are as many as it can.
void cores_command() {
  const auto cores = count_word(line_rest);
  const setting* threads = find_setting("Threads");
  if (!cores || *cores == 0) {
    output_line("Error: cores needs a number of cores, at least one.");
    return;
  }
  change_setting(*threads, std::min(*cores, threads->high));
}

// The name runs up to '=' (names may hold spaces); a button has no value.
void option_command() {
  const std::string_view text(line_rest);
  const std::size_t equals = text.find('=');
  const std::string_view name = text.substr(0, equals);
  const std::string_view value =
      equals == std::string_view::npos ? std::string_view() : text.substr(equals + 1);
  const setting* s = find_setting(name);
  if (!s || !(s->offered & offered_in_xboard) || s->name != name) {
    output_line("Error (unknown option): " + std::string(name));
    return;
  }
  if (!change_from_text(*s, value)) output_line("Error (bad value): option " + std::string(text));
}

}  // namespace marlek
