// PLACEHOLDER until the engine thread exists: it will build the engine on
// first use and queue the message there. For now the commands that talk to
// the engine reach nobody, so their messages are freed here.
#include "engine/engine.h"

namespace marlek {

void post_to_engine(message* m) { delete m; }

}  // namespace marlek
