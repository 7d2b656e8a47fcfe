#pragma once
// The words of a UCI command line, and the commands that carry arguments
// read into plain values. Parsing only reads text: whether a FEN makes a
// sound position or a move is legal is the engine thread's to judge. A
// parser that refuses its line says why in `error`, ready for an
// "info string" line, and leaves its result unusable.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine_interface.h"

namespace marlek {

// A line split at runs of spaces, tabs and carriage returns (GUIs on Windows
// end their lines with one).
std::vector<std::string_view> uci_words(std::string_view line);

// position startpos|fen FEN [moves M...]
struct uci_position {
  bool from_start = false;
  // The FEN fields, joined by single spaces; empty from the start position.
  std::string fen;
  // Coordinate notation, promotion letters in lower case.
  std::vector<std::string> moves;
};
bool parse_position(const std::vector<std::string_view>& words, uci_position& out,
                    std::string& error);

// go [wtime N] [btime N] [winc N] [binc N] [movestogo N] [movetime N]
//    [depth N] [nodes N] [mate N] [infinite] [ponder] [searchmoves M...]
// Times are in milliseconds; numbers beyond 2^50 either way are read as
// 2^50. Words it does not know, and numbers that cannot be read, are
// reported in `unknown` and left out; the search still runs.
bool parse_go(const std::vector<std::string_view>& words, search_request& out,
              std::string& unknown);

// setoption name NAME [value VALUE]; both may hold spaces.
struct uci_setoption {
  std::string name;
  std::optional<std::string> value;
};
bool parse_setoption(const std::vector<std::string_view>& words, uci_setoption& out,
                     std::string& error);

}  // namespace marlek
