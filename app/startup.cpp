#include "app/startup.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/menubar.h"
#include "pictures/pictures.h"
#include "app/setup_windows.h"
#include "core/globals.h"
#include "framework/application.h"

namespace app {

namespace {

bool HasDisplay() {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
  };
  // An explicit platform (offscreen, vnc, ...) needs no display of ours.
  return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

int RunProgram(int argc, char** argv, const StartOptions& options) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "tasko: no display to open windows on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
    return 1;
  }
  framework::Application application(argc, argv);
  // The shared state exists before the application object's menu bar and
  // before any window.
  Globals::InitProperties();
  application.SetMenuBar(MenuBar1());

  int status = 0;
  try {
    framework::shared<Start1Window>();
    if (options.quitWhenShown) QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    status = application.Run();
  } catch (const std::exception& e) {
    framework::RuntimeUnhandledException(e.what());
  }

  pictures::ReleasePictures();
  framework::ReleaseWindows();
  application.ReleaseMenuBar();
  ReleaseMenuBar1();
  Globals::ExitProperties();
  return status;
}

}  // namespace app
