// The engine process. For now it only reads its keys; the protocol front end
// comes next.
#include "board/keys.h"

int main() {
  marlek::load_keys();
  return 0;
}
