#pragma once
// `white` and `black`, the colour words of protocol version 1: "white" puts
// White on move and sets the engine to play Black, "black" the reverse.
//
// GUIs send them in pairs around a clock update ("black", "time", "otim",
// "white", "go") only to suit old engines, so a word is held back until a
// command other than a colour or clock word arrives: a pair that ends where
// it began then costs the game nothing, where a side put on move and back
// would start the game afresh from its current position.
#include <string_view>

namespace marlek {

void white_command();
void black_command();

// Called with every command word before its handler runs: hands a colour
// word held back to the engine unless `word` lets it wait.
void settle_colour_word(std::string_view word);

}  // namespace marlek
