#include "framework/application.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMessageBox>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <cstdio>
#include <exception>

#include "framework/runtime.h"
#include "framework/window.h"

namespace framework {

namespace {

Application* instance = nullptr;

struct Pending {
  QPointer<Window> window;
  std::function<void()> handler;
  const void* source = nullptr;  // the pressed button, for RunPress
};

std::deque<Pending>& Queue() {
  static std::deque<Pending> queue;
  return queue;
}

int depth = 0;             // program handlers on the stack
bool inBackground = false; // inside processEvents called from a loop
bool draining = false;
int reports = 0;
std::string lastReport;

void HookBody() { Dispatcher::ProcessPendingEvents(); }

}  // namespace

// ---- Dispatcher ----

void Dispatcher::Run(Window* window, const std::function<void()>& handler) {
  if (!handler) return;
  if (inBackground) {
    Queue().push_back({QPointer<Window>(window), handler});
    return;
  }
  ++depth;
  if (window) ++window->handlerDepth_;
  try {
    handler();
  } catch (const std::exception& e) {
    RuntimeUnhandledException(e.what());
  } catch (...) {
    RuntimeUnhandledException("unknown exception");
  }
  if (window) {
    --window->handlerDepth_;
    DeleteClosedWindow(window);
  }
  --depth;
  if (depth == 0) {
    Drain();
    BackgroundIdle();  // back to the event loop: no ticks until the next computation
  }
}

void Dispatcher::RunPress(Window* window, const std::function<void()>& handler, const void* source) {
  if (inBackground && handler) {
    for (const Pending& p : Queue()) {
      if (p.source == source && p.window.data() == window) return;
    }
    Queue().push_back({QPointer<Window>(window), handler, source});
    return;
  }
  Run(window, handler);
}

void Dispatcher::Drain() {
  if (draining) return;
  draining = true;
  while (!Queue().empty()) {
    Pending next = std::move(Queue().front());
    Queue().pop_front();
    // A handler of a window that has been closed meanwhile is dropped.
    if (next.window.isNull() || next.window->IsClosed()) continue;
    Run(next.window.data(), next.handler);
  }
  draining = false;
}

bool Dispatcher::InBackground() { return inBackground; }

std::size_t Dispatcher::Queued() { return Queue().size(); }

void Dispatcher::ProcessPendingEvents() {
  if (inBackground || QCoreApplication::instance() == nullptr) return;
  inBackground = true;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  inBackground = false;
}

// ---- Reports ----

void RuntimeUnhandledException(const std::string& what) {
  ++reports;
  lastReport = what;
  std::fprintf(stderr, "Unhandled exception: %s\n", what.c_str());
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Unhandled exception"),
                                QString::fromStdString(what));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
  }
}

void ShowMessage(const std::string& title, const std::string& text) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    return;
  }
  auto* box = new QMessageBox(QMessageBox::Information, QString::fromStdString(title),
                              QString::fromStdString(text));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->show();
}

int UnhandledExceptionCount() { return reports; }
std::string LastUnhandledException() { return lastReport; }

// ---- Application ----

Application::Application(int& argc, char** argv) {
  qt_ = std::make_unique<QApplication>(argc, argv);
  instance = this;
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QPalette p = QApplication::style()->standardPalette();
  p.setColor(QPalette::Window, Qt::white);
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::WindowText, Qt::black);
  p.setColor(QPalette::Text, Qt::black);
  p.setColor(QPalette::ButtonText, Qt::black);
  QApplication::setPalette(p);
  QFont f(QStringLiteral("DejaVu Sans Condensed"));
  f.setPixelSize(12);
  QApplication::setFont(f);
  QApplication::setQuitOnLastWindowClosed(true);
  SetBackgroundHook(&HookBody);
  // Whatever ran (a handler, start-up code), once the event loop waits for
  // events nothing is computing.
  if (QAbstractEventDispatcher* events = QAbstractEventDispatcher::instance()) {
    QObject::connect(events, &QAbstractEventDispatcher::aboutToBlock, [] { BackgroundIdle(); });
  }
}

Application::~Application() {
  SetBackgroundHook(nullptr);
  ReleaseWindows();
  menuBar_.reset();
  instance = nullptr;
}

Application* Application::Instance() { return instance; }

int Application::Run() {
  try {
    return QApplication::exec();
  } catch (const std::exception& e) {
    RuntimeUnhandledException(e.what());
  } catch (...) {
    RuntimeUnhandledException("unknown exception");
  }
  return 0;
}

}  // namespace framework
