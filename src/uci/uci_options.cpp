#include "uci/uci_options.h"

#include <string_view>

#include "base/numbers.h"
#include "base/output.h"
#include "engine/settings.h"

namespace marlek {

namespace {

std::string declaration(const setting& s) {
  switch (s.kind) {
    case setting_kind::check:
      return s.initial ? "type check default true" : "type check default false";
    case setting_kind::button: return "type button";
    case setting_kind::spin: break;
  }
  return "type spin default " + std::to_string(s.initial) + " min " + std::to_string(s.low) +
         " max " + std::to_string(s.high);
}

// The value as a number the setting can take: true or false for a check, a
// whole number for a spin, nothing for a button.
std::optional<std::int64_t> value_of(const setting& s, const std::optional<std::string>& value) {
  switch (s.kind) {
    case setting_kind::button: return 0;
    case setting_kind::check:
      if (value == "true" || value == "false") return value == "true" ? 1 : 0;
      return std::nullopt;
    case setting_kind::spin: break;
  }
  return value ? whole_number(*value) : std::nullopt;
}

std::string takes(const setting& s) {
  if (s.kind == setting_kind::check) return std::string(s.name) + " takes true or false";
  return std::string(s.name) + " takes a whole number from " + std::to_string(s.low) + " to " +
         std::to_string(s.high);
}

}  // namespace

void list_uci_options() {
  for (const setting& s : engine_settings())
    if (s.offered & offered_in_uci)
      output_line("option name " + std::string(s.name) + ' ' + declaration(s));
}

bool apply_uci_option(const uci_setoption& option, std::string& error) {
  const setting* s = find_setting(option.name);
  if (!s || !(s->offered & offered_in_uci)) {
    error = "no option named '" + option.name + "'";
    return false;
  }
  // Errors name the option as the engine lists it.
  const std::optional<std::int64_t> value = value_of(*s, option.value);
  if (!value || !change_setting(*s, *value)) {
    error = takes(*s);
    return false;
  }
  return true;
}

}  // namespace marlek
