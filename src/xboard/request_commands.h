#pragma once
// The GUI's questions and the words it sends that the engine takes note of
// without acting on them.
namespace marlek {

void hint_command();    // hint: "Hint: MOVE", or nothing without a suggestion
void bk_command();      // bk: the book moves, each line starting with a space
void status_command();  // .: where the analysis stands ("stat01: ...")

// computer, rating, draw (declined by saying nothing): nothing to do.
void noted_command();

}  // namespace marlek
