// The framework's windows, controls and dispatcher, on a small window made
// for the purpose.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "framework/application.h"
#include "framework/fit_text.h"
#include "framework/runtime.h"
#include "gui/gui_support.h"

namespace {

using namespace framework;
using namespace testing_support;

std::vector<std::string> journal;

// Keeps the event loop busy for a while, as a long search would.
void Compute(std::chrono::milliseconds span) {
  const auto end = std::chrono::steady_clock::now() + span;
  while (std::chrono::steady_clock::now() < end) RuntimeBackgroundTask();
}

class ProbeWindow : public Window {
 public:
  int textChanges = 0;
  int radioActions = 0;
  int pushes = 0;
  int activations = 0;

  void Field1_TextChange() { ++textChanges; }
  void Radio1_Action() { ++radioActions; }
  void Radio2_Action() { ++radioActions; }
  void Other_Action() { ++radioActions; }
  void Go_Action() {
    ++pushes;
    journal.push_back("go begins");
    Compute(std::chrono::milliseconds(60));
    Label("Result").SetText("done");  // the window may have been closed meanwhile
    journal.push_back("go ends");
  }
  void Next_Action() { journal.push_back("next"); }
  void Throw_Action() { throw std::runtime_error("probe failure"); }

 protected:
  void Layout() override { Apply(WindowSpec().Title("Probe").Content(300, 200)); }
  void CreateControls() override {
    Add(EditField("Field1").At(10, 10, 100, 22), &ProbeWindow::Field1_TextChange);
    Add(RadioButton("Radio1").At(20, 60, 80, 20).Caption("one").On(), &ProbeWindow::Radio1_Action);
    Add(RadioButton("Radio2").At(20, 85, 80, 20).Caption("two"), &ProbeWindow::Radio2_Action);
    // A frame made after the radios it holds.
    Add(GroupBox("Frame").At(10, 50, 120, 65).Caption("pair"));
    Add(RadioButton("Other").At(150, 60, 80, 20).Caption("other").On(), &ProbeWindow::Other_Action);
    Add(PushButton("Go").At(150, 150, 60, 25).Caption("go").Default(), &ProbeWindow::Go_Action);
    Add(PushButton("Next").At(220, 150, 60, 25).Caption("next"), &ProbeWindow::Next_Action);
    Add(PushButton("Throw").At(10, 150, 60, 25).Caption("throw"), &ProbeWindow::Throw_Action);
    Add(StaticText("Result").At(10, 120, 200, 20));
    Add(RoundRectangle("Box").At(150, 100, 120, 40));
    Add(StaticText("Inner").At(160, 110, 60, 20).Parent("Box").Text("inside\rnext line").Size(10));
    OnActivate([this] { ++activations; });
  }
};

class Framework : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseAllWindows();
    journal.clear();
  }
  void TearDown() override { CloseAllWindows(); }
};

TEST_F(Framework, SharedInstanceIsBuiltOnceAndAnewAfterClosing) {
  ProbeWindow& w = shared<ProbeWindow>();
  EXPECT_EQ(&shared<ProbeWindow>(), &w);
  EXPECT_EQ(w.textChanges + w.radioActions + w.pushes, 0);  // building runs no handler
  w.Field("Field1").SetText("x");
  w.close();
  Settle();
  EXPECT_EQ(existing<ProbeWindow>(), nullptr);
  ProbeWindow& again = shared<ProbeWindow>();
  EXPECT_EQ(again.Field("Field1").Text(), "");
}

TEST_F(Framework, ControlsInsideAParentCountFromTheWindowCorner) {
  ProbeWindow& w = shared<ProbeWindow>();
  Control& inner = *w.FindControl("Inner");
  EXPECT_EQ(inner.Left(), 160);
  EXPECT_EQ(inner.Top(), 110);
  EXPECT_EQ(inner.Widget().pos(), QPoint(10, 10));  // within the box
  EXPECT_EQ(inner.Widget().font().pixelSize(), 10);
  // Carriage returns are line breaks on screen.
  EXPECT_EQ(static_cast<QLabel&>(inner.Widget()).text(), "inside\nnext line");
  EXPECT_EQ(w.Label("Inner").Text(), "inside\rnext line");
  EXPECT_THROW(w.Label("Missing"), NilObjectException);
  EXPECT_THROW(w.Label("Go"), NilObjectException);  // a button is not a label
}

// (The rounding rule itself: fit_text_test.)
TEST_F(Framework, ALabelRoundsATooLongNumberAndDrawsSmallerOnlyWhatStillDoesNotFit) {
  ProbeWindow& w = shared<ProbeWindow>();
  auto& label = w.Label("Result");  // 200 px wide, 12 px type
  const QFontMetrics metrics(label.font());
  auto width = [&metrics](const std::string& s) { return metrics.horizontalAdvance(QString::fromStdString(s)); };
  // Two numbers too wide together: the most digits that fit in the label's
  // own width, drawn at 12 px; the stored and accessible text keep them all.
  const std::string digits = "17.8511403934928 and -33.0912345678901\u00B7i";
  label.SetText(digits);
  EXPECT_EQ(label.ShownFont(), label.font());
  int kept = 0;
  for (int d = kFewestFitDigits; d < 14; ++d) kept = RoundNumbers(digits, d) == label.ShownText() ? d : kept;
  ASSERT_GE(kept, kFewestFitDigits) << label.ShownText();
  EXPECT_LE(width(label.ShownText()), label.width());
  EXPECT_GT(width(RoundNumbers(digits, kept + 1)), label.width());
  EXPECT_EQ(label.Text(), digits);
  EXPECT_EQ(label.text().toStdString(), digits);
  Screenshot(w, "ProbeWindow-long-label");
  // Four numbers do not fit even at six digits: those are drawn smaller, the
  // record's size kept.
  label.SetText("-17.8511403934928, -33.0912345678901, 1.23456789e-05, 2.71828182845905");
  EXPECT_EQ(label.ShownText(), "-17.8511, -33.0912, 1.23457e-05, 2.71828");
  const QFont shown = label.ShownFont();
  EXPECT_LT(shown.pixelSize(), 12);
  EXPECT_GE(shown.pixelSize(), 7);
  EXPECT_LE(QFontMetrics(shown).horizontalAdvance(QString::fromStdString(label.ShownText())), label.width());
  EXPECT_EQ(label.font().pixelSize(), 12);
  // A text of several lines is drawn as it is.
  auto& inner = w.Label("Inner");
  inner.SetText("a text far too long\rfor sixty pixels");
  EXPECT_EQ(inner.ShownFont(), inner.font());
}

TEST_F(Framework, TextChangeOnEveryCodeSetEvenTheSameText) {
  ProbeWindow& w = shared<ProbeWindow>();
  auto& field = w.Field("Field1");
  for (const char* text : {"abc", "abc", "", ""}) field.SetText(text);
  EXPECT_EQ(w.textChanges, 4);
  Type(field, "12");
  EXPECT_GE(w.textChanges, 6);
  EXPECT_EQ(field.Text(), "12");
}

TEST_F(Framework, RadioActionOnEveryChangeOfValue) {
  ProbeWindow& w = shared<ProbeWindow>();
  w.Radio("Radio2").SetValue(true);  // two changes: Radio2 on, Radio1 off
  EXPECT_EQ(w.radioActions, 2);
  EXPECT_FALSE(w.Radio("Radio1").Value());
  EXPECT_TRUE(w.Radio("Other").Value());  // another group
  w.Radio("Radio2").SetValue(false);  // an exclusive group still lets code switch off
  EXPECT_FALSE(w.Radio("Radio2").Value());
  EXPECT_EQ(w.radioActions, 3);
  w.Radio("Radio2").SetValue(false);  // no change, no action
  EXPECT_EQ(w.radioActions, 3);
  // A click reaches a radio under a frame made after it.
  ClickThroughWindow(w.Radio("Radio2"));
  EXPECT_TRUE(w.Radio("Radio2").Value());
  EXPECT_TRUE(w.Radio("Other").Value());
}

TEST_F(Framework, ReturnPressesTheDefaultButton) {
  ProbeWindow& w = shared<ProbeWindow>();
  w.Field("Field1").setFocus();
  QTest::keyClick(&w.Field("Field1"), Qt::Key_Return);
  EXPECT_EQ(w.pushes, 1);
  QTest::keyClick(&w.Radio("Other"), Qt::Key_Enter);
  EXPECT_EQ(w.pushes, 2);
}

// How often the background ticker's thread has been woken (its context
// switches), -1 when there is no such thread.
long TickerWakeUps() {
  long total = -1;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::string name;
    std::getline(std::ifstream(task.path() / "comm"), name);
    if (name != "ticker") continue;
    std::ifstream status(task.path() / "status");
    total = 0;
    for (std::string line; std::getline(status, line);) {
      if (line.find("ctxt_switches:") != std::string::npos) total += std::stol(line.substr(line.find(':') + 1));
    }
  }
  return total;
}

TEST_F(Framework, AClickDuringAComputationRunsAfterItAndAnIdleProgramIsNotWoken) {
  ProbeWindow& w = shared<ProbeWindow>();
  // The click arrives while Go's computation processes events.
  QTimer::singleShot(10, [&w] { w.Button("Next").click(); });
  const auto ticks = BackgroundTicks();
  w.Button("Go").Push();
  EXPECT_GE(BackgroundTicks() - ticks, 2u);  // 60 ms of computing, a tick per 15 ms
  Settle();
  EXPECT_EQ(journal, (std::vector<std::string>{"go begins", "go ends", "next"}));
  EXPECT_EQ(Dispatcher::Queued(), 0u);
  // Back in the event loop the ticker rests once its last period is out.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const long wakeUps = TickerWakeUps();
  const auto idleTicks = BackgroundTicks();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(BackgroundTicks(), idleTicks);
  ASSERT_GE(wakeUps, 0);
  EXPECT_EQ(TickerWakeUps(), wakeUps);
}

TEST_F(Framework, ClosingAWindowWhileItsHandlerRunsIsSafeAndDropsItsQueuedHandlers) {
  ProbeWindow& w = shared<ProbeWindow>();
  QPointer<ProbeWindow> watch(&w);
  QTimer::singleShot(10, [&w] {
    w.Button("Next").click();  // queued behind Go
    w.close();
  });
  w.Button("Go").Push();  // keeps using its controls after the close
  EXPECT_EQ(existing<ProbeWindow>(), nullptr);
  Settle();
  EXPECT_TRUE(watch.isNull());  // deleted once the handler had returned
  EXPECT_EQ(journal, (std::vector<std::string>{"go begins", "go ends"}));
}

TEST_F(Framework, AnExceptionInAHandlerIsReportedAndTheProgramGoesOn) {
  ProbeWindow& w = shared<ProbeWindow>();
  const int before = UnhandledExceptionCount();
  w.Button("Throw").Push();
  EXPECT_EQ(UnhandledExceptionCount(), before + 1);
  EXPECT_EQ(LastUnhandledException(), "probe failure");
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->windowTitle() == "Unhandled exception") top->close();
  }
  w.Button("Next").Push();
  EXPECT_EQ(journal.back(), "next");
}

// Right-clicks `widget` at `at` through the window; true when a menu opened
// (closed again at once: one that runs its own event loop would block).
bool RightClickOpensAMenu(QWidget& window, QWidget& widget, QPoint at) {
  bool opened = false;
  auto closeMenu = [&opened] {
    if (QWidget* menu = QApplication::activePopupWidget()) {
      opened = true;
      menu->close();
    }
  };
  QTimer timer;
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, closeMenu);
  timer.start(50);
  QTest::mouseClick(window.windowHandle(), Qt::RightButton, Qt::NoModifier, widget.mapTo(&window, at));
  closeMenu();
  return opened;
}

TEST_F(Framework, EditMenuActsOnTheFocusedField) {
  ProbeWindow& w = shared<ProbeWindow>();
  auto* bar = w.findChild<QMenuBar*>();
  auto action = [bar](const char* name) { return bar->findChild<QAction*>(name); };
  QStringList edit;  // every window has the whole Edit menu
  for (QAction* a : bar->actions()[1]->menu()->actions()) edit << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(edit, QStringList({"&Undo", "-", "Cu&t", "&Copy", "&Paste", "&Delete", "-", "Select &All"}));
  auto& field = w.Field("Field1");
  Activate(w);
  Type(field, "0.125");
  field.setFocus();
  action("EditSelectAll")->trigger();
  EXPECT_EQ(field.selectedText(), "0.125");
  action("EditCopy")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "0.125");
  const int changes = w.textChanges;
  action("EditClear")->trigger();
  EXPECT_EQ(field.Text(), "");
  action("EditPaste")->trigger();
  EXPECT_EQ(field.Text(), "0.125");
  EXPECT_EQ(w.textChanges, changes + 2);  // menu edits raise TextChange too
  action("EditUndo")->trigger();
  EXPECT_EQ(field.Text(), "");
  // Delete deletes the selection, and nothing without one.
  Type(field, "0.25");
  field.setCursorPosition(0);
  action("EditClear")->trigger();
  EXPECT_EQ(field.Text(), "0.25");
  field.setSelection(1, 2);
  action("EditClear")->trigger();
  EXPECT_EQ(field.Text(), "05");
  // A right click opens no menu of the field's own.
  EXPECT_FALSE(RightClickOpensAMenu(w, field, field.rect().center()));
}

TEST_F(Framework, ActivationRunsTheWindowsHandlerAndQuitEndsTheEventLoop) {
  ProbeWindow& w = shared<ProbeWindow>();
  const int before = w.activations;
  QApplication::setActiveWindow(nullptr);
  Settle();
  Activate(w);
  EXPECT_EQ(w.activations, before + 1);
  QTimer::singleShot(0, [&w] { QTest::keyClick(&w, Qt::Key_Q, Qt::ControlModifier); });
  QTimer::singleShot(2000, [] { QCoreApplication::exit(99); });  // a safety net
  EXPECT_EQ(QApplication::exec(), 0);
}

class ListProbe : public Window {
 public:
  std::vector<std::string> edits;
  int clicks = 0;
  int scrolls = 0;

  bool List1_CellClick(int row, int column, int, int) {
    ++clicks;
    List("List1").SetCellEditable(row, 1);
    List("List1").EditCell(row, 1);
    (void)column;
    return false;
  }
  void List1_CellTextChange(int row, int column) {
    edits.push_back(List("List1").Cell(row, column));
    // Writing the cell being edited must not disturb the typing.
    List("List1").SetCell(row, column, List("List1").Cell(row, column));
  }
  void Bar_ValueChanged() { ++scrolls; }

 protected:
  void Layout() override { Apply(WindowSpec().Title("Lists").Content(300, 200)); }
  void CreateControls() override {
    Add(Listbox("List1").At(10, 10, 200, 120).Size(14).Italic().Set("ColumnCount", 2)
            .Set("ColumnWidths", std::string("30%, 70%")).Set("HasHeading", true)
            .Set("GridLinesVertical", 3));
    BindCellClick("List1", &ListProbe::List1_CellClick);
    BindCellTextChange("List1", &ListProbe::List1_CellTextChange);
    Add(ScrollBar("Bar").At(285, 0, 15, 200).Range(0, 100).Steps(1, 50), &ListProbe::Bar_ValueChanged);
  }
};

using Lists = WindowTest;

TEST_F(Lists, RowsCellsAndHeadings) {
  ListProbe& w = shared<ListProbe>();
  // The scroll bar beside it: building sets its value without an event.
  EXPECT_EQ(w.scrolls, 0);
  w.Scroll("Bar").SetValue(30);
  EXPECT_EQ(w.scrolls, 1);
  // Scroll bars have no context menu either.
  EXPECT_FALSE(RightClickOpensAMenu(w, w.Scroll("Bar"), QPoint(7, 100)));
  auto& list = w.List("List1");
  EXPECT_EQ(list.columnWidth(0) + list.columnWidth(1), list.viewport()->width());
  EXPECT_NEAR(list.columnWidth(0), 0.3 * list.viewport()->width(), 1.5);
  EXPECT_EQ(list.LastIndex(), -1);
  EXPECT_EQ(list.Heading(0), "");  // not a column number
  for (int i = 0; i < 3; ++i) {
    list.AddRow(" ");
    list.SetCell(list.LastIndex(), 0, "row" + std::to_string(i));
    list.SetCell(list.LastIndex(), 1, std::to_string(i * 10));
  }
  EXPECT_EQ(list.ListCount(), 3);
  EXPECT_EQ(list.LastIndex(), 2);
  EXPECT_EQ(list.Cell(1, 0), "row1");
  EXPECT_EQ(list.Cell(2, 1), "20");
  EXPECT_THROW(list.Cell(5, 0), std::out_of_range);
  EXPECT_EQ(list.CellFont(1, 0), list.font());
  // A number too wide for its column is drawn with fewer digits at the
  // list's size; the cell keeps them all.
  list.SetCell(1, 1, "-0.0999611609861660");
  EXPECT_EQ(list.CellFont(1, 1), list.font());
  const QString shown = QString::fromStdString(list.ShownCell(1, 1));
  EXPECT_GE(shown.size(), 10);  // at least "-0.0999612"
  EXPECT_TRUE(QString("-0.0999611609861660").startsWith(shown.chopped(1))) << shown.toStdString();
  EXPECT_LE(QFontMetrics(list.font()).horizontalAdvance(shown), list.columnWidth(1));
  EXPECT_EQ(list.Cell(1, 1), "-0.0999611609861660");
  // Only a text that still does not fit is drawn smaller.
  list.SetCell(2, 0, "-0.0999611609861660");
  EXPECT_EQ(list.ShownCell(2, 0), "-0.0999612");
  EXPECT_LT(list.CellFont(2, 0).pixelSize(), list.font().pixelSize());
  Screenshot(w, "ListProbe");
  // Rows enough for a scroll bar: the columns give it their width.
  for (int i = 0; i < 20; ++i) list.AddRow("more");
  Settle();
  ASSERT_TRUE(list.verticalScrollBar()->isVisible());
  EXPECT_EQ(list.columnWidth(0) + list.columnWidth(1), list.viewport()->width());
  EXPECT_LT(list.viewport()->width(), list.width() - list.verticalScrollBar()->width() + 1);
  list.DeleteAllRows();
  EXPECT_EQ(list.ListCount(), 0);
  EXPECT_EQ(list.LastIndex(), -1);
}

// Rows are filled as a long computation fills them, the hook processing
// events between them: ten times the rows take about ten times as long, and
// every row is one line of the list's type high.
TEST_F(Lists, RowsFillInTimeInProportionToTheirCount) {
  ListProbe& w = shared<ListProbe>();
  auto& list = w.List("List1");
  auto fill = [&list](int rows) {
    list.DeleteAllRows();
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < rows; ++r) {
      list.AddRow(std::to_string(r));
      list.SetCell(r, 1, "35.0123456789");
      RuntimeBackgroundTask();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  // The fastest of repeated fills, as a busy machine only ever slows one;
  // sizing each row on its own gave ratios of 37 to 45.
  const double few = std::min({fill(5000), fill(5000), fill(5000)});
  const double many = std::min(fill(50000), fill(50000));
  EXPECT_LT(many / few, 25) << few << " s, " << many << " s";
  const int line = QFontMetrics(list.font()).height() + 4;
  for (int r : {0, 25000, 49999}) EXPECT_EQ(list.rowHeight(r), line);
  list.DeleteAllRows();
}

TEST_F(Lists, EditingACellReportsEveryKeystrokeWithTheLiveText) {
  ListProbe& w = shared<ListProbe>();
  Activate(w);
  auto& list = w.List("List1");
  list.AddRow("H2O");
  list.SetCell(0, 1, "");
  const QRect cell = list.visualRect(list.model()->index(0, 0));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  EXPECT_EQ(w.clicks, 1);
  auto* editor = list.viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  QTest::keyClicks(editor, "0.35");
  EXPECT_EQ(w.edits, (std::vector<std::string>{"0", "0.", "0.3", "0.35"}));
  EXPECT_EQ(editor->text(), "0.35");
  EXPECT_EQ(editor->cursorPosition(), 4);
  QTest::keyClick(editor, Qt::Key_Left);
  QTest::keyClicks(editor, "2");  // typed in the middle stays in the middle
  EXPECT_EQ(editor->text(), "0.325");
  EXPECT_EQ(w.edits.back(), "0.325");
}

}  // namespace
