#include "app/menubar.h"

#include <stdexcept>

#include "framework/window.h"

namespace app {

namespace {

std::shared_ptr<framework::MenuItem> slot;

template <class Kind = framework::MenuItem>
std::shared_ptr<framework::MenuItem> Item(const char* name, const char* text, const char* shortcut) {
  auto item = std::make_shared<Kind>();
  item->Name = name;
  item->AutoEnable = true;
  item->Text = text;
  item->KeyboardShortcut = shortcut;
  return item;
}

void AppendTo(framework::MenuItem& bar, const char* menu, std::shared_ptr<framework::MenuItem> item) {
  framework::MenuItem* m = bar.Child(menu);
  if (m == nullptr) throw framework::NilObjectException(std::string("no menu ") + menu);
  m->Append(std::move(item));
}

void Untitled0(framework::MenuItem& bar) {
  bar.Append(Item("FileMenu", "&File", ""));
  AppendTo(bar, "FileMenu", Item<framework::QuitMenuItem>("FileQuit", "&Quit", "Cmd+Q"));
}

void Untitled1(framework::MenuItem& bar) {
  bar.Append(Item("EditMenu", "&Edit", ""));
  AppendTo(bar, "EditMenu", Item("EditUndo", "&Undo", "Cmd+Z"));
  AppendTo(bar, "EditMenu", Item("UntitledMenu1", "-", ""));
  AppendTo(bar, "EditMenu", Item("EditCut", "Cu&t", "Cmd+X"));
  AppendTo(bar, "EditMenu", Item("EditCopy", "&Copy", "Cmd+C"));
  AppendTo(bar, "EditMenu", Item("EditPaste", "&Paste", "Cmd+V"));
  AppendTo(bar, "EditMenu", Item("EditClear", "&Delete", ""));
  AppendTo(bar, "EditMenu", Item("UntitledMenu0", "-", ""));
  AppendTo(bar, "EditMenu", Item("EditSelectAll", "Select &All", "Cmd+A"));
}

}  // namespace

std::shared_ptr<framework::MenuItem> MenuBar1() {
  if (!slot) {
    auto bar = std::make_shared<framework::MenuBar>();
    Untitled0(*bar);
    Untitled1(*bar);
    slot = bar;
  }
  return slot;
}

void ReleaseMenuBar1() { slot.reset(); }

}  // namespace app
