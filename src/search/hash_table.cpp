#include "search/hash_table.h"

#include "board/position.h"

namespace marlek {

hash_entry hash_table::entries[hash_table::size] = {};
std::uint8_t hash_table::current_generation = 0;
std::uint8_t hash_table::current_wipe = 0;

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
  if (entry->in_search) return nullptr;
  entry->reset();
  entry->key = key;
  return entry;
}

void hash_table::wipe() {
  current_generation = 0;
  if (++current_wipe != 0) return;
  // The count wrapped: an entry untouched for 256 wipes could pass for a
  // current one, so this once every entry is zeroed for real.
  for (hash_entry& entry : entries) entry = hash_entry{};
}

bool hash_table::any_in_search() {
  for (const hash_entry& entry : entries)
    if (entry.wipe_count == current_wipe && entry.in_search) return true;
  return false;
}

hash_entry* hash_table::find(const hash_key& key) {
  hash_entry& entry = current_slot(key);
  return entry.key == key ? &entry : nullptr;
}

void hash_table::clear() {
  if (++current_generation != 0) return;
  // The generation number wrapped: an entry untouched for 256 clears could
  // pass for a current one, so this once every entry is reset for real.
  for (hash_entry& entry : entries) {
    entry.reset();
    entry.generation = current_generation;
  }
}

}  // namespace marlek
