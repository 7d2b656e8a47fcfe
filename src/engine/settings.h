#pragma once
// The engine's settings that a player changes through the GUI: one table,
// with each setting's name, kind, default and bounds, and what changing it
// does. Both front ends declare their options from it (UCI's `option name
// ...`, xboard's `feature option=...`) and change them through it (UCI's
// `setoption`, xboard's `option` and `memory`), so the two protocols always
// offer the same settings with the same bounds.
//
// Any thread may read and change a setting. Most take effect at the engine's
// next move; the table size at the next new game (so the game in progress
// keeps its table); Clear Hash at once.
#include <cstdint>
#include <span>
#include <string_view>

namespace marlek {

enum class setting_kind { spin, check, button };

// The protocols that offer a setting under its name. (xboard sets the
// table size with `memory`, pondering with `hard` and `easy` and the variant
// with `variant`, so those are UCI's options only.)
inline constexpr unsigned offered_in_uci = 1;
inline constexpr unsigned offered_in_xboard = 2;

struct setting {
  std::string_view name;
  setting_kind kind;
  std::int64_t initial;  // a check's is 0 or 1; a button has none
  std::int64_t low;      // a spin's bounds
  std::int64_t high;
  unsigned offered;
  // Carries a value out (already within bounds; a button gets 0).
  void (*apply)(std::int64_t value);
};

// Every setting, in the order GUIs list them.
std::span<const setting> engine_settings();

// The setting of that name, or null. UCI names are not case-sensitive, and
// no two settings differ only in case, so neither is this.
const setting* find_setting(std::string_view name);

// Changes `s` to `value`; false, and nothing changes, when the value is out
// of its bounds (a check takes 0 or 1).
bool change_setting(const setting& s, std::int64_t value);

// The value a setting has now.
std::int64_t setting_value(const setting& s);

// Settings the engine reads as it works.
std::int64_t move_overhead_ms();
bool own_book_enabled();
// UCI_Chess960: the GUI's games are games of Chess960.
bool uci_chess960();
// MultiPV: how many root lines a search shows, each with another first move.
int root_lines();

}  // namespace marlek
