#pragma once
// The commands the main thread settles itself: the flags read by the
// search, the words the engine has no use for, and the end of the process.
namespace marlek {

void post_command();    // post: print thinking lines
void nopost_command();  // nopost
void hard_command();    // hard: think on the opponent's time
void easy_command();    // easy

// ics, name, random, result, xboard: nothing to do.
void ignored_command();

// Ends the process with status 0: puts the engine into force mode, silences
// the timer, gives the engine a moment to leave its state (a deferred pong
// is printed then), and exits. Also run when standard input ends.
[[noreturn]] void quit_command();

}  // namespace marlek
