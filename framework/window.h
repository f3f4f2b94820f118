// Windows: top-level widgets with their own menu bar and a content area of
// exactly the size their record gives; controls are children of the content.
// Each window class has one shared instance, obtained through shared<T>().
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <typeindex>
#include <vector>

#include "framework/controls.h"
#include "framework/spec.h"

class QButtonGroup;
class QMenuBar;

namespace framework {

// A look-up that found nothing: the framework's "nil object".
class NilObjectException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Window : public QWidget {
 public:
  Window();
  ~Window() override;

  // Brings the window to the front, making it visible.
  void Show();

  QWidget& Content() { return *content_; }
  const std::vector<Control*>& Controls() const { return controls_; }

  // Controls by name (and index for a member of a control set); nullptr when
  // there is none.
  Control* FindControl(std::string_view name, std::int32_t index = kNoIndex) const;
  // Typed look-up; a missing control or one of another kind raises a
  // NilObjectException.
  template <class C>
  C& Get(std::string_view name, std::int32_t index = kNoIndex) const {
    auto* c = dynamic_cast<C*>(FindControl(name, index));
    if (c == nullptr) throw NilObjectException("no control " + std::string(name));
    return *c;
  }
  StaticTextControl& Label(std::string_view name) const { return Get<StaticTextControl>(name); }
  EditFieldControl& Field(std::string_view name) const { return Get<EditFieldControl>(name); }
  PushButtonControl& Button(std::string_view name) const { return Get<PushButtonControl>(name); }
  RadioButtonControl& Radio(std::string_view name) const { return Get<RadioButtonControl>(name); }
  PictureControl& PictureAt(std::string_view name) const { return Get<PictureControl>(name); }
  ListboxControl& List(std::string_view name) const { return Get<ListboxControl>(name); }
  ScrollBarControl& Scroll(std::string_view name) const { return Get<ScrollBarControl>(name); }

  bool IsClosed() const { return closed_; }

  // Builds a new instance: Layout, CreateControls, AddMenuHandlers, then the
  // radio groups and the fields' names for assistive tools; shows the window
  // when its record makes it visible.
  void Build();

 protected:
  virtual void Layout() = 0;
  virtual void CreateControls() = 0;
  virtual void AddMenuHandlers() {}

  // Window properties from a record.
  void Apply(const Spec& spec);
  // Creates a control from its record, adds it under its name and applies
  // the record. Handlers are bound afterwards, so building runs none.
  Control& Add(const Spec& spec);
  // As Add, then binds the control's event (Action, or TextChange for an
  // edit field) to `handler` of this window.
  template <class W>
  Control& Add(const Spec& spec, void (W::*handler)()) {
    Control& c = Add(spec);
    BindEvent(c, [w = static_cast<W*>(this), handler] { (w->*handler)(); });
    return c;
  }
  // A list's cell events. The click handler's result (whether the click was
  // handled) is not used: the list's own handling always goes on.
  template <class W>
  void BindCellClick(const std::string& list, bool (W::*handler)(int, int, int, int)) {
    List(list).CellClick = [w = static_cast<W*>(this), handler](int r, int c, int x, int y) {
      (void)(w->*handler)(r, c, x, y);
    };
  }
  template <class W>
  void BindCellTextChange(const std::string& list, void (W::*handler)(int, int)) {
    List(list).CellTextChange = [w = static_cast<W*>(this), handler](int r, int c) {
      (w->*handler)(r, c);
    };
  }
  // As Add for a canvas or image well, setting the picture first.
  Control& Add(const Spec& spec, PicturePtr picture);

  // What becomes of an activation that arrives while one of this window's
  // own handlers lets events through (a long table or search).
  enum class NestedActivation {
    Defer,  // run once that handler has returned (once, however many came)
    Drop,   // forgotten: it would empty the table the handler is filling
  };
  void OnActivate(std::function<void()> handler, NestedActivation nested = NestedActivation::Defer) {
    activate_ = std::move(handler);
    nestedActivation_ = nested;
  }
  void OnResizing(std::function<void()> handler) { resizing_ = std::move(handler); }

  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  friend class Dispatcher;
  friend void RuntimeMassPropertySetter(Window&, std::string_view);
  friend void ApplyControlRecord(Control&, const PropertyRecord&);
  friend void DeleteClosedWindow(Window*);

  // Makes the control of the record's kind and adds it under its name.
  Control& Create(const Spec& spec);
  void BindEvent(Control& c, std::function<void()> handler);
  void FormRadioGroups();
  void ApplyWindowRecord(const PropertyRecord& record);

  QMenuBar* menuBar_ = nullptr;
  QWidget* content_ = nullptr;
  std::vector<Control*> controls_;
  std::vector<QButtonGroup*> groups_;
  std::function<void()> activate_, resizing_;
  NestedActivation nestedActivation_ = NestedActivation::Defer;
  bool visibleOnBuild_ = true;
  bool built_ = false;
  bool closed_ = false;
  int handlerDepth_ = 0;
  int placement_ = 0;
};

// Applies a property record to a window or a control. A record that does not
// decode raises std::invalid_argument naming the fault.
void RuntimeMassPropertySetter(Window& window, std::string_view bytes);
void RuntimeMassPropertySetter(Control& control, std::string_view bytes);

namespace detail {
Window* FindShared(std::type_index type);
void RegisterShared(std::type_index type, Window* window);
}  // namespace detail

// The shared instance of window class T: the open one, else a new one, built
// at once (and visible at once when its record says so).
template <class T>
T& shared() {
  if (Window* w = detail::FindShared(typeid(T))) return static_cast<T&>(*w);
  auto* w = new T();
  w->Build();
  detail::RegisterShared(typeid(T), w);
  return *w;
}

// The shared instance of T if one is open, else nullptr (no window is made).
template <class T>
T* existing() {
  return static_cast<T*>(detail::FindShared(typeid(T)));
}

// Every window that exists (open or waiting to be deleted).
std::vector<Window*> AllWindows();
// Deletes every window (shutdown).
void ReleaseWindows();

}  // namespace framework
