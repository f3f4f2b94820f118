// Helpers for driving real windows in tests: typing, clicking through the
// window system, screenshots.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "framework/window.h"

namespace testing_support {

// Closes every window and lets Qt delete them, so each test starts clean.
void CloseAllWindows();

// Types `text` into a field as keystrokes (after clearing it).
void Type(framework::EditFieldControl& field, const std::string& text);

// Clicks the centre of a control by sending the click to the window's
// QWindow, so that Qt's hit-testing decides which widget gets it.
void ClickThroughWindow(framework::Control& control);

// Saves a screenshot of the window into the build tree.
void Screenshot(QWidget& window, const std::string& name);

// Makes the window the active one, as a user's click would, so that focus
// and shortcuts work.
void Activate(QWidget& window);

// Processes pending events (posted clicks, deferred deletes).
void Settle();

// Sets the mole fractions: the gases given, every other one 0.
void SetMixture(std::initializer_list<std::pair<int, double>> parts);

// Activates a window with a root panel, types P and T into its fields and
// presses "calculate molar volume".
framework::Window& Calculate(framework::Window& w, const std::string& P, const std::string& T);

// A test that starts with no window open and the module state as the program
// starts it, and ends with every window closed and no handler having thrown.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  int reports_ = 0;
};

// Presses `button` with `meddle` run as a timer fires inside the first pass
// of the computation it starts (the background hook runs on every pass until
// then), as a user's click during a long search would.
void PressDuringFirstPass(framework::Window& w, const char* button, const std::function<void()>& meddle);

// A label's text, and the number it reads as.
std::string Text(framework::Window& w, const char* label);
double Number(framework::Window& w, const char* label);

}  // namespace testing_support
