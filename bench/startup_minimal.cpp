// The yardstick for start-up: the least a Qt Widgets program does to show
// one empty window, then exit.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QWidget window;
  window.resize(540, 695);
  window.show();
  QTimer::singleShot(0, [] { QCoreApplication::quit(); });
  return QApplication::exec();
}
