// Menus: a tree of named items that every window shows in its own menu bar.
// The quit item quits; items named EditUndo, EditCut, EditCopy, EditPaste,
// EditClear and EditSelectAll act on the text field that has the focus.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QKeySequence;
class QMenuBar;
class QWidget;

namespace framework {

class MenuItem {
 public:
  virtual ~MenuItem() = default;

  std::string Name;
  std::string Text;              // "-" makes a separator; "&" marks the access key
  std::string KeyboardShortcut;  // "Cmd+Q" and the like; empty for none
  bool AutoEnable = true;

  void Append(std::shared_ptr<MenuItem> item) { children_.push_back(std::move(item)); }
  // The direct child of that name, or nullptr.
  MenuItem* Child(std::string_view name) const;
  const std::vector<std::shared_ptr<MenuItem>>& Children() const { return children_; }
  virtual bool IsQuit() const { return false; }

 private:
  std::vector<std::shared_ptr<MenuItem>> children_;
};

class QuitMenuItem : public MenuItem {
 public:
  bool IsQuit() const override { return true; }
};

class MenuBar : public MenuItem {};

// "Cmd+Q" -> Ctrl+Q: the command key of the original notation is Ctrl here.
QKeySequence ShortcutFromNotation(const std::string& notation);

// A menu bar for `parent` showing the tree under `bar`.
QMenuBar* BuildMenuBar(const MenuItem& bar, QWidget* parent);

}  // namespace framework
