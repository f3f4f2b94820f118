#include "framework/controls.h"

#include <QButtonGroup>
#include <QHeaderView>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <limits>

#include "framework/application.h"
#include "framework/fit_text.h"
#include "framework/window.h"

namespace framework {

namespace {

QString ToQt(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The original line breaks are carriage returns; Qt breaks lines at LF.
QString DisplayText(const std::string& s) {
  QString t = ToQt(s);
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  t.replace(QChar('\r'), QChar('\n'));
  return t;
}

QColor ToQColor(const Colour& c) { return QColor(c.r, c.g, c.b); }

template <class V>
const V* As(const PropertyValue& v) {
  return std::get_if<V>(&v);
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

Qt::Alignment Horizontal(std::int32_t align) {
  switch (align) {
    case 1: return Qt::AlignHCenter;
    case 2: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

constexpr int kDefaultTextSize = 12;

// `f` made smaller until `text` fits `room` pixels, down to a size that still
// reads; below that the text is cut as before.
QFont FontToFit(QFont f, const QString& text, int room) {
  constexpr int kSmallest = 7;
  for (int size = f.pixelSize(); size > kSmallest; --size) {
    if (QFontMetrics(f).horizontalAdvance(text) <= room) break;
    f.setPixelSize(size - 1);
  }
  return f;
}

// Sets a name for assistive tools that the framework works out, unless code
// has given the widget a name of its own since.
void SetAutomaticName(QWidget& widget, QString& last, const QString& name) {
  if (!widget.accessibleName().isEmpty() && widget.accessibleName() != last) return;
  last = name;
  if (widget.accessibleName() != name) widget.setAccessibleName(name);
}

// An exponent label: one or two digits.
bool IsExponentText(const QString& t) {
  if (t.isEmpty() || t.size() > 2) return false;
  return std::all_of(t.begin(), t.end(), [](QChar c) { return c.isDigit(); });
}

// Whether `digits` is set as the exponent of the unit label `unit`: smaller
// type, its left edge within the unit's width, raised (its top at most the
// unit's top) and overlapping the unit's upper half.
bool RaisesOver(const StaticTextControl& digits, const StaticTextControl& unit) {
  if (&digits == &unit || !digits.Visible() || !unit.Visible()) return false;
  if (!IsExponentText(digits.text()) || digits.wordWrap() || unit.wordWrap()) return false;
  if (digits.font().pixelSize() >= unit.font().pixelSize()) return false;
  const int left = digits.Left() - unit.Left();
  if (left < 0 || left >= unit.Width()) return false;
  const int top = digits.Top() - unit.Top();
  if (top > 0 || digits.Top() + digits.Height() <= unit.Top() + 2) return false;
  const QString t = unit.text();
  return !t.isEmpty() && !t.contains('\n') && !IsExponentText(t);
}

// The unit label that draws `digits`, if any: the first in creation order
// over which it raises.
const StaticTextControl* UnitOf(const StaticTextControl& digits) {
  if (!IsExponentText(digits.text())) return nullptr;
  for (Control* c : digits.Owner().Controls()) {
    auto* unit = dynamic_cast<const StaticTextControl*>(c);
    if (unit != nullptr && RaisesOver(digits, *unit)) return unit;
  }
  return nullptr;
}

// The exponent label that the unit label draws, if any.
const StaticTextControl* ExponentOf(const StaticTextControl& unit) {
  for (Control* c : unit.Owner().Controls()) {
    auto* digits = dynamic_cast<const StaticTextControl*>(c);
    if (digits != nullptr && RaisesOver(*digits, unit) && UnitOf(*digits) == &unit) return digits;
  }
  return nullptr;
}

// What a control at the left of a field reads as: a label's text, a
// picture's words, the caption of a radio that chooses the field's quantity.
QString ReadsAs(Control& c) {
  if (!c.Visible()) return {};
  if (auto* label = dynamic_cast<StaticTextControl*>(&c)) return label->text().simplified();
  if (auto* radio = dynamic_cast<RadioButtonControl*>(&c)) {
    return radio->text().replace(QStringLiteral("&&"), QStringLiteral("&")).simplified();
  }
  if (auto* picture = dynamic_cast<PictureControl*>(&c); picture && picture->Picture()) {
    return picture->Picture()->Text().simplified();
  }
  return {};
}

}  // namespace

QString FitTextToWidth(const QString& text, const QFontMetrics& metrics, int room) {
  const auto width = [&metrics](std::string_view s) {
    return metrics.horizontalAdvance(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
  };
  return QString::fromStdString(FitText(text.toStdString(), width, room));
}

namespace {

// The control that reads as the label of `c`: the nearest one with text on
// the same row, ending at c's left edge (a field's label) or, looking right,
// starting at c's right edge (the text of a radio that has no caption). A
// label may reach a few pixels into the control's box and still be its label.
Control* LabelOnTheRow(Window& window, Control& c, bool right) {
  constexpr int kOverlap = 8;
  const int middle = c.Top() + c.Height() / 2;
  const int edge = right ? c.Left() + c.Width() : c.Left();
  Control* nearest = nullptr;
  int nearestGap = INT_MAX;
  for (Control* other : window.Controls()) {
    if (other == &c) continue;
    const int otherRight = other->Left() + other->Width();
    const bool onItsSide = right ? other->Left() >= edge - kOverlap && otherRight > edge
                                 : other->Left() < edge && otherRight <= edge + kOverlap;
    if (!onItsSide) continue;
    const int top = other->Top(), bottom = other->Top() + other->Height();
    const int otherMiddle = (top + bottom) / 2;
    const bool sameRow = (top <= middle && middle < bottom) ||
                         (c.Top() <= otherMiddle && otherMiddle < c.Top() + c.Height());
    const int gap = right ? other->Left() - edge : edge - otherRight;
    if (!sameRow || gap >= nearestGap || ReadsAs(*other).isEmpty()) continue;
    nearest = other;
    nearestGap = gap;
  }
  return nearest;
}

// The nearest control with text above `c`, overlapping its columns and
// ending at most a few pixels into it: the label over a list.
Control* LabelAbove(Window& window, Control& c) {
  constexpr int kOverlap = 8;
  const int left = c.Left(), right = c.Left() + c.Width();
  Control* nearest = nullptr;
  int nearestGap = INT_MAX;
  for (Control* other : window.Controls()) {
    if (other == &c) continue;
    const int bottom = other->Top() + other->Height();
    const bool over = other->Top() < c.Top() && bottom <= c.Top() + kOverlap &&
                      other->Left() < right && other->Left() + other->Width() > left;
    const int gap = c.Top() - bottom;
    if (!over || gap >= nearestGap || ReadsAs(*other).isEmpty()) continue;
    nearest = other;
    nearestGap = gap;
  }
  return nearest;
}

}  // namespace

void NameFieldsByTheirLabels(Window& window) {
  for (Control* c : window.Controls()) {
    if (auto* list = dynamic_cast<ListboxControl*>(c)) {
      // A list is known by its headings; one without by the label of its
      // row and the one over its column ("Molar Volume, Phase X"), as the
      // phase windows set their result lists out in a grid.
      QString name = list->Headings();
      if (name.isEmpty()) {
        QStringList parts;
        for (Control* label : {LabelOnTheRow(window, *list, false), LabelAbove(window, *list)}) {
          if (label != nullptr) parts << ReadsAs(*label);
        }
        name = parts.join(QStringLiteral(", "));
      }
      SetAutomaticName(*list, list->automaticName_, name);
    } else if (auto* field = dynamic_cast<EditFieldControl*>(c)) {
      Control* label = LabelOnTheRow(window, *field, false);
      SetAutomaticName(*field, field->automaticName_, label ? ReadsAs(*label) : QString());
    } else if (auto* radio = dynamic_cast<RadioButtonControl*>(c); radio && radio->text().isEmpty()) {
      Control* label = LabelOnTheRow(window, *radio, true);
      SetAutomaticName(*radio, radio->automaticName_, label ? ReadsAs(*label) : QString());
    }
  }
}

QFont ControlFont(const std::string& family, int size, bool bold, bool italic, bool underline) {
  // DejaVu Sans (not Condensed) would overflow several captions at their
  // widths; the serif face stands in for "palatino".
  QFont f(Lower(family) == "palatino" ? QStringLiteral("DejaVu Serif")
                                      : QStringLiteral("DejaVu Sans Condensed"));
  f.setPixelSize(size > 0 ? size : kDefaultTextSize);
  f.setBold(bold);
  f.setItalic(italic);
  f.setUnderline(underline);
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

// ---- Control ----

int Control::Left() const {
  auto& w = const_cast<Control*>(this)->Widget();
  return w.x() + (parent_ ? parent_->Left() : 0);
}

int Control::Top() const {
  auto& w = const_cast<Control*>(this)->Widget();
  return w.y() + (parent_ ? parent_->Top() : 0);
}

void Control::SetLeft(int left) {
  Widget().move(left - (parent_ ? parent_->Left() : 0), Widget().y());
}

void Control::SetTop(int top) {
  Widget().move(Widget().x(), top - (parent_ ? parent_->Top() : 0));
}

void Control::SetWidth(int width) { Widget().resize(std::max(0, width), Widget().height()); }
void Control::SetHeight(int height) { Widget().resize(Widget().width(), std::max(0, height)); }

void Control::SetVisible(bool visible) {
  visible_ = visible;
  Widget().setVisible(visible);
}

bool Control::Apply(const std::string& name, const PropertyValue& value) {
  // Properties that carry no behaviour here (anchoring, tab panels, help tags,
  // data binding) are accepted and have no effect.
  static const char* const kInert[] = {"LockLeft",   "LockTop",    "LockRight", "LockBottom",
                                       "TabPanelIndex", "AutoDeactivate", "HelpTag",
                                       "DataSource", "DataField"};
  for (const char* n : kInert) {
    if (name == n) return true;
  }
  if (name == "Visible") {
    if (auto b = As<bool>(value)) visible_ = *b;
    return true;
  }
  if (name == "Enabled") {
    if (auto b = As<bool>(value)) Widget().setEnabled(*b);
    return true;
  }
  return false;
}

bool Control::ApplyTextStyle(const std::string& name, const PropertyValue& value) {
  if (name == "TextFont") {
    style_.family = *As<std::string>(value);
  } else if (name == "TextSize") {
    style_.size = *As<std::int32_t>(value);
  } else if (name == "Bold") {
    style_.bold = *As<bool>(value);
  } else if (name == "Italic") {
    style_.italic = *As<bool>(value);
  } else if (name == "Underline") {
    style_.underline = *As<bool>(value);
  } else {
    return false;
  }
  Widget().setFont(StyleFont());
  return true;
}

QFont Control::StyleFont() const {
  return ControlFont(style_.family, style_.size, style_.bold, style_.italic, style_.underline);
}

void Control::Raise(const std::function<void()>& handler) {
  if (handler) Dispatcher::Run(&window_, handler);
}

// ---- StaticText ----

StaticTextControl::StaticTextControl(Window& window)
    : QLabel(&window.Content()), Control(window, ObjectKind::StaticText) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setFont(StyleFont());
}

void StaticTextControl::SetText(const std::string& text) {
  UpdatePartner();  // an exponent that stops being one is drawn by itself again
  text_ = text;
  setText(DisplayText(text));
  UpdatePartner();
  NameFieldsByTheirLabels(Owner());
}

void StaticTextControl::UpdatePartner() {
  if (const StaticTextControl* unit = UnitOf(*this)) const_cast<StaticTextControl*>(unit)->update();
  if (const StaticTextControl* digits = ExponentOf(*this)) const_cast<StaticTextControl*>(digits)->update();
}

StaticTextControl::Fit StaticTextControl::Fitted() const {
  if (wordWrap() || text().isEmpty() || text().contains('\n')) return {text(), font()};
  const QString shown = FitTextToWidth(text(), QFontMetrics(font()), width());
  return {shown, FontToFit(font(), shown, width())};
}

std::string StaticTextControl::ShownText() const { return Fitted().text.toStdString(); }

QFont StaticTextControl::ShownFont() const { return Fitted().font; }

std::optional<StaticTextControl::RaisedDigits> StaticTextControl::Raised() const {
  const StaticTextControl* digits = ExponentOf(*this);
  if (digits == nullptr) return std::nullopt;
  RaisedDigits r;
  r.label = digits;
  r.digits = digits->text();
  r.digitsFont = digits->font();
  const QString t = text();
  const QFontMetricsF unit(font()), small(r.digitsFont);
  // The exponent goes where its label stands: after the characters whose
  // advance comes nearest its left edge. A blank there only kept its room.
  const double at = digits->Left() - Left();
  int split = 0;
  double miss = std::numeric_limits<double>::infinity();
  for (int i = 0; i <= t.size(); ++i) {
    const double d = std::abs(unit.horizontalAdvance(t.left(i)) - at);
    if (d < miss) miss = d, split = i;
  }
  if (split > 0 && t[split - 1] == ' ') --split;
  r.before = t.left(split);
  r.after = t.mid(split < t.size() && t[split] == ' ' ? split + 1 : split);
  // Set by the advances, as the font spaces any two letters, but never so
  // close that the inks (measured to whole pixels) meet.
  const QRectF digitsInk = small.tightBoundingRect(r.digits);
  r.digitsX = unit.horizontalAdvance(r.before);
  if (!r.before.isEmpty()) {
    // The last letter's ink at the place drawText puts it: the ink of the
    // whole text is measured on whole-pixel advances and can end a pixel
    // late, which left "g/cm 3" gaping at 14 px.
    const QString last = r.before.right(1);
    const double inkRight = unit.horizontalAdvance(r.before.chopped(1)) + unit.tightBoundingRect(last).right();
    r.digitsX = std::max(r.digitsX, inkRight + 1 - digitsInk.left());
  }
  r.afterX = r.digitsX + small.horizontalAdvance(r.digits);
  if (!r.after.isEmpty()) {
    r.afterX = std::max(r.afterX, r.digitsX + digitsInk.right() + 0.5 - unit.tightBoundingRect(r.after).left());
  }
  const double total = r.afterX + unit.horizontalAdvance(r.after);
  double x = 0;
  if (alignment() & Qt::AlignHCenter) x = (width() - total) / 2;
  if (alignment() & Qt::AlignRight) x = width() - total;
  x = std::max(0.0, x);
  r.beforeX = x;
  r.digitsX += x;
  r.afterX += x;
  // Each label draws its text from its top; the exponent keeps its own
  // label's height unless its ink would leave the unit label at the top.
  r.baseline = unit.ascent();
  const double inkTop = small.tightBoundingRect(r.digits).top();
  r.digitsBaseline = std::max(digits->Top() - Top() + small.ascent(), -inkTop);
  return r;
}

bool StaticTextControl::DrawnByItsUnit() const { return UnitOf(*this) != nullptr; }

void StaticTextControl::paintEvent(QPaintEvent* e) {
  if (DrawnByItsUnit()) return;
  if (const auto raised = Raised()) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.setFont(font());
    p.drawText(QPointF(raised->beforeX, raised->baseline), raised->before);
    p.drawText(QPointF(raised->afterX, raised->baseline), raised->after);
    p.setFont(raised->digitsFont);
    p.setPen(raised->label->palette().color(QPalette::WindowText));
    p.drawText(QPointF(raised->digitsX, raised->digitsBaseline), raised->digits);
    return;
  }
  const Fit shown = Fitted();
  if (shown.text == text() && shown.font == font()) {
    QLabel::paintEvent(e);
    return;
  }
  QPainter p(this);
  p.setFont(shown.font);
  p.setPen(palette().color(QPalette::WindowText));
  const QFontMetrics designed(font()), drawn(shown.font);
  const int advance = drawn.horizontalAdvance(shown.text);
  int x = 0;
  if (alignment() & Qt::AlignHCenter) x = (width() - advance) / 2;
  if (alignment() & Qt::AlignRight) x = width() - advance;
  p.drawText(QPoint(std::max(0, x), designed.ascent()), shown.text);
}

bool StaticTextControl::Apply(const std::string& name, const PropertyValue& value) {
  if (ApplyTextStyle(name, value)) return true;
  if (name == "Text") {
    SetText(*As<std::string>(value));
  } else if (name == "TextAlign") {
    setAlignment(Horizontal(*As<std::int32_t>(value)) | Qt::AlignTop);
  } else if (name == "TextColor") {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ToQColor(*As<Colour>(value)));
    setPalette(p);
  } else if (name == "Multiline") {
    setWordWrap(*As<bool>(value));
  } else {
    return Control::Apply(name, value);
  }
  return true;
}

// ---- EditField ----

EditFieldControl::EditFieldControl(Window& window)
    : QLineEdit(&window.Content()), Control(window, ObjectKind::EditField) {
  setFont(StyleFont());
  // Editing goes through the Edit menu and its shortcuts; fields have no
  // context menu of their own.
  setContextMenuPolicy(Qt::PreventContextMenu);
  // Typing, the Edit menu and code all change the text through here.
  QObject::connect(this, &QLineEdit::textChanged, [this] {
    if (!settingText_) Raise(TextChange);
  });
}

std::string EditFieldControl::Text() const { return text().toStdString(); }

void EditFieldControl::SetText(const std::string& text) {
  // setText with the text the field holds emits nothing; the handlers rely on
  // TextChange for every code change, so raise it ourselves, exactly once.
  settingText_ = true;
  setText(ToQt(text));
  settingText_ = false;
  Raise(TextChange);
}

bool EditFieldControl::Apply(const std::string& name, const PropertyValue& value) {
  if (ApplyTextStyle(name, value)) return true;
  if (name == "Text") {
    settingText_ = true;
    setText(ToQt(*As<std::string>(value)));
    settingText_ = false;
  } else if (name == "Alignment") {
    setAlignment(Horizontal(*As<std::int32_t>(value)) | Qt::AlignVCenter);
  } else if (name == "LimitText") {
    const auto n = *As<std::int32_t>(value);
    setMaxLength(n > 0 ? n : 32767);
  } else if (name == "ReadOnly") {
    setReadOnly(*As<bool>(value));
  } else if (name == "Password") {
    setEchoMode(*As<bool>(value) ? QLineEdit::Password : QLineEdit::Normal);
  } else if (name == "Border") {
    setFrame(*As<bool>(value));
  } else if (name == "BackColor" || name == "TextColor") {
    QPalette p = palette();
    p.setColor(name == "BackColor" ? QPalette::Base : QPalette::Text, ToQColor(*As<Colour>(value)));
    setPalette(p);
  } else if (name == "Mask" || name == "Format" || name == "AcceptTabs" || name == "Styled" ||
             name == "UseFocusRing" || name == "ScrollbarVertical" ||
             name == "ScrollbarHorizontal" || name == "Multiline") {
    // Single-line fields without masks or formats: nothing to set.
  } else {
    return Control::Apply(name, value);
  }
  return true;
}

// ---- PushButton ----

PushButtonControl::PushButtonControl(Window& window)
    : QPushButton(&window.Content()), Control(window, ObjectKind::PushButton) {
  setFont(StyleFont());
  QObject::connect(this, &QPushButton::clicked, [this] {
    if (Action) Dispatcher::RunPress(&Owner(), Action, this);
  });
}

void PushButtonControl::Push() {
  if (isEnabled()) click();
}

bool PushButtonControl::Apply(const std::string& name, const PropertyValue& value) {
  if (ApplyTextStyle(name, value)) return true;
  if (name == "Caption") {
    setText(ToQt(*As<std::string>(value)).replace('&', QStringLiteral("&&")));
  } else if (name == "Default") {
    default_ = *As<bool>(value);
    setDefault(default_);
  } else if (name == "Cancel") {
    // Escape handling is not used by any window.
  } else {
    return Control::Apply(name, value);
  }
  return true;
}

// ---- RadioButton ----

RadioButtonControl::RadioButtonControl(Window& window)
    : QRadioButton(&window.Content()), Control(window, ObjectKind::RadioButton) {
  setFont(StyleFont());
  // Groups are formed by frame, not by Qt parent; once a radio is in its
  // group, Window::FormRadioGroups makes it auto-exclusive again, which is
  // what makes Qt report it as a radio button rather than a check box.
  setAutoExclusive(false);
  // Every change of the value, by the user or by code, is an Action.
  QObject::connect(this, &QRadioButton::toggled, [this] { Raise(Action); });
}

void RadioButtonControl::SetValue(bool on) {
  if (on == isChecked()) return;
  QButtonGroup* g = group();
  // An exclusive group refuses to switch its checked button off.
  const bool exclusive = g != nullptr && g->exclusive();
  if (exclusive && !on) g->setExclusive(false);
  setChecked(on);
  if (exclusive && !on) g->setExclusive(true);
}

bool RadioButtonControl::Apply(const std::string& name, const PropertyValue& value) {
  if (ApplyTextStyle(name, value)) return true;
  if (name == "Caption") {
    setText(ToQt(*As<std::string>(value)).replace('&', QStringLiteral("&&")));
  } else if (name == "Value") {
    setChecked(*As<bool>(value));
  } else {
    return Control::Apply(name, value);
  }
  return true;
}

// ---- GroupBox ----

GroupBoxControl::GroupBoxControl(Window& window)
    : QWidget(&window.Content()), Control(window, ObjectKind::GroupBox) {
  setFont(StyleFont());
}

bool GroupBoxControl::Apply(const std::string& name, const PropertyValue& value) {
  if (ApplyTextStyle(name, value)) {
    update();
    return true;
  }
  if (name == "Caption") {
    caption_ = ToQt(*As<std::string>(value));
    update();
    return true;
  }
  return Control::Apply(name, value);
}

void GroupBoxControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QFontMetrics fm(font());
  const int top = caption_.isEmpty() ? 1 : fm.height() / 2;
  QRectF frame(0.5, top + 0.5, width() - 1.0, height() - top - 1.0);
  p.setPen(QPen(QColor(160, 160, 160), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(frame, 4, 4);
  if (!caption_.isEmpty()) {
    const int w = fm.horizontalAdvance(caption_) + 8;
    const QRect label(8, 0, std::min(w, width() - 16), fm.height());
    p.fillRect(label, palette().color(QPalette::Window));
    p.setPen(Qt::black);
    p.drawText(label, Qt::AlignCenter, caption_);
  }
}

// ---- Shapes ----

ShapeControl::ShapeControl(Window& window, ObjectKind kind)
    : QWidget(&window.Content()), Control(window, kind) {
  // Shapes are decoration: clicks go to whatever lies beneath (lines), and
  // the frames stay below the controls they hold.
  if (kind == ObjectKind::Line) setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool ShapeControl::Apply(const std::string& name, const PropertyValue& value) {
  if (name == "OvalWidth") {
    ovalWidth_ = *As<std::int32_t>(value);
  } else if (name == "OvalHeight") {
    ovalHeight_ = *As<std::int32_t>(value);
  } else if (name == "BorderWidth") {
    borderWidth_ = std::max(0, *As<std::int32_t>(value));
  } else if (name == "BorderColor") {
    border_ = ToQColor(*As<Colour>(value));
  } else if (name == "FillColor") {
    fill_ = ToQColor(*As<Colour>(value));
  } else if (name == "X1") {
    x1_ = *As<std::int32_t>(value);
  } else if (name == "Y1") {
    y1_ = *As<std::int32_t>(value);
  } else if (name == "X2") {
    x2_ = *As<std::int32_t>(value);
  } else if (name == "Y2") {
    y2_ = *As<std::int32_t>(value);
  } else {
    return Control::Apply(name, value);
  }
  update();
  return true;
}

void ShapeControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (Kind() == ObjectKind::Line) {
    // The widget spans the line's bounding box; the end points are in window
    // coordinates.
    p.setPen(QPen(border_, std::max(1, borderWidth_), Qt::SolidLine, Qt::FlatCap));
    const QPoint origin(Left(), Top());
    const double half = std::max(1, borderWidth_) / 2.0;
    p.drawLine(QPointF(x1_ - origin.x() + half, y1_ - origin.y() + half),
               QPointF(x2_ - origin.x() + half, y2_ - origin.y() + half));
    return;
  }
  p.setRenderHint(QPainter::Antialiasing, Kind() == ObjectKind::RoundRectangle);
  const double bw = borderWidth_;
  QRectF r(bw / 2, bw / 2, width() - bw, height() - bw);
  p.setBrush(fill_);
  if (bw > 0) {
    p.setPen(QPen(border_, bw));
  } else {
    p.setPen(Qt::NoPen);
    r = QRectF(rect());
  }
  if (Kind() == ObjectKind::RoundRectangle) {
    p.drawRoundedRect(r, ovalWidth_ / 2.0, ovalHeight_ / 2.0);
  } else {
    p.drawRect(r);
  }
}

// ---- Canvas and ImageWell ----

PictureControl::PictureControl(Window& window, ObjectKind kind)
    : QWidget(&window.Content()), Control(window, kind) {
  setFocusPolicy(Qt::NoFocus);
}

void PictureControl::SetPicture(PicturePtr picture) {
  picture_ = std::move(picture);
  update();
  NameFieldsByTheirLabels(Owner());
}

bool PictureControl::Apply(const std::string& name, const PropertyValue& value) {
  if (name == "UseFocusRing" || name == "AcceptFocus" || name == "AcceptTabs" ||
      name == "EraseBackground") {
    return true;
  }
  return Control::Apply(name, value);
}

void PictureControl::paintEvent(QPaintEvent*) {
  if (!picture_) return;  // a missing picture leaves the control blank
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  picture_->Draw(p, rect());
}

}  // namespace framework

// ---- Listbox ----

namespace framework {

// Edits cells in a line edit that reports every change the user makes, and
// draws the list's grid lines.
class CellDelegate : public QStyledItemDelegate {
 public:
  explicit CellDelegate(ListboxControl& list) : QStyledItemDelegate(&list), list_(list) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    auto* editor = new QLineEdit(parent);
    editor->setFont(list_.font());
    editor->setFrame(false);
    editor->setContextMenuPolicy(Qt::PreventContextMenu);  // as edit fields
    const int row = index.row(), column = index.column();
    list_.editor_ = editor;
    list_.editRow_ = row;
    list_.editColumn_ = column;
    QObject::connect(editor, &QLineEdit::textEdited, &list_, [this, row, column] {
      if (list_.CellTextChange) {
        auto handler = list_.CellTextChange;
        Dispatcher::Run(&list_.Owner(), [handler, row, column] { handler(row, column); });
      }
    });
    return editor;
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    painter->save();
    painter->setPen(QPen(QColor(190, 190, 190), 1));
    const QRect r = option.rect;
    if (list_.gridVertical_ != 0 && index.column() + 1 < list_.columnCount()) {
      painter->drawLine(r.topRight(), r.bottomRight());
    }
    if (list_.gridHorizontal_ != 0) painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
  }

 protected:
  // The text and font a cell is drawn with (the item keeps its text).
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    const QTableWidgetItem* it = list_.item(index.row(), index.column());
    if (it == nullptr || it->text().isEmpty()) return;
    const int room = list_.CellRoom(index.column());
    option->text = FitTextToWidth(it->text(), QFontMetrics(list_.font()), room);
    option->font = FontToFit(list_.font(), option->text, room);
  }

 private:
  ListboxControl& list_;
};

ListboxControl::ListboxControl(Window& window)
    : QTableWidget(&window.Content()), Control(window, ObjectKind::Listbox) {
  setFont(StyleFont());
  setItemDelegate(new CellDelegate(*this));
  verticalHeader()->hide();
  horizontalHeader()->hide();
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setHighlightSections(false);
  setShowGrid(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setWordWrap(false);
  setColumnCount(1);
  FitRowHeight();
  // No context menu of Qt's own on the list's scroll bars either.
  verticalScrollBar()->setContextMenuPolicy(Qt::PreventContextMenu);
  horizontalScrollBar()->setContextMenuPolicy(Qt::PreventContextMenu);
}

void ListboxControl::FitRowHeight() {
  // One height for every row, kept by the header as its default: sizing each
  // new row's section on its own costs time in proportion to the rows above.
  verticalHeader()->setMinimumSectionSize(0);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

void ListboxControl::DeleteAllRows() {
  setRowCount(0);
  lastAdded_ = -1;
}

void ListboxControl::AddRow(const std::string& firstCell) {
  const int row = rowCount();
  insertRow(row);
  SetCell(row, 0, firstCell);
  lastAdded_ = row;
}

int ListboxControl::LastIndex() const { return lastAdded_; }

QTableWidgetItem* ListboxControl::ItemAt(int row, int column) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
    throw std::out_of_range("list " + Name() + " has no cell (" + std::to_string(row) + ", " +
                            std::to_string(column) + ")");
  }
  QTableWidgetItem* it = item(row, column);
  if (it == nullptr) {
    it = new QTableWidgetItem();
    it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    setItem(row, column, it);
  }
  return it;
}

std::string ListboxControl::Cell(int row, int column) const {
  // While the cell is edited its text is the editor's.
  if (editor_ != nullptr && row == editRow_ && column == editColumn_) {
    return editor_->text().toStdString();
  }
  const QTableWidgetItem* it = const_cast<ListboxControl*>(this)->ItemAt(row, column);
  return it->text().toStdString();
}

void ListboxControl::SetCell(int row, int column, const std::string& text) {
  QTableWidgetItem* it = ItemAt(row, column);
  const QString t = QString::fromStdString(text);
  if (editor_ != nullptr && row == editRow_ && column == editColumn_) {
    // Writing the item would reload the open editor and throw its cursor to
    // the end; the editor keeps what the user types and commits it later.
    const QSignalBlocker block(model());
    it->setText(t);
    return;
  }
  it->setText(t);
}

int ListboxControl::CellRoom(int column) const {
  // The style leaves a margin on each side of a cell's text.
  const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
  return columnWidth(column) - margin;
}

std::string ListboxControl::ShownCell(int row, int column) const {
  const QTableWidgetItem* it = const_cast<ListboxControl*>(this)->ItemAt(row, column);
  if (it->text().isEmpty()) return std::string();
  return FitTextToWidth(it->text(), QFontMetrics(font()), CellRoom(column)).toStdString();
}

QFont ListboxControl::CellFont(int row, int column) const {
  const QTableWidgetItem* it = item(row, column);
  if (it == nullptr || it->text().isEmpty()) return font();
  const int room = CellRoom(column);
  return FontToFit(font(), FitTextToWidth(it->text(), QFontMetrics(font()), room), room);
}

std::string ListboxControl::Heading(int column) const {
  const QTableWidgetItem* h = horizontalHeaderItem(column);
  return h ? h->text().toStdString() : std::string();
}

void ListboxControl::SetHeading(int column, const std::string& text) {
  if (column < 0 || column >= columnCount()) return;
  setHorizontalHeaderItem(column, new QTableWidgetItem(QString::fromStdString(text)));
  NameFieldsByTheirLabels(Owner());
}

QString ListboxControl::Headings() const {
  QStringList headings;
  for (int c = 0; c < columnCount(); ++c) {
    if (const QTableWidgetItem* h = horizontalHeaderItem(c); h && !h->text().trimmed().isEmpty()) {
      headings << h->text().trimmed();
    }
  }
  return headings.join(QStringLiteral(", "));
}

void ListboxControl::CloseCellEditor() {
  if (editor_ != nullptr) closeEditor(editor_, QAbstractItemDelegate::NoHint);
  editor_ = nullptr;
  editRow_ = editColumn_ = -1;
}

void ListboxControl::SetCellEditable(int row, int column) {
  QTableWidgetItem* it = ItemAt(row, column);
  it->setFlags(it->flags() | Qt::ItemIsEditable);
}

void ListboxControl::EditCell(int row, int column) {
  QTableWidgetItem* it = ItemAt(row, column);
  if (it->flags() & Qt::ItemIsEditable) {
    setCurrentItem(it);
    editItem(it);
  }
}

void ListboxControl::ApplyColumnWidths() {
  // The viewport, not the widget: a vertical scroll bar that appears takes
  // its width from the columns (resizeEvent runs for the viewport).
  const int total = viewport()->width();
  int used = 0;
  for (int c = 0; c < columnCount(); ++c) {
    const double share = c < static_cast<int>(widths_.size()) ? widths_[c] : 1.0 / columnCount();
    const int w = c + 1 == columnCount() ? std::max(0, total - used) : static_cast<int>(total * share);
    horizontalHeader()->resizeSection(c, w);
    used += w;
  }
}

void ListboxControl::resizeEvent(QResizeEvent* e) {
  QTableWidget::resizeEvent(e);
  ApplyColumnWidths();
}

void ListboxControl::mousePressEvent(QMouseEvent* e) {
  QTableWidget::mousePressEvent(e);
  const QModelIndex index = indexAt(e->position().toPoint());
  if (!index.isValid() || !CellClick) return;
  const QRect cell = visualRect(index);
  const int row = index.row(), column = index.column();
  const int x = e->position().toPoint().x() - cell.left(), y = e->position().toPoint().y() - cell.top();
  auto handler = CellClick;
  Dispatcher::Run(&Owner(), [handler, row, column, x, y] { handler(row, column, x, y); });
}

bool ListboxControl::Apply(const std::string& name, const PropertyValue& value) {
  if (ApplyTextStyle(name, value)) {
    FitRowHeight();
    return true;
  }
  if (name == "ColumnCount") {
    setColumnCount(std::max(1, *As<std::int32_t>(value)));
    // Headings start empty (not Qt's column numbers) until code sets them.
    for (int c = 0; c < columnCount(); ++c) {
      if (horizontalHeaderItem(c) == nullptr) setHorizontalHeaderItem(c, new QTableWidgetItem());
    }
    ApplyColumnWidths();
  } else if (name == "ColumnWidths") {
    // "30%, 70%": shares of the width, in column order.
    widths_.clear();
    for (const QString& part : QString::fromStdString(*As<std::string>(value)).split(',')) {
      QString p = part.trimmed();
      if (p.endsWith('%')) p.chop(1);
      bool ok = false;
      const double v = p.toDouble(&ok);
      if (ok && v >= 0) widths_.push_back(v / 100.0);
    }
    ApplyColumnWidths();
  } else if (name == "HasHeading") {
    horizontalHeader()->setVisible(*As<bool>(value));
  } else if (name == "InitialValue") {
    // Rows separated by line breaks, cells by tabs.
    const QString text = QString::fromStdString(*As<std::string>(value));
    if (!text.isEmpty()) {
      for (const QString& line : text.split(QRegularExpression("\r\n|\r|\n"))) {
        const QStringList cells = line.split('\t');
        AddRow(cells.value(0).toStdString());
        for (int c = 1; c < cells.size() && c < columnCount(); ++c) SetCell(LastIndex(), c, cells[c].toStdString());
      }
    }
  } else if (name == "GridLinesVertical") {
    gridVertical_ = *As<std::int32_t>(value);
  } else if (name == "GridLinesHorizontal") {
    gridHorizontal_ = *As<std::int32_t>(value);
  } else if (name == "ScrollBarVertical") {
    setVerticalScrollBarPolicy(*As<bool>(value) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  } else if (name == "ScrollbarHorizontal") {
    setHorizontalScrollBarPolicy(*As<bool>(value) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  } else if (name == "RequiresSelection" || name == "SelectionType" || name == "HeadingIndex" ||
             name == "DefaultRowHeight" || name == "_ScrollWidth" || name == "_ScrollOffset" ||
             name == "Hierarchical" || name == "EnableDrag" || name == "EnableDragReorder" ||
             name == "ColumnsResizable" || name == "AutoHideScrollbars") {
    // Single selection of fixed columns, scroll bars shown as needed.
  } else {
    return Control::Apply(name, value);
  }
  return true;
}

// ---- ScrollBar ----

ScrollBarControl::ScrollBarControl(Window& window)
    : QScrollBar(Qt::Vertical, &window.Content()), Control(window, ObjectKind::ScrollBar) {
  setContextMenuPolicy(Qt::PreventContextMenu);  // no menu of Qt's own, as in fields
  QObject::connect(this, &QScrollBar::valueChanged, [this] { Raise(ValueChanged); });
}

bool ScrollBarControl::Apply(const std::string& name, const PropertyValue& value) {
  if (name == "Minimum") {
    setMinimum(*As<std::int32_t>(value));
  } else if (name == "Maximum") {
    setMaximum(*As<std::int32_t>(value));
  } else if (name == "Value") {
    const QSignalBlocker block(this);  // building runs no handler
    setValue(*As<std::int32_t>(value));
  } else if (name == "LineStep") {
    setSingleStep(*As<std::int32_t>(value));
  } else if (name == "PageStep") {
    setPageStep(*As<std::int32_t>(value));
  } else if (name == "LiveScroll") {
    // Without live scrolling the value changes when the thumb is released.
    setTracking(*As<bool>(value));
  } else if (name == "AcceptFocus") {
    setFocusPolicy(*As<bool>(value) ? Qt::StrongFocus : Qt::NoFocus);
  } else {
    return Control::Apply(name, value);
  }
  return true;
}

}  // namespace framework
