#pragma once
// The transposition table: one table of per-position facts that the whole
// engine shares.
//
// 2^20 entries, indexed by the low 20 bits of the position key, unless the
// player asks for another size (a power of two, made between games); one slot
// holds one position, with no buckets and no second probe. A new position
// simply takes the slot over (no depth- or age-preferred replacement), with
// one exception: an entry whose `in_search` bit is set lies on the path of
// the search now running and keeps its slot until that search clears the
// bit. The same entries count how often each position has occurred in the
// game, so repetitions of the game are recognised here too; a count is lost
// when the search hands its slot to another position. That trades a little
// accuracy for having one table and one probe per node.
#include <cstdint>

#include "board/keys.h"
#include "board/move.h"

namespace marlek {

inline constexpr std::uint8_t no_bound = 0;
inline constexpr std::uint8_t lower_bound = 1;  // the true score is at least `score`
inline constexpr std::uint8_t upper_bound = 2;  // the true score is at most `score`
inline constexpr std::uint8_t exact_bound = 3;

struct hash_entry {
  std::int32_t score;  // side to move's view; mate scores stored as they are
  move hash_move;      // meaningful while has_move is set
  std::int32_t depth;  // hundredths of a ply
  std::uint8_t bound : 2;
  std::uint8_t repetitions : 4;  // occurrences in the game, modulo 16
  std::uint8_t has_move : 1;
  std::uint8_t in_search : 1;  // on the path from the root to the current node
  std::uint8_t generation;     // of the table when last touched (see clear)
  std::uint8_t wipe_count;     // of the table when last touched (see wipe)
  hash_key key;

  // Empties the entry but leaves score and hash_move: a freshly claimed
  // entry still carries the previous occupant's score and move.
  void reset() {
    in_search = 0;
    has_move = 0;
    repetitions = 0;
    bound = no_bound;
    depth = 0;
  }
};

class hash_table {
 public:
  static constexpr std::uint64_t default_size = std::uint64_t{1} << 20;
  // The slot comes from the key's low 32-bit word: no more slots than that.
  static constexpr std::uint64_t largest_size = std::uint64_t{1} << 32;
  static constexpr std::uint64_t smallest_size = std::uint64_t{1} << 10;

  // Entries in the table now.
  static std::uint64_t size() { return std::uint64_t{mask} + 1; }
  // The most entries, a power of two, that fit in `megabytes` (at least
  // smallest_size, at most largest_size).
  static std::uint64_t size_for_megabytes(std::uint64_t megabytes);
  // Asks for a table of `entries` (a power of two, as size_for_megabytes
  // gives); the table takes that size at the next resize(). Any thread.
  static void request_size(std::uint64_t entries);
  // Gives the table the size last requested, empty as at program start.
  // False when the memory cannot be had: the table then stays as it was.
  // Nothing is done when the size is already the requested one.
  static bool resize();

  // The entry of the current position: a hit, or a freshly claimed slot.
  // Null only when the slot belongs to another position on the search path.
  static hash_entry* probe();
  // Resets every entry; keys, scores and moves stay.
  static void clear();
  // Empties every entry completely, keys, scores and moves included, as at
  // program start: the bench uses it so that every run starts alike. Like
  // clear, it works lazily: an entry is zeroed when it is next touched.
  static void wipe();
  // The entry holding `key`, or null, without claiming a slot for it (the
  // game's take-back, tests and diagnostics; the search always probes).
  static hash_entry* find(const hash_key& key);
  // Whether any entry is marked as on the search path (for tests).
  static bool any_in_search();

 private:
  static hash_entry& current_slot(const hash_key& key);

  static hash_entry* entries;
  static std::uint32_t mask;
  static std::uint8_t current_generation;
  static std::uint8_t current_wipe;
};

}  // namespace marlek
