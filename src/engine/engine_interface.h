#pragma once
// The engine's face towards the front ends: everything a protocol can ask
// of the engine, as calls that return at once. The game, the searches and
// the tables belong to the engine thread, so most of these hand a message to
// it; the clock, the limits and the flags are single words that the engine
// reads when it next needs them. The engine answers through the front end
// installed with install_front_end (base/front_end.h), and its settings are
// the table of engine/settings.h. A front end reaches the engine only here.
//
// Two ways of playing meet here. A GUI of the xboard kind lets the engine
// keep the game: it sends the moves one by one and puts the engine into a
// mode (force, analysis, waiting for the opponent, on move), and the engine
// plays its own moves on its board. A GUI of the UCI kind keeps the game
// itself: it sends the whole game before each search and asks for one best
// move per search, which the engine only reports. Every search started gets
// exactly one best move, whatever comes between.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/settings.h"
#include "threads/search_messages.h"

namespace marlek::engine_api {

// The game -----------------------------------------------------------------

// The standard start position, as FEN.
std::string_view start_position();
// Each way of setting a game up takes `chess960`: the game is one of
// Chess960, whose castling is told apart from standard chess by the FEN's
// castling field or by this flag alone (in a Chess960 game the start
// position castles the Chess960 way too). The book is for the standard
// game and stays out of a Chess960 one.
//
// A new game from the start: the book on, the engine waiting for the
// opponent's move (so it plays Black unless told to move). A running search
// is abandoned first, so no move of the old game comes after. The depth cap
// and the node rate are the old game's and end with it.
void new_game(bool chess960 = false);
// A new game from a FEN text, checked and reported on the engine thread;
// the book is off (a set-up position is not from the book's games).
void set_position(std::string_view fen, bool chess960 = false);
// The game as `fen` (the start position when `from_start`) followed by
// `moves` in coordinate notation, played as the game's moves so that
// repetitions and the fifty-move rule count them. A bad FEN or move is
// reported, and the engine keeps the game it had.
void set_game(bool from_start, std::string fen, std::vector<std::string> moves,
              bool chess960 = false);
// The opponent's move, as the GUI wrote it; its legality is judged when it
// is played.
void play_opponent_move(std::string_view text);
// Takes back the last move, or the last two.
void take_back_one();
void take_back_two();
// The board changed square by square (by 8 * rank + file: 0 keeps the
// square, '.' empties it, a piece letter puts that piece there).
void edit_position(const std::array<char, 64>& changes);
// Puts `side` (0 White, 1 Black) on move; the engine plays the other side.
void put_on_move(std::int32_t side);

// Modes of an engine that keeps the game -------------------------------------

void enter_force_mode();
void enter_analysis();
// Take the side to move and think.
void think_on_move();
void wait_for_opponent();
// Move now, if thinking.
void move_now();
// The root moves the searches of the current position leave out (xboard's
// exclude and include): one move, as the GUI wrote it, or all of them. A
// change during a search starts its iteration again with the new choice; a
// new position searches every move again. With every move left out,
// analysis waits for one to be taken back in, and the engine's own move is
// chosen among all of them.
void exclude_move(std::string_view text);
void include_move(std::string_view text);
void exclude_all_moves();
void include_all_moves();

// Searches of a GUI that keeps the game ----------------------------------------

void start_search(search_request request);
// The running search gives its best move now.
void stop_search();
// The opponent played the move pondered on.
void ponder_hit();

// Answers ----------------------------------------------------------------------

// Answered with a pong of the same number (never 0) once the engine has
// dealt with everything before it, and, while the engine is on move, once
// it has moved.
void ping(std::int32_t number);
// Answered with a pong as soon as the engine thread reaches it, also
// during a search, which goes on undisturbed.
void ask_ready();
void ask_hint();
void ask_book_moves();
// Where the analysis stands, answered at once from what the search
// publishes; nothing when the engine does not analyse.
void ask_status();

// Flags, clock and limits --------------------------------------------------------

void set_posting(bool on);
void set_pondering(bool on);
// The xboard clock (engine/time_control.h explains it).
void set_time_control(std::int32_t moves, std::int64_t base_ms, std::int64_t increment_ms);
void set_own_time(std::int64_t centis);
void set_opp_time(std::int64_t centis);
// The xboard limits: a fixed time per move (0: the clock again), a depth
// cap in plies (0: none), nodes per second in place of the clock (0: none).
void set_move_time(std::int64_t ms);
void set_depth_cap(int plies);
void set_node_rate(std::uint64_t nodes_per_second);

// The end ----------------------------------------------------------------------

// Ends the process with status 0 (see quit_engine).
[[noreturn]] void quit();

}  // namespace marlek::engine_api
