#pragma once
// Moves the search answers without making them, and how one move is scored.
//
// Most moves near the leaves are answered before their child is searched,
// and the answer is known beforehand. Making and unmaking such a move costs
// more than the rest of its search, so the search finds that answer without
// making it. Each shortcut gives exactly the score, the node count, the
// order of the piece lists and the table and history contents that the
// plain way (make the move, search the child, unmake it) would give, so the
// search computes the same tree either way. A build with
// -DMARLEK_REFERENCE_SEARCH=ON switches all of them off, and the bench must
// then find the same node counts and best moves at every depth
// (tools/compare_reference.sh). What each one relies on:
//
// - A move that leaves the mover's king attacked (score_move). Both
//   children, alpha_beta and quiesce, return king_capture_score as their
//   first act, before they count, probe, evaluate or generate anything.
//   The attack test before the move answers the same question as the one
//   after it (leaves_king_attacked). Nothing is assumed of the evaluation.
//
// - A quiescence child that would stand pat on material alone
//   (quiesce_after). A legal move's quiesce child first evaluates; the
//   evaluation's first term is the material and its first exit returns the
//   material alone when it lies more than the lazy margin outside the
//   window (material_only_score is that exit). When that stand-pat fails
//   high, or the depth is at the floor, quiesce returns it (or alpha) at
//   once. The material after the move follows from the move itself: less
//   the victim, en passant too, and the promotion piece for its pawn
//   (material_balance_after). This assumes that the evaluation adds
//   nothing before its material exit: a term placed ahead of it (a tempo
//   bonus, say) must move into material_only_score as well, or the
//   shortcut answers wrongly.
//
// - Quiet moves that can only fail low (quiet_moves_left_fail_low). When a
//   node's children are quiesce and the reply to the unchanged material
//   already stands pat above the reply window, every quiet move but a
//   promotion leaves the material as it is and so is answered as above,
//   scoring at most alpha; an illegal one scores -king_capture_score, no
//   more. None of them can raise alpha, cut off, become the hash move or
//   earn history, so the rest of the list changes nothing but the node
//   count: one node per move, with the poll for a message after each as the
//   loops make it (count_as_searched). The order in which they would have
//   been picked does not matter, and the list is dropped with the node. A
//   promotion changes the material, so the picker counts the promotions
//   still to come, and the shortcut waits until none is left.
//
// In each case the piece lists are left in the order that making and
// unmaking would leave (reorder_as_if_made): a captured piece put back goes
// to the end of its list, and the order of the lists is the order in which
// later nodes generate their moves. A quiet move that is not a promotion
// changes no list.
#include <cstddef>
#include <cstdint>

#include "board/attacks.h"
#include "board/position.h"
#include "search/depth.h"
#include "search/ordering.h"
#include "search/quiesce.h"
#include "search/scores.h"

namespace marlek {

#ifdef MARLEK_REFERENCE_SEARCH
inline constexpr bool answer_without_making = false;
#else
inline constexpr bool answer_without_making = true;
#endif

// White's material minus Black's once `m`, generated for the current
// position, is made: less a victim (en passant too), and a promotion's
// piece in place of its pawn.
std::int32_t material_balance_after(move m);

// Whether what quiesce(depth, alpha, beta) would return right after the
// legal move `m` is made is known without making it, and then that value.
// (The answer comes back as a flag and a value rather than an optional:
// the optional's two fields, stored apart and read back as one word, made
// the caller wait.)
bool quiesce_after(move m, int depth, int alpha, int beta, int& value);

// Whether every quiet move but a promotion now scores no better than
// `alpha` for the side to move, when its reply is quiesce and the reply's
// window is (-beta, -alpha).
bool quiet_moves_fail_low(int alpha, int beta);

// Counts the moves [from, end) as searched without picking or making them:
// a node each, and after each the poll for a message. True when a message
// stopped the count.
bool count_as_searched(std::size_t from, std::size_t end);

// Whether the moves `picker` has still to give, all of them quiet, can be
// counted rather than searched: no promotion among them, the node's
// children are quiesce, and quiet moves fail low against (alpha, beta).
template <bool quiet>
bool quiet_moves_left_fail_low(const move_picker<quiet>& picker, search_fn child, int alpha,
                               int beta) {
  if constexpr (!quiet || !answer_without_making)
    return false;
  else
    return picker.no_promotion_left() && child == quiesce && quiet_moves_fail_low(alpha, beta);
}

// The score of move m for the side that makes it: the child searched at
// `depth` with the window (alpha, beta) of the side making it, found
// without making the move when it is illegal or its quiescence child would
// stand pat on material alone.
inline int score_move(move m, search_fn child, int depth, int alpha, int beta) {
  if constexpr (answer_without_making) {
    if (leaves_king_attacked(m)) {
      reorder_as_if_made(m);
      return -king_capture_score;
    }
    if (int v; child == quiesce && quiesce_after(m, depth, -beta, -alpha, v)) {
      reorder_as_if_made(m);
      return -v;
    }
    make_legal_move(m);
  } else {
    make_move(m);
  }
  const int v = -child(depth, -beta, -alpha);
  unmake_move(m);
  return v;
}

}  // namespace marlek
