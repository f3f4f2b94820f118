#include "gui/gui_support.h"

#include <QDir>
#include <QTimer>

#include "core/globals.h"
#include "framework/application.h"
#include "framework/runtime.h"

namespace testing_support {

void Settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
  }
}

void Activate(QWidget& window) {
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  Settle();
}

void CloseAllWindows() {
  for (framework::Window* w : framework::AllWindows()) {
    if (!w->IsClosed()) w->close();
  }
  Settle();
}

void Type(framework::EditFieldControl& field, const std::string& text) {
  field.setFocus();
  field.selectAll();
  QTest::keyClick(&field, Qt::Key_Delete);
  QTest::keyClicks(&field, QString::fromStdString(text));
}

void ClickThroughWindow(framework::Control& control) {
  QWidget& w = control.Widget();
  QWidget* top = w.window();
  QWindow* handle = top->windowHandle();
  const QPoint centre = w.mapTo(top, w.rect().center());
  QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, centre);
  Settle();
}

void Screenshot(QWidget& window, const std::string& name) {
  QDir().mkpath(QStringLiteral(SCREENSHOT_DIR));
  window.grab().save(QStringLiteral(SCREENSHOT_DIR "/") + QString::fromStdString(name) + ".png");
}

void SetMixture(std::initializer_list<std::pair<int, double>> parts) {
  Globals::fraction = {};
  for (auto [gas, x] : parts) Globals::fraction[gas] = x;
}

framework::Window& Calculate(framework::Window& w, const std::string& P, const std::string& T) {
  Activate(w);
  Type(w.Field("dataEntry"), P);
  Type(w.Field("dataEntry1"), T);
  w.Button("calculate").Push();
  return w;
}

void WindowTest::SetUp() {
  CloseAllWindows();
  Globals::InitProperties();
  reports_ = framework::UnhandledExceptionCount();
}

void WindowTest::TearDown() {
  EXPECT_EQ(framework::UnhandledExceptionCount(), reports_) << framework::LastUnhandledException();
  CloseAllWindows();
}

void PressDuringFirstPass(framework::Window& w, const char* button, const std::function<void()>& meddle) {
  using namespace framework;
  const BackgroundHook saved = CurrentBackgroundHook();
  SetBackgroundHook([] { Dispatcher::ProcessPendingEvents(); }, std::chrono::milliseconds(0));
  QTimer::singleShot(0, [&] {
    SetBackgroundHook(saved);
    meddle();
  });
  w.Button(button).Push();
  SetBackgroundHook(saved);
  Settle();
}

std::string Text(framework::Window& w, const char* label) { return w.Label(label).Text(); }
double Number(framework::Window& w, const char* label) { return Val(w.Label(label).Text()); }

}  // namespace testing_support
