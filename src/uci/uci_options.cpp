#include "uci/uci_options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

#include "base/output.h"
#include "engine/settings.h"
#include "search/hash_table.h"

namespace marlek {

namespace {

constexpr std::int64_t bytes_per_megabyte = 1 << 20;
// The engine's own table of 2^20 entries, so that the default changes nothing.
constexpr std::int64_t default_hash_mb =
    hash_table::default_size * sizeof(hash_entry) / bytes_per_megabyte;
constexpr std::int64_t least_hash_mb = 1;
constexpr std::int64_t most_hash_mb = 65536;
constexpr std::int64_t default_move_overhead = 30;
constexpr std::int64_t most_move_overhead = 5000;

std::int64_t move_overhead = default_move_overhead;

// Option names are not case-sensitive in UCI.
bool same_name(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

bool read_check(const uci_setoption& option, bool& out, std::string& error) {
  if (option.value == "true" || option.value == "false") {
    out = option.value == "true";
    return true;
  }
  error = option.name + " takes true or false";
  return false;
}

bool read_spin(const uci_setoption& option, std::int64_t low, std::int64_t high, std::int64_t& out,
               std::string& error) {
  std::int64_t value = 0;
  const std::string text = option.value.value_or("");
  const char* end = text.data() + text.size();
  auto [stop, fault] = std::from_chars(text.data(), end, value);
  if (text.empty() || fault != std::errc() || stop != end || value < low || value > high) {
    error = option.name + " takes a whole number from " + std::to_string(low) + " to " +
            std::to_string(high);
    return false;
  }
  out = value;
  return true;
}

bool apply_hash(const uci_setoption& option, std::string& error) {
  std::int64_t megabytes = 0;
  if (!read_spin(option, least_hash_mb, most_hash_mb, megabytes, error)) return false;
  request_hash_megabytes(static_cast<std::uint64_t>(megabytes));
  return true;
}

bool apply_own_book(const uci_setoption& option, std::string& error) {
  bool on = true;
  if (!read_check(option, on, error)) return false;
  set_own_book(on);
  return true;
}

// The GUI sends `go ponder` when it wants the engine to ponder; the option
// only tells the engine that it may.
bool apply_ponder(const uci_setoption& option, std::string& error) {
  bool ignored = false;
  return read_check(option, ignored, error);
}

bool apply_clear_hash(const uci_setoption&, std::string&) {
  request_clear_hash();
  return true;
}

bool apply_move_overhead(const uci_setoption& option, std::string& error) {
  return read_spin(option, 0, most_move_overhead, move_overhead, error);
}

struct uci_option {
  std::string_view name;
  std::string declaration;  // the rest of the "option name" line
  bool (*apply)(const uci_setoption&, std::string&);
};

const std::vector<uci_option>& options() {
  static const std::vector<uci_option> table = {
      {"Hash",
       "type spin default " + std::to_string(default_hash_mb) + " min " +
           std::to_string(least_hash_mb) + " max " + std::to_string(most_hash_mb),
       apply_hash},
      {"OwnBook", "type check default true", apply_own_book},
      {"Ponder", "type check default false", apply_ponder},
      {"Clear Hash", "type button", apply_clear_hash},
      {"Move Overhead",
       "type spin default " + std::to_string(default_move_overhead) + " min 0 max " +
           std::to_string(most_move_overhead),
       apply_move_overhead},
  };
  return table;
}

}  // namespace

void list_uci_options() {
  for (const uci_option& option : options())
    output_line("option name " + std::string(option.name) + " " + option.declaration);
}

bool apply_uci_option(const uci_setoption& option, std::string& error) {
  for (const uci_option& known : options()) {
    if (!same_name(known.name, option.name)) continue;
    // Errors name the option as the engine lists it.
    return known.apply({std::string(known.name), option.value}, error);
  }
  error = "no option named '" + option.name + "'";
  return false;
}

std::int64_t move_overhead_ms() { return move_overhead; }

}  // namespace marlek
