#pragma once
// The variant of the games to come: standard chess, or FischerRandom
// (Chess960), as the GUI names it with `variant` before it sets a game up.
namespace marlek {

// variant normal | fischerandom: applies from the next `new` or `setboard`.
void variant_command();

// Whether the games set up from now on are FischerRandom. Main thread only.
bool playing_fischerandom();

}  // namespace marlek
