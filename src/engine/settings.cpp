#include "engine/settings.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>

#include "base/flags.h"
#include "engine/engine.h"
#include "engine/strength.h"
#include "search/hash_table.h"

namespace marlek {

namespace {

constexpr std::int64_t bytes_per_megabyte = 1 << 20;
// The engine's own table of 2^20 entries, so that the default changes nothing.
constexpr std::int64_t default_hash_mb =
    hash_table::default_size * sizeof(hash_entry) / bytes_per_megabyte;
constexpr std::int64_t most_hash_mb = 65536;
constexpr std::int64_t default_move_overhead_ms = 30;
constexpr std::int64_t most_move_overhead_ms = 5000;
// Root lines a GUI may ask to be shown: enough for every move of most
// positions, few enough that each still gets searched.
constexpr std::int64_t most_root_lines = 64;

std::atomic<std::int64_t> overhead{default_move_overhead_ms};

// The transposition table gets the most entries, a power of two, that fit
// in the megabytes; it takes the new size at the next set-up of a position.
void apply_hash(std::int64_t megabytes) {
  hash_table::request_size(hash_table::size_for_megabytes(static_cast<std::uint64_t>(megabytes)));
}

void apply_own_book(std::int64_t on) { own_book.store(on != 0, std::memory_order_relaxed); }

// A UCI GUI asks for pondering itself, with `go ponder`; the option only
// tells the engine that it may be asked.
void apply_ponder(std::int64_t) {}

// The table belongs to the engine thread: it clears it between searches.
void apply_clear_hash(std::int64_t) { post_to_engine(new clear_hash); }

void apply_move_overhead(std::int64_t ms) { overhead.store(ms, std::memory_order_relaxed); }

// Read as each game is set up: the GUI sends its positions after it.
void apply_chess960(std::int64_t) {}

// The helpers belong to the engine thread, which makes them ready between
// searches.
void apply_threads(std::int64_t n) { post_to_engine(new set_threads(static_cast<int>(n))); }

// Read as each search starts. A GUI changes it while the engine analyses
// (xboard's buttons for more or fewer lines), so a running search starts
// its iteration again with the new number.
void apply_multi_pv(std::int64_t) { post_to_engine(new root_lines_changed); }

// The level is read as each move starts.
void apply_level(std::int64_t) {}

constexpr unsigned both = offered_in_uci | offered_in_xboard;

constexpr std::int64_t most_threads = 256;

constexpr std::array<setting, 10> table = {{
    {"Hash", setting_kind::spin, default_hash_mb, 1, most_hash_mb, offered_in_uci, apply_hash},
    {"Threads", setting_kind::spin, 1, 1, most_threads, offered_in_uci, apply_threads},
    {"OwnBook", setting_kind::check, 1, 0, 1, both, apply_own_book},
    {"Ponder", setting_kind::check, 0, 0, 1, offered_in_uci, apply_ponder},
    {"Clear Hash", setting_kind::button, 0, 0, 0, both, apply_clear_hash},
    {"Move Overhead", setting_kind::spin, default_move_overhead_ms, 0, most_move_overhead_ms, both,
     apply_move_overhead},
    {"MultiPV", setting_kind::spin, 1, 1, most_root_lines, both, apply_multi_pv},
    {"UCI_Chess960", setting_kind::check, 0, 0, 1, offered_in_uci, apply_chess960},
    {"UCI_LimitStrength", setting_kind::check, 0, 0, 1, both, apply_level},
    {"UCI_Elo", setting_kind::spin, full_strength_elo, lowest_level_elo, full_strength_elo, both,
     apply_level},
}};

// The values as set, beside the table, in its order.
struct setting_values {
  setting_values() {
    for (std::size_t i = 0; i < table.size(); ++i) now[i].store(table[i].initial);
  }
  std::array<std::atomic<std::int64_t>, table.size()> now;
};

std::array<std::atomic<std::int64_t>, table.size()>& values() {
  static setting_values all;
  return all.now;
}

bool same_name(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

std::span<const setting> engine_settings() { return table; }

const setting* find_setting(std::string_view name) {
  for (const setting& s : table)
    if (same_name(s.name, name)) return &s;
  return nullptr;
}

bool change_setting(const setting& s, std::int64_t value) {
  if (s.kind == setting_kind::button) value = 0;
  if (s.kind != setting_kind::button && (value < s.low || value > s.high)) return false;
  values()[static_cast<std::size_t>(&s - table.data())].store(value, std::memory_order_relaxed);
  s.apply(value);
  return true;
}

std::int64_t setting_value(const setting& s) {
  return values()[static_cast<std::size_t>(&s - table.data())].load(std::memory_order_relaxed);
}

std::int64_t move_overhead_ms() { return overhead.load(std::memory_order_relaxed); }

bool own_book_enabled() { return own_book.load(std::memory_order_relaxed); }

bool uci_chess960() { return setting_value(*find_setting("UCI_Chess960")) != 0; }

int root_lines() { return static_cast<int>(setting_value(*find_setting("MultiPV"))); }

}  // namespace marlek
