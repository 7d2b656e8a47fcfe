#pragma once
// A frame of the one move stack, global_moves: each level of generation owns
// the moves it appended until it returns, so frames nest exactly like calls.
#include <cstddef>

#include "board/position.h"

namespace marlek {

// The moves from where the stack ended when the frame was made to its
// current end. Destroying the frame truncates the stack back.
class move_list {
 public:
  move_list() : start_(global_moves.size()) {}
  ~move_list() { global_moves.resize(start_); }
  move_list(const move_list&) = delete;
  move_list& operator=(const move_list&) = delete;

  std::size_t start() const { return start_; }
  // Read again at every step: the children of each move push and pop above.
  std::size_t end() const { return global_moves.size(); }

 private:
  std::size_t start_;
};

}  // namespace marlek
