#include "search/hash_table.h"

#include "board/position.h"

namespace marlek {

hash_entry hash_table::entries[hash_table::size] = {};

hash_entry* hash_table::probe() {
  const hash_key& key = position::position_key;
  hash_entry* entry = &entries[key.low & mask];
  if (entry->key == key) return entry;
  if (entry->in_search) return nullptr;
  entry->reset();
  entry->key = key;
  return entry;
}

void hash_table::clear() {
  for (hash_entry& entry : entries) entry.reset();
}

}  // namespace marlek
