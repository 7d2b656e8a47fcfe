#include "engine/settings.h"

#include "base/flags.h"
#include "engine/engine.h"
#include "search/hash_table.h"

namespace marlek {

void request_hash_megabytes(std::uint64_t megabytes) {
  hash_table::request_size(hash_table::size_for_megabytes(megabytes));
}

// The table belongs to the engine thread: it clears it between searches.
void request_clear_hash() { post_to_engine(new clear_hash); }

void set_own_book(bool on) { own_book.store(on, std::memory_order_relaxed); }

}  // namespace marlek
