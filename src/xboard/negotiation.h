#pragma once
// What the GUI and the engine have settled about the protocol, kept in one
// place and read by the handlers that depend on it. All of it lives on the
// main thread, which alone reads commands.
//
// A GUI of protocol version 2 answers `protover N` and then each announced
// feature with `accepted NAME` or `rejected NAME`. A GUI of version 1 sends
// neither: it knows no `usermove` or `setboard`, and it sends moves bare and
// positions through `edit`. The engine accepts bare moves and `edit` in any
// case, so a rejected feature never stops it: it only takes note.
#include <set>
#include <string>
#include <string_view>

namespace marlek {

struct negotiated_protocol {
  // 1 until the GUI sends `protover N`.
  int version = 1;
  // Whether the GUI accepted `usermove` (moves come as "usermove MOVE") and
  // `setboard` (positions come as FEN); until then, as in version 1, moves
  // come bare and positions through `edit`.
  bool usermove = false;
  bool setboard = false;
  // The features the GUI rejected, by name (at most max_noted of them).
  std::set<std::string, std::less<>> rejected;
  // Whether a command has set up the game or the engine's side yet (`new`,
  // `force`, `go`, a move, a position...). Until one has, a bare move finds
  // the engine as `new` would leave it: a GUI of version 1 may send its
  // first move without any of those.
  bool game_begun = false;

  static constexpr std::size_t max_noted = 64;
};

// The one record, for the main thread.
negotiated_protocol& negotiation();

// protover N: the GUI speaks version N (2 or later).
void protover_command();
// accepted NAME / rejected NAME: noted; nothing is written either way.
void accepted_command();
void rejected_command();

// Called with every command word before its handler runs: the words that
// set up the game or the engine's side end the time before the game.
void note_command_word(std::string_view word);

}  // namespace marlek
