// The application object: Qt set-up, the background hook that keeps windows
// responsive during long computations, the dispatcher that runs every
// program handler, and the report of exceptions that no handler caught.
#pragma once

#include <QPointer>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "framework/menu.h"

class QApplication;

namespace framework {

class Window;

// Every handler of the program runs through Run(). A handler that arrives
// while events are processed from inside RuntimeBackgroundTask is queued and
// run, in order, after the running handler returns, so no handler ever runs
// inside another's computation. Events that the running handler's own code
// raises (TextChange of a field it sets, Action of a radio it switches) run
// at once. A window closed while one of its handlers runs is deleted only
// after that handler has returned.
class Dispatcher {
 public:
  static void Run(Window* window, const std::function<void()>& handler);
  // As Run, for a button press: a press that arrives while the same press
  // (the same `source`) is already queued is dropped, so a held-down Return
  // does not line up one whole computation per key repeat.
  static void RunPress(Window* window, const std::function<void()>& handler, const void* source);
  // True while the background hook processes events.
  static bool InBackground();
  // The hook body: processes pending events once (never nested).
  static void ProcessPendingEvents();
  // Handlers waiting for the running one to return.
  static std::size_t Queued();

 private:
  static void Drain();
};

// Reports an exception that no handler caught: one line on stderr and a
// non-modal message window.
void RuntimeUnhandledException(const std::string& what);
// Shows `text` in a message window that does not block: the program goes on
// while it is open, and the user closes it.
void ShowMessage(const std::string& title, const std::string& text);

// How many reports have been made (for tests).
int UnhandledExceptionCount();
std::string LastUnhandledException();

class Application {
 public:
  // Sets up Qt: Fusion style, white palette, fonts, the background hook.
  Application(int& argc, char** argv);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  static Application* Instance();

  // The one menu bar, shown in every window.
  void SetMenuBar(std::shared_ptr<MenuItem> bar) { menuBar_ = std::move(bar); }
  const std::shared_ptr<MenuItem>& MenuBar() const { return menuBar_; }
  void ReleaseMenuBar() { menuBar_.reset(); }

  // The event loop; an exception that leaves it is reported, not rethrown.
  int Run();

  QApplication& Qt() { return *qt_; }

 private:
  std::unique_ptr<QApplication> qt_;
  std::shared_ptr<MenuItem> menuBar_;
};

}  // namespace framework
