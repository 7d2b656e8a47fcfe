#pragma once
// A vector of fixed capacity whose elements live inside it: the stacks that
// each search thread keeps of its own (the move stack, the position's undo
// stacks, its piece lists). It has the part of std::vector's face they use,
// and, being trivially destructible when its elements are, it can be a
// thread's own variable without the cost a std::vector has there: a test
// at every use of whether this thread has built it yet.
//
// Each stack's capacity is far beyond what a game and its search can fill;
// a push beyond it is refused (the stack stays full), so a runaway never
// writes past the end.
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <vector>

namespace marlek {

template <typename T, std::size_t Capacity>
class fixed_vector {
 public:
  using value_type = T;
  using size_type = std::size_t;
  using iterator = T*;
  using const_iterator = const T*;
  using reverse_iterator = std::reverse_iterator<iterator>;
  using const_reverse_iterator = std::reverse_iterator<const_iterator>;

  static constexpr size_type capacity() { return Capacity; }
  size_type size() const { return count; }
  bool empty() const { return count == 0; }
  bool full() const { return count == Capacity; }

  T* data() { return items; }
  const T* data() const { return items; }
  iterator begin() { return items; }
  iterator end() { return items + count; }
  const_iterator begin() const { return items; }
  const_iterator end() const { return items + count; }
  reverse_iterator rbegin() { return reverse_iterator(end()); }
  reverse_iterator rend() { return reverse_iterator(begin()); }
  const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
  const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }

  T& operator[](size_type i) { return items[i]; }
  const T& operator[](size_type i) const { return items[i]; }
  T& front() { return items[0]; }
  const T& front() const { return items[0]; }
  T& back() { return items[count - 1]; }
  const T& back() const { return items[count - 1]; }

  void push_back(const T& value) {
    if (count < Capacity) items[count++] = value;
  }
  template <typename... Args>
  T& emplace_back(Args&&... args) {
    if (count == Capacity) return items[Capacity - 1];
    items[count] = T{static_cast<Args&&>(args)...};
    return items[count++];
  }
  void pop_back() { --count; }
  void clear() { count = 0; }
  void resize(size_type n) { resize(n, T{}); }
  void resize(size_type n, const T& value) {
    n = std::min(n, Capacity);
    for (size_type i = count; i < n; ++i) items[i] = value;
    count = n;
  }
  void reserve(size_type) {}
  iterator erase(const_iterator at) { return erase(at, at + 1); }
  iterator erase(const_iterator first, const_iterator last) {
    iterator to = items + (first - items);
    std::copy(last, const_iterator(end()), to);
    count -= static_cast<size_type>(last - first);
    return to;
  }
  template <typename Iterator>
  void assign(Iterator first, Iterator last) {
    clear();
    for (; first != last; ++first) push_back(*first);
  }

  // A copy as a std::vector, and comparison with one, for what reads the
  // stacks from outside (tests, reports).
  operator std::vector<T>() const { return std::vector<T>(begin(), end()); }
  fixed_vector& operator=(const std::vector<T>& items_of) {
    assign(items_of.begin(), items_of.end());
    return *this;
  }
  friend bool operator==(const fixed_vector& a, const std::vector<T>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }

 private:
  // Value-initialised, so a thread's own stack is constant-initialised:
  // it needs no code at thread start, and no test at each use of whether
  // that code has run (and some linkers refuse two copies of that code).
  T items[Capacity]{};
  size_type count = 0;
};

}  // namespace marlek
