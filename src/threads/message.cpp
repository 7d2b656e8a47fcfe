#include "threads/message.h"

#include <algorithm>

namespace marlek {

setboard::setboard(std::string_view fen) : message(kind_id) {
  std::size_t length = std::min(fen.size(), text_size - 1);
  std::copy_n(fen.data(), length, text);
  text[length] = '\0';
}

}  // namespace marlek
