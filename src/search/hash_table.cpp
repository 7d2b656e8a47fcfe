#include "search/hash_table.h"

#include "board/position.h"

namespace marlek {

hash_entry hash_table::entries[hash_table::size] = {};
std::uint8_t hash_table::current_generation = 0;

hash_entry& hash_table::current_slot(const hash_key& key) {
  hash_entry& entry = entries[key.low & mask];
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
  for (hash_entry& entry : entries) entry = hash_entry{};
  current_generation = 0;
}

bool hash_table::any_in_search() {
  for (const hash_entry& entry : entries)
    if (entry.in_search) return true;
  return false;
}

const hash_entry* hash_table::find(const hash_key& key) {
  const hash_entry& entry = current_slot(key);
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
