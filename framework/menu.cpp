#include "framework/menu.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace framework {

MenuItem* MenuItem::Child(std::string_view name) const {
  for (const auto& c : children_) {
    if (c->Name == name) return c.get();
  }
  return nullptr;
}

QKeySequence ShortcutFromNotation(const std::string& notation) {
  QString s = QString::fromStdString(notation);
  s.replace(QStringLiteral("Cmd+"), QStringLiteral("Ctrl+"));
  return QKeySequence::fromString(s, QKeySequence::PortableText);
}

namespace {

// The standard editing actions, applied to the focused text field.
void EditFocused(const std::string& name) {
  auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  if (field == nullptr) return;
  if (name == "EditUndo") {
    field->undo();
  } else if (name == "EditCut") {
    field->cut();
  } else if (name == "EditCopy") {
    field->copy();
  } else if (name == "EditPaste") {
    field->paste();
  } else if (name == "EditClear") {
    // Delete removes the selection; without one it leaves the text alone
    // (QLineEdit::del would take the character after the cursor).
    if (field->hasSelectedText()) field->del();
  } else if (name == "EditSelectAll") {
    field->selectAll();
  }
}

void AddItems(const MenuItem& menu, QMenu* qmenu) {
  for (const auto& item : menu.Children()) {
    if (item->Text == "-") {
      qmenu->addSeparator();
      continue;
    }
    QAction* action = qmenu->addAction(QString::fromStdString(item->Text));
    action->setObjectName(QString::fromStdString(item->Name));
    if (!item->KeyboardShortcut.empty()) action->setShortcut(ShortcutFromNotation(item->KeyboardShortcut));
    if (item->IsQuit()) {
      QObject::connect(action, &QAction::triggered, [] { QApplication::quit(); });
    } else {
      QObject::connect(action, &QAction::triggered, [name = item->Name] { EditFocused(name); });
    }
  }
}

}  // namespace

QMenuBar* BuildMenuBar(const MenuItem& bar, QWidget* parent) {
  auto* qbar = new QMenuBar(parent);
  qbar->setNativeMenuBar(false);
  for (const auto& menu : bar.Children()) {
    QMenu* qmenu = qbar->addMenu(QString::fromStdString(menu->Text));
    qmenu->setObjectName(QString::fromStdString(menu->Name));
    AddItems(*menu, qmenu);
  }
  return qbar;
}

}  // namespace framework
