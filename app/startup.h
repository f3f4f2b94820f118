// The life of the process: framework up, shared state, menu bar, start
// window, event loop, then everything released in order.
#pragma once

namespace app {

struct StartOptions {
  // Leave the event loop as soon as the start window is on screen (used to
  // measure start-up).
  bool quitWhenShown = false;
};

int RunProgram(int argc, char** argv, const StartOptions& options = {});

}  // namespace app
