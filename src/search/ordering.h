#pragma once
// The two move orderings and the lazy selection that applies them.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "board/move_list.h"
#include "board/position.h"
#include "search/search_state.h"

namespace marlek {

// Orderings: each gives a move a key, and a move with a higher key is
// searched first. Inline, since the selection below calls one per move.
// Captures by gain: victim value minus attacker value, taken before the
// move is made; an en-passant capture lands on an empty square and gains 0.
inline std::int32_t capture_gain(move m) {
  const apiece* victim = position::board[m.to];
  if (!victim) return 0;
  return victim->value - position::board[m.from]->value;
}
// Quiet moves by their history counters.
inline std::uint32_t history_of(move m) { return history[m.from][m.to]; }
// The same orderings as comparisons (true when a comes before b), for sorts.
inline bool by_capture_gain(move a, move b) { return capture_gain(a) > capture_gain(b); }
inline bool by_history(move a, move b) { return history_of(a) > history_of(b); }

// Brings a best remaining move of [i, end of the stack) to position i by one
// scan with exchanges; the earliest of equally good moves wins. The list is
// never sorted in full, so a node that cuts off early pays only for the scans
// it made. The key of the move standing at i is kept rather than taken again
// at every comparison.
template <typename key_fn>
void select_next(std::size_t i, key_fn key) {
  const std::size_t end = global_moves.size();
  auto best = key(global_moves[i]);
  for (std::size_t j = i + 1; j < end; ++j) {
    const auto challenger = key(global_moves[j]);
    if (challenger > best) {
      std::swap(global_moves[j], global_moves[i]);
      best = challenger;
    }
  }
}

// Selects the best remaining move at position i by the ordering of its
// kind (history for quiet moves, gain for captures) and returns it.
template <bool quiet>
move next_best(std::size_t i) {
  if constexpr (quiet)
    select_next(i, history_of);
  else
    select_next(i, capture_gain);
  return global_moves[i];
}

// Keys of the moves a move_picker is selecting from, at the same indices as
// the moves in global_moves.
inline thread_local fixed_vector<std::int64_t, move_stack_size> move_keys;

// Picks the moves of one list best first, the same move at every step as
// next_best: the same keys, the same scan with exchanges. It takes each
// move's key once and exchanges the keys along with the moves, where
// next_best looks the key up again at every comparison (a table of 57 KB
// for the history, two pieces for a gain), so that the scans that a node
// repeats for each of its moves read a small array in order instead.
// A gain stays good while the node lasts, since every child is unmade
// before the next pick; a history key is taken again when the table has
// changed since (a cut-off below rewards a move). And since most quiet
// moves have never been rewarded, the scans stop once only those are left.
// It also counts the promotions still to be picked: the search stops
// picking quiet moves once none is left that could change anything
// (quiet_moves_left_fail_low in shortcuts.h), and a promotion changes the
// material.
template <bool quiet>
class move_picker {
 public:
  explicit move_picker(const move_list& list) : end_(list.end()) {
    if (move_keys.size() < end_) move_keys.resize(end_);
    take_keys(list.start());
  }

  move next(std::size_t i) {
    if constexpr (quiet)
      if (version_ != history_version) take_keys(i);
    // History counters are never below 0: once no move still to come has a
    // counter above 0, every scan would find only equals and exchange none.
    if (!quiet || rewarded_left_ != 0) bring_best_to(i);
    const move picked = global_moves[i];
    promotions_left_ -= picked.kind != no_promotion;
    return picked;
  }

  // Whether no move still to be picked is a promotion.
  bool no_promotion_left() const { return promotions_left_ == 0; }

 private:
  void bring_best_to(std::size_t i) {
    move* const moves = global_moves.data();
    std::int64_t* const keys = move_keys.data();  // a child's picker may have moved them
    std::int64_t best = keys[i];
    for (std::size_t j = i + 1; j < end_; ++j) {
      if (keys[j] > best) {
        exchange(moves[j], moves[i]);
        std::swap(keys[j], keys[i]);
        best = keys[i];
      }
    }
    if (best > 0) --rewarded_left_;
  }

  // Exchanges two moves as whole 32-bit words. Moved field by field, a
  // move is stored in halves that the next read of the whole move must wait
  // for.
  static void exchange(move& a, move& b) {
    std::uint32_t word_a, word_b;
    std::memcpy(&word_a, &a, sizeof word_a);
    std::memcpy(&word_b, &b, sizeof word_b);
    std::memcpy(static_cast<void*>(&a), &word_b, sizeof word_b);
    std::memcpy(static_cast<void*>(&b), &word_a, sizeof word_a);
  }

  void take_keys(std::size_t from) {
    const move* const moves = global_moves.data();
    std::int64_t* const keys = move_keys.data();
    rewarded_left_ = 0;
    promotions_left_ = 0;
    for (std::size_t j = from; j < end_; ++j) {
      keys[j] = quiet ? std::int64_t{history_of(moves[j])} : std::int64_t{capture_gain(moves[j])};
      rewarded_left_ += keys[j] > 0;
      promotions_left_ += moves[j].kind != no_promotion;
    }
    version_ = history_version;
  }

  std::size_t end_;
  std::uint32_t version_ = 0;
  std::size_t rewarded_left_ = 0;    // moves still to come with a key above 0
  std::size_t promotions_left_ = 0;  // promotions still to come
};

}  // namespace marlek
