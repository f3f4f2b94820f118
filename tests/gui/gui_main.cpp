// Runs the GUI tests headless with the real application object and menu bar.
#include <gtest/gtest.h>

#include <QtGlobal>
#include <cstdlib>

#include "app/menubar.h"
#include "core/globals.h"
#include "framework/application.h"

namespace {
// The offscreen platform cannot raise windows or size them by hints, and says
// so every time; nor is there a runtime directory in CI.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QStringLiteral("This plugin does not support")) ||
      message.contains(QStringLiteral("XDG_RUNTIME_DIR"))) {
    return;
  }
  qt_message_output(type, context, message);
}
}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(QuietHandler);
  ::testing::InitGoogleTest(&argc, argv);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  framework::Application application(argc, argv);
  Globals::InitProperties();
  application.SetMenuBar(app::MenuBar1());
  return RUN_ALL_TESTS();
}
