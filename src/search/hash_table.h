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
#include <atomic>
#include <bit>
#include <cstdint>
#include <type_traits>

#include "board/keys.h"
#include "board/move.h"

namespace marlek {

inline constexpr std::uint8_t no_bound = 0;
inline constexpr std::uint8_t lower_bound = 1;  // the true score is at least `score`
inline constexpr std::uint8_t upper_bound = 2;  // the true score is at most `score`
inline constexpr std::uint8_t exact_bound = 3;

// A field of an entry that any search thread may read or write while
// others do: each access is one atomic access of no particular order, so a
// thread sees every field whole, though an entry another thread is writing
// may mix fields of two results (a move stored by the search is checked
// before it is made). Copying an entry copies plainly: only the table's own
// set-up and wipe copy, while no search runs.
template <typename T>
class relaxed {
  // Held as an unsigned integer of T's size: every compiler makes the
  // atomic access of an integer a plain load or store, while some call a
  // library for a struct (a move) even when it fits in a word.
  using bits = std::conditional_t<
      sizeof(T) == 1, std::uint8_t,
      std::conditional_t<sizeof(T) == 2, std::uint16_t,
                         std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>>>;
  static_assert(sizeof(T) == sizeof(bits) && std::is_trivially_copyable_v<T>);

 public:
  relaxed() = default;
  operator T() const {
    return std::bit_cast<T>(std::atomic_ref<bits>(const_cast<bits&>(value)).load(order));
  }
  relaxed& operator=(T v) {
    std::atomic_ref<bits>(value).store(std::bit_cast<bits>(v), order);
    return *this;
  }

 private:
  static constexpr auto order = std::memory_order_relaxed;
  alignas(std::atomic_ref<bits>::required_alignment) bits value;
};

class hash_entry {
 public:
  relaxed<std::int32_t> score;  // side to move's view; mate scores stored as they are
  relaxed<move> hash_move;      // meaningful while has_move is set
  relaxed<std::int32_t> depth;  // hundredths of a ply

 private:
  // What a search found, which any search thread writes; and what the game
  // and the engine's own search path keep, which only the engine thread
  // writes (a helper thread never claims an entry with either set), in a
  // byte of its own so that no write of the other byte can undo it.
  static constexpr std::uint8_t bound_bits = 3, move_bit = 4;
  static constexpr std::uint8_t repetition_bits = 15, path_bit = 16;
  relaxed<std::uint8_t> result_bits;
  relaxed<std::uint8_t> game_bits;

 public:
  relaxed<std::uint8_t> generation;  // of the table when last touched (see clear)
  relaxed<std::uint8_t> wipe_count;  // of the table when last touched (see wipe)
  relaxed<hash_key> key;

  // The kind of bound of the stored score.
  std::uint8_t bound() const { return result_bits & bound_bits; }
  void set_bound(std::uint8_t b) { result_bits = (result_bits & ~bound_bits) | (b & bound_bits); }
  // Whether hash_move holds a move.
  bool has_move() const { return (result_bits & move_bit) != 0; }
  void set_has_move(bool on) {
    result_bits = on ? result_bits | move_bit : result_bits & ~move_bit;
  }
  // Occurrences of the position in the game, modulo 16.
  std::uint8_t repetitions() const { return game_bits & repetition_bits; }
  void set_repetitions(unsigned n) {
    game_bits = (game_bits & ~repetition_bits) | (n & repetition_bits);
  }
  // On the path from the root to the node the engine's own search is in.
  bool in_search() const { return (game_bits & path_bit) != 0; }
  void set_in_search(bool on) { game_bits = on ? game_bits | path_bit : game_bits & ~path_bit; }

  // Empties the entry but leaves score and hash_move: a freshly claimed
  // entry still carries the previous occupant's score and move.
  void reset() {
    game_bits = 0;
    reset_result();
  }
  // The same, but for the game's count and the path's mark.
  void reset_result() {
    result_bits = 0;
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
  static hash_entry* claim_for_helper(hash_entry& entry, const hash_key& key);

  static hash_entry* entries;
  static std::uint32_t mask;
  static std::uint8_t current_generation;
  static std::uint8_t current_wipe;
};

}  // namespace marlek
