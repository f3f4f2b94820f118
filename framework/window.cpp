#include "framework/window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <map>
#include <set>

#include "framework/application.h"

namespace framework {

namespace {

std::map<std::type_index, Window*>& Registry() {
  static std::map<std::type_index, Window*> registry;
  return registry;
}

void Unregister(const Window* window) {
  std::erase_if(Registry(), [window](const auto& entry) { return entry.second == window; });
}

std::set<Window*>& Existing() {
  static std::set<Window*> windows;
  return windows;
}

template <class V>
V Value(const PropertyRecord& record, std::string_view name, V fallback) {
  if (const PropertyValue* v = Find(record, name)) {
    if (const V* x = std::get_if<V>(v)) return *x;
  }
  return fallback;
}

Control* MakeControl(Window& w, ObjectKind kind) {
  switch (kind) {
    case ObjectKind::StaticText: return new StaticTextControl(w);
    case ObjectKind::EditField: return new EditFieldControl(w);
    case ObjectKind::PushButton: return new PushButtonControl(w);
    case ObjectKind::RadioButton: return new RadioButtonControl(w);
    case ObjectKind::GroupBox: return new GroupBoxControl(w);
    case ObjectKind::RoundRectangle:
    case ObjectKind::Rectangle:
    case ObjectKind::Line: return new ShapeControl(w, kind);
    case ObjectKind::Canvas:
    case ObjectKind::ImageWell: return new PictureControl(w, kind);
    case ObjectKind::Listbox: return new ListboxControl(w);
    case ObjectKind::ScrollBar: return new ScrollBarControl(w);
    case ObjectKind::Window: break;
  }
  throw std::logic_error(std::string("no control kind ") + KindName(kind));
}

bool IsDecoration(ObjectKind kind) {
  return kind == ObjectKind::GroupBox || kind == ObjectKind::RoundRectangle ||
         kind == ObjectKind::Rectangle || kind == ObjectKind::Line;
}

QRect WindowRect(const Control& c) { return QRect(c.Left(), c.Top(), c.Width(), c.Height()); }

}  // namespace

// ---- Records ----

void RuntimeMassPropertySetter(Window& window, std::string_view bytes) {
  std::string error;
  auto record = DecodeRecord(ObjectKind::Window, bytes, &error);
  if (!record) throw std::invalid_argument("window property record: " + error);
  window.ApplyWindowRecord(*record);
}

void ApplyControlRecord(Control& c, const PropertyRecord& record) {
  // The whole record is read before anything is applied, so the order of its
  // entries carries no meaning: the parent must be known before the
  // position, which counts from the window's corner, can be placed.
  c.name_ = Value<std::string>(record, "Name", c.name_);
  c.index_ = Value<std::int32_t>(record, "Index", c.index_);
  const std::string parentName = Value<std::string>(record, "InitialParent", std::string());
  if (!parentName.empty()) {
    Control* parent = c.Owner().FindControl(parentName);
    if (parent == nullptr || parent == &c) {
      throw NilObjectException("no parent control " + parentName + " for " + c.name_);
    }
    c.parent_ = parent;
    c.Widget().setParent(&parent->Widget());
  }

  for (const PropertyEntry& e : record) {
    if (e.name == "Name" || e.name == "Index" || e.name == "InitialParent" || e.name == "Left" ||
        e.name == "Top" || e.name == "Width" || e.name == "Height") {
      continue;
    }
    if (!c.Apply(e.name, e.value)) {
      throw std::invalid_argument("property " + e.name + " has no effect on " +
                                  KindName(c.Kind()));
    }
  }

  int left = Value<std::int32_t>(record, "Left", c.Left());
  int top = Value<std::int32_t>(record, "Top", c.Top());
  int width = Value<std::int32_t>(record, "Width", c.Width());
  int height = Value<std::int32_t>(record, "Height", c.Height());
  if (c.Kind() == ObjectKind::Line) {
    // A line occupies the bounding box of its end points, at least its pen
    // wide, so that a horizontal rule has a height to draw in.
    const int x1 = Value<std::int32_t>(record, "X1", left), y1 = Value<std::int32_t>(record, "Y1", top);
    const int x2 = Value<std::int32_t>(record, "X2", left + width);
    const int y2 = Value<std::int32_t>(record, "Y2", top + height);
    const int pen = std::max(1, Value<std::int32_t>(record, "BorderWidth", 1));
    left = std::min(x1, x2);
    top = std::min(y1, y2);
    width = std::abs(x2 - x1) + pen;
    height = std::abs(y2 - y1) + pen;
  }
  const int parentLeft = c.parent_ ? c.parent_->Left() : 0;
  const int parentTop = c.parent_ ? c.parent_->Top() : 0;
  c.Widget().setGeometry(left - parentLeft, top - parentTop, std::max(0, width), std::max(0, height));
  c.Widget().setVisible(c.visible_);
}

void RuntimeMassPropertySetter(Control& control, std::string_view bytes) {
  std::string error;
  auto record = DecodeRecord(control.Kind(), bytes, &error);
  if (!record) {
    throw std::invalid_argument(std::string(KindName(control.Kind())) + " property record: " + error);
  }
  ApplyControlRecord(control, *record);
  control.record_.assign(bytes);
}

// ---- Window ----

Window::Window() {
  Existing().insert(this);
  setAttribute(Qt::WA_DeleteOnClose, false);
  setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  if (Application* app = Application::Instance(); app && app->MenuBar()) {
    menuBar_ = BuildMenuBar(*app->MenuBar(), this);
    layout->setMenuBar(menuBar_);
  }
  content_ = new QWidget(this);
  content_->setAutoFillBackground(true);
  layout->addWidget(content_);
}

Window::~Window() {
  Existing().erase(this);
  Unregister(this);
}

void Window::Build() {
  Layout();
  CreateControls();
  AddMenuHandlers();
  FormRadioGroups();
  NameFieldsByTheirLabels(*this);
  built_ = true;
  if (visibleOnBuild_) Show();
}

void Window::Show() {
  if (closed_) return;
  if (!isVisible()) {
    if (placement_ == 2) {
      // Centred on the primary screen.
      if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
      }
    }
    show();
  }
  raise();
  activateWindow();
}

void Window::ApplyWindowRecord(const PropertyRecord& record) {
  setWindowTitle(QString::fromStdString(Value<std::string>(record, "Title", std::string())));
  const int width = Value<std::int32_t>(record, "Width", 300);
  const int height = Value<std::int32_t>(record, "Height", 300);
  const bool resizeable = Value<bool>(record, "Resizeable", false);
  visibleOnBuild_ = Value<bool>(record, "Visible", true);
  placement_ = Value<std::int32_t>(record, "Placement", 0);

  QPalette p = palette();
  const Colour back = Value<Colour>(record, "BackColor", kWhite);
  if (Value<bool>(record, "HasBackColor", true)) p.setColor(QPalette::Window, QColor(back.r, back.g, back.b));
  setPalette(p);
  content_->setPalette(p);

  Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint;
  if (Value<bool>(record, "CloseButton", true)) flags |= Qt::WindowCloseButtonHint;
  if (Value<bool>(record, "MinimizeButton", false)) flags |= Qt::WindowMinimizeButtonHint;
  if (Value<bool>(record, "MaximizeButton", false)) flags |= Qt::WindowMaximizeButtonHint;
  setWindowFlags(flags);
  if (menuBar_) menuBar_->setVisible(Value<bool>(record, "MenuBarVisible", true));

  const int menuHeight = menuBar_ && menuBar_->isVisibleTo(this) ? menuBar_->sizeHint().height() : 0;
  if (resizeable) {
    // The window itself carries the limits, so that the window manager never
    // makes it larger (or smaller) than its content may be; the content gets
    // them too, as it fills the window below the menu bar.
    const auto limit = [](int v) { return std::clamp(v, 0, QWIDGETSIZE_MAX); };
    const QSize least(limit(Value<std::int32_t>(record, "MinWidth", 64)),
                      limit(Value<std::int32_t>(record, "MinHeight", 64)));
    const QSize most(std::max(least.width(), limit(Value<std::int32_t>(record, "MaxWidth", 32000))),
                     std::max(least.height(), limit(Value<std::int32_t>(record, "MaxHeight", 32000))));
    content_->setMinimumSize(least);
    content_->setMaximumSize(most);
    setMinimumSize(least.width(), limit(least.height() + menuHeight));
    setMaximumSize(most.width(), limit(most.height() + menuHeight));
    resize(width, height + menuHeight);
  } else {
    content_->setFixedSize(width, height);
    setFixedSize(width, height + menuHeight);
  }
  // Composite, FullScreen, Frame, LiveResize, BalloonHelp and MacProcID have
  // no effect here.
}

void Window::Apply(const Spec& spec) { RuntimeMassPropertySetter(*this, spec.Bytes()); }

Control& Window::Create(const Spec& spec) {
  Control* c = MakeControl(*this, spec.Kind());
  c->name_ = spec.Name();
  controls_.push_back(c);
  return *c;
}

Control& Window::Add(const Spec& spec) {
  Control& c = Create(spec);
  RuntimeMassPropertySetter(c, spec.Bytes());
  // A frame created after the controls it frames would take their clicks.
  if (IsDecoration(c.Kind())) c.Widget().lower();
  return c;
}

Control& Window::Add(const Spec& spec, PicturePtr picture) {
  Control& c = Create(spec);
  if (auto* pc = dynamic_cast<PictureControl*>(&c)) pc->SetPicture(std::move(picture));
  RuntimeMassPropertySetter(c, spec.Bytes());
  return c;
}

void Window::BindEvent(Control& c, std::function<void()> handler) {
  if (auto* b = dynamic_cast<PushButtonControl*>(&c)) {
    b->Action = std::move(handler);
  } else if (auto* r = dynamic_cast<RadioButtonControl*>(&c)) {
    r->Action = std::move(handler);
  } else if (auto* f = dynamic_cast<EditFieldControl*>(&c)) {
    f->TextChange = std::move(handler);
  } else if (auto* s = dynamic_cast<ScrollBarControl*>(&c)) {
    s->ValueChanged = std::move(handler);
  } else {
    throw std::logic_error("control " + c.Name() + " raises no event");
  }
}

Control* Window::FindControl(std::string_view name, std::int32_t index) const {
  for (Control* c : controls_) {
    if (c->Name() == name && c->Index() == index) return c;
  }
  return nullptr;
}

void Window::FormRadioGroups() {
  // A radio belongs to the smallest group box whose rectangle contains it,
  // else to the control (or window) that contains it.
  std::map<const void*, QButtonGroup*> byFrame;
  for (Control* c : controls_) {
    auto* radio = dynamic_cast<RadioButtonControl*>(c);
    if (radio == nullptr) continue;
    const QRect r = WindowRect(*radio);
    const void* key = radio->Parent();
    long best = -1;
    for (Control* g : controls_) {
      if (g->Kind() != ObjectKind::GroupBox) continue;
      const QRect box = WindowRect(*g);
      if (!box.contains(r)) continue;
      const long area = static_cast<long>(box.width()) * box.height();
      if (best < 0 || area < best) best = area, key = g;
    }
    QButtonGroup*& group = byFrame[key];
    if (group == nullptr) {
      group = new QButtonGroup(this);
      group->setExclusive(true);
      groups_.push_back(group);
    }
    group->addButton(radio);
    // Qt tells assistive tools that a checkable button which is not
    // auto-exclusive is a check box. Inside an explicit group the group alone
    // decides exclusivity, so this changes nothing else; set only now, as a
    // radio outside a group would turn off its siblings under the same parent.
    radio->setAutoExclusive(true);
  }
}

bool Window::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate && activate_ && built_ && !closed_) {
    // Inside this window's own handler the activation waits for it to end,
    // queued once like a repeated press; a window whose activation empties
    // the table being filled drops it instead, as the user only looked at
    // another window while waiting.
    const bool ownHandlerRunning = handlerDepth_ > 0 && Dispatcher::InBackground();
    if (!ownHandlerRunning) {
      Dispatcher::Run(this, activate_);
    } else if (nestedActivation_ == NestedActivation::Defer) {
      Dispatcher::RunPress(this, activate_, &activate_);
    }
  }
  return QWidget::event(e);
}

void Window::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (resizing_ && built_ && !closed_) Dispatcher::Run(this, resizing_);
}

void DeleteClosedWindow(Window* w) {
  if (w->closed_ && w->handlerDepth_ == 0) w->deleteLater();
}

void Window::closeEvent(QCloseEvent* e) {
  e->accept();
  if (closed_) return;
  closed_ = true;
  // A closed window leaves the registry at once: the next request builds a
  // new one with its initial values.
  Unregister(this);
  // Deleted only once none of its handlers is running; see Dispatcher.
  DeleteClosedWindow(this);
}

void Window::keyPressEvent(QKeyEvent* e) {
  if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter) {
    QWidget::keyPressEvent(e);
    return;
  }
  // Return presses the default button nearest the focused control: one in the
  // same container first, then outwards; else the first default button.
  std::vector<PushButtonControl*> defaults;
  for (Control* c : controls_) {
    if (auto* b = dynamic_cast<PushButtonControl*>(c); b && b->IsDefault()) defaults.push_back(b);
  }
  if (defaults.empty()) {
    QWidget::keyPressEvent(e);
    return;
  }
  PushButtonControl* chosen = nullptr;
  for (QWidget* w = QApplication::focusWidget(); w && w != this && !chosen; w = w->parentWidget()) {
    for (PushButtonControl* b : defaults) {
      if (b->parentWidget() == w) {
        chosen = b;
        break;
      }
    }
  }
  if (chosen == nullptr) chosen = defaults.front();
  chosen->Push();
  e->accept();
}

// ---- Registry ----

namespace detail {

Window* FindShared(std::type_index type) {
  auto it = Registry().find(type);
  return it == Registry().end() ? nullptr : it->second;
}

void RegisterShared(std::type_index type, Window* window) { Registry()[type] = window; }

}  // namespace detail

std::vector<Window*> AllWindows() { return {Existing().begin(), Existing().end()}; }

void ReleaseWindows() {
  Registry().clear();
  for (Window* w : AllWindows()) delete w;
}

}  // namespace framework
