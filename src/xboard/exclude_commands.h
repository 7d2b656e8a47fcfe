#pragma once
// The GUI's choice of the root moves to search in analysis (and in play):
// moves left out of the root and taken back in, until the position changes.
namespace marlek {

void exclude_command();  // exclude MOVE, or exclude all
void include_command();  // include MOVE, or include all

}  // namespace marlek
