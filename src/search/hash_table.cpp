#include "search/hash_table.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdlib>

#include "board/position.h"
#include "search/search_state.h"

namespace marlek {

namespace {

// The entries come from calloc: all zero, as at program start, and a large
// table takes its memory page by page as the search reaches it, rather
// than all at once. 0 entries, or memory refused, give null.
hash_entry* allocate_entries(std::uint64_t count) {
  if (count > SIZE_MAX / sizeof(hash_entry)) return nullptr;
  return static_cast<hash_entry*>(std::calloc(static_cast<std::size_t>(count), sizeof(hash_entry)));
}

// The table the engine starts with. Without it the engine cannot search at
// all, so it ends at once, as it does without its key file.
hash_entry* first_entries() {
  hash_entry* entries = allocate_entries(hash_table::default_size);
  if (!entries) std::abort();
  return entries;
}

std::atomic<std::uint64_t> requested_size{hash_table::default_size};

}  // namespace

hash_entry* hash_table::entries = first_entries();
std::uint32_t hash_table::mask = static_cast<std::uint32_t>(default_size - 1);
std::uint8_t hash_table::current_generation = 0;
std::uint8_t hash_table::current_wipe = 0;

std::uint64_t hash_table::size_for_megabytes(std::uint64_t megabytes) {
  constexpr std::uint64_t bytes_per_megabyte = std::uint64_t{1} << 20;
  const std::uint64_t fit =
      std::min(megabytes, largest_size) * bytes_per_megabyte / sizeof(hash_entry);
  return std::clamp<std::uint64_t>(std::bit_floor(fit), smallest_size, largest_size);
}

void hash_table::request_size(std::uint64_t entries_wanted) {
  requested_size.store(entries_wanted, std::memory_order_relaxed);
}

bool hash_table::resize() {
  const std::uint64_t wanted = requested_size.load(std::memory_order_relaxed);
  if (wanted == size() || !std::has_single_bit(wanted) || wanted > largest_size) return true;
  hash_entry* fresh = allocate_entries(wanted);
  if (!fresh) {
    requested_size.store(size(), std::memory_order_relaxed);  // said once, not at every game
    return false;
  }
  std::free(entries);
  entries = fresh;
  mask = static_cast<std::uint32_t>(wanted - 1);
  current_generation = 0;
  current_wipe = 0;
  return true;
}

static_assert(sizeof(hash_entry) == 24, "the wipe count fits in the padding");

hash_entry& hash_table::current_slot(const hash_key& key) {
  hash_entry& entry = entries[key.low & mask];
  if (entry.wipe_count != current_wipe) {
    // Untouched since the table was last wiped: it reads as at start-up.
    entry = hash_entry{};
    entry.wipe_count = current_wipe;
  }
  if (entry.generation != current_generation) {
    // Untouched since the table was last cleared: reset it now.
    entry.reset();
    entry.generation = current_generation;
  }
  return entry;
}

hash_entry* hash_table::probe() {
  const hash_key& key = position::position_key;
  hash_entry* entry = &current_slot(key);
  if (entry->key == key) return entry;
  if (entry->in_search()) return nullptr;
  if (searching_as_helper) return claim_for_helper(*entry, key);
  entry->reset();
  entry->key = key;
  return entry;
}

// A helper passes over an entry that counts a game position, and claims any
// other without writing the byte the engine thread alone writes.
hash_entry* hash_table::claim_for_helper(hash_entry& entry, const hash_key& key) {
  if (entry.repetitions() != 0) return nullptr;
  entry.reset_result();
  entry.key = key;
  return &entry;
}

void hash_table::wipe() {
  current_generation = 0;
  if (++current_wipe != 0) return;
  // The count wrapped: an entry untouched for 256 wipes could pass for a
  // current one, so this once every entry is zeroed for real.
  std::fill_n(entries, size(), hash_entry{});
}

bool hash_table::any_in_search() {
  return std::any_of(entries, entries + size(), [](const hash_entry& entry) {
    return entry.wipe_count == current_wipe && entry.in_search();
  });
}

hash_entry* hash_table::find(const hash_key& key) {
  hash_entry& entry = current_slot(key);
  return entry.key == key ? &entry : nullptr;
}

void hash_table::clear() {
  if (++current_generation != 0) return;
  // The generation number wrapped: an entry untouched for 256 clears could
  // pass for a current one, so this once every entry is reset for real.
  std::for_each(entries, entries + size(), [](hash_entry& entry) {
    entry.reset();
    entry.generation = current_generation;
  });
}

}  // namespace marlek
