#pragma once
// The engine's introduction to the GUI. Built first thing at start-up: it
// announces the protocol features and readies the command table. The GUI
// waits for "feature done=1", which follows once the engine has loaded.
namespace marlek {

class winboard_interface {
 public:
  winboard_interface();
};

}  // namespace marlek
