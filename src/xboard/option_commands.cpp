#include "xboard/option_commands.h"

#include <string>
#include <string_view>

#include "base/output.h"
#include "engine/settings.h"
#include "xboard/command_line.h"
#include "xboard/number_words.h"

namespace marlek {

namespace {

// What the options do, by their names in the GUI.
bool set_own_book_option(std::string_view value) {
  if (value != "0" && value != "1") return false;
  set_own_book(value == "1");
  return true;
}

bool clear_hash_option(std::string_view value) {
  if (!value.empty()) return false;
  request_clear_hash();
  return true;
}

struct option_entry {
  std::string_view name;
  std::string_view feature;  // the definition the GUI is given
  bool (*apply)(std::string_view value);
};

constexpr option_entry options[] = {
    {"OwnBook", "OwnBook -check 1", set_own_book_option},
    {"Clear Hash", "Clear Hash -button", clear_hash_option},
};

}  // namespace

void announce_settings() {
  output_line("feature memory=1 nps=1");
  for (const option_entry& option : options)
    output_line("feature option=\"" + std::string(option.feature) + '"');
}

void memory_command() {
  const auto megabytes = count_word(line_rest);
  if (!megabytes) {
    output_line("Error: memory needs a size in megabytes.");
    return;
  }
  request_hash_megabytes(*megabytes);
}

// The name runs up to '=' (names may hold spaces); a button has no value.
void option_command() {
  const std::string_view text(line_rest);
  const std::size_t equals = text.find('=');
  const std::string_view name = text.substr(0, equals);
  const std::string_view value =
      equals == std::string_view::npos ? std::string_view() : text.substr(equals + 1);
  for (const option_entry& option : options) {
    if (option.name != name) continue;
    if (!option.apply(value)) output_line("Error (bad value): option " + std::string(text));
    return;
  }
  output_line("Error (unknown option): " + std::string(name));
}

}  // namespace marlek
