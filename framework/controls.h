// The control kinds of the framework, as Qt widgets. Each control is found by
// its name in its window; its properties come from a property record applied
// by RuntimeMassPropertySetter; its events run the window's handlers through
// the application's dispatcher.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "framework/picture.h"
#include "framework/property_record.h"

namespace framework {

class Window;

// What every control has, beside its widget.
class Control {
 public:
  Control(Window& window, ObjectKind kind) : window_(window), kind_(kind) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  virtual QWidget& Widget() = 0;
  ObjectKind Kind() const { return kind_; }
  Window& Owner() const { return window_; }

  const std::string& Name() const { return name_; }
  std::int32_t Index() const { return index_; }
  Control* Parent() const { return parent_; }

  // Geometry in the window's content coordinates, as in the records.
  int Left() const;
  int Top() const;
  int Width() const { return const_cast<Control*>(this)->Widget().width(); }
  int Height() const { return const_cast<Control*>(this)->Widget().height(); }
  void SetLeft(int left);
  void SetTop(int top);
  void SetWidth(int width);
  void SetHeight(int height);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return const_cast<Control*>(this)->Widget().isEnabled(); }

  // The property record the control was built from.
  const std::string& RecordBytes() const { return record_; }

  // Applies one decoded property; false when the kind has no such property.
  virtual bool Apply(const std::string& name, const PropertyValue& value);

 protected:
  // Font properties of the kinds with text; true when `name` was one.
  bool ApplyTextStyle(const std::string& name, const PropertyValue& value);
  QFont StyleFont() const;

  // Runs `handler` (if bound) through the dispatcher.
  void Raise(const std::function<void()>& handler);

 private:
  friend class Window;
  friend void ApplyControlRecord(Control&, const PropertyRecord&);
  friend void RuntimeMassPropertySetter(Control&, std::string_view);
  Window& window_;
  ObjectKind kind_;
  std::string name_;
  std::int32_t index_ = kNoIndex;
  Control* parent_ = nullptr;
  bool visible_ = true;
  std::string record_;
  struct TextStyle {
    std::string family = "System";
    int size = 0;
    bool bold = false, italic = false, underline = false;
  } style_;
};

// Fonts: "system" (any case) is DejaVu Sans Condensed, "palatino" DejaVu
// Serif; sizes in points are pixels on screen.
QFont ControlFont(const std::string& family, int size, bool bold, bool italic, bool underline);

// The text that labels and list cells draw for `text` in `room` pixels: the
// text itself when it fits, else its numbers rounded to the most significant
// digits (never fewer than six) that fit (see FitText).
QString FitTextToWidth(const QString& text, const QFontMetrics& metrics, int room);

// Gives every edit field of the window, as its name for assistive tools, what
// the nearest label (picture, radio caption) at its left on the same row
// reads, and every radio without a caption what the nearest label at its
// right reads. A list is named by its headings; one without headings by the
// label at its left on its row and the nearest label above it. Runs by
// itself after building and whenever a label's text, a heading or a picture
// changes; a name that code set on a control itself is kept.
void NameFieldsByTheirLabels(Window& window);

// A one-line text wider than its label (a number shown with all its digits)
// is drawn with its numbers rounded to fewer digits until it fits, and only
// if it still does not fit in a smaller size, on the same baseline; Text()
// and text() keep every digit, font() stays the size the record gives.
//
// A label of one or two digits set in a smaller size over the text of a unit
// label (the "3" over the blank of "cm /mol", or after "g/cm") is an
// exponent: the unit label draws it, placed by the fonts' metrics, so that
// the pair reads cm³/mol and g/cm³ whatever the font; both keep their
// places and texts.
class StaticTextControl : public QLabel, public Control {
 public:
  explicit StaticTextControl(Window& window);
  QWidget& Widget() override { return *this; }
  std::string Text() const { return text_; }
  void SetText(const std::string& text);
  bool Apply(const std::string& name, const PropertyValue& value) override;
  // The text as drawn, and the font it is drawn in.
  std::string ShownText() const;
  QFont ShownFont() const;

  // A unit label's exponent: the unit's text split where it goes, and where
  // each part is drawn in this label (x of each part's origin, baselines).
  struct RaisedDigits {
    const StaticTextControl* label = nullptr;  // the exponent's own label
    QString before, digits, after;
    QFont digitsFont;
    double beforeX = 0, digitsX = 0, afterX = 0;
    double baseline = 0, digitsBaseline = 0;
  };
  // The exponent this unit label draws, if it carries one.
  std::optional<RaisedDigits> Raised() const;
  // True for an exponent label that its unit label draws.
  bool DrawnByItsUnit() const;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  struct Fit {
    QString text;
    QFont font;
  };
  Fit Fitted() const;
  void UpdatePartner();
  std::string text_;
};

class EditFieldControl : public QLineEdit, public Control {
 public:
  explicit EditFieldControl(Window& window);
  QWidget& Widget() override { return *this; }
  std::string Text() const;
  // Raises TextChange even when the text does not change.
  void SetText(const std::string& text);
  bool Apply(const std::string& name, const PropertyValue& value) override;
  std::function<void()> TextChange;

 private:
  friend void NameFieldsByTheirLabels(Window&);
  bool settingText_ = false;
  QString automaticName_;  // the last name NameFieldsByTheirLabels gave
};

class PushButtonControl : public QPushButton, public Control {
 public:
  explicit PushButtonControl(Window& window);
  QWidget& Widget() override { return *this; }
  bool IsDefault() const { return default_; }
  void Push();  // as a click
  bool Apply(const std::string& name, const PropertyValue& value) override;
  std::function<void()> Action;

 private:
  bool default_ = false;
};

// Radios form groups by the frame around them (see Window::FormRadioGroups)
// and report themselves as radio buttons, with their checked state, to
// assistive tools.
class RadioButtonControl : public QRadioButton, public Control {
 public:
  explicit RadioButtonControl(Window& window);
  QWidget& Widget() override { return *this; }
  bool Value() const { return isChecked(); }
  // Raises Action when the value changes; switching off works inside a group.
  void SetValue(bool on);
  bool Apply(const std::string& name, const PropertyValue& value) override;
  std::function<void()> Action;

 private:
  friend void NameFieldsByTheirLabels(Window&);
  QString automaticName_;  // without a caption: the text at its right, as last given
};

class GroupBoxControl : public QWidget, public Control {
 public:
  explicit GroupBoxControl(Window& window);
  QWidget& Widget() override { return *this; }
  bool Apply(const std::string& name, const PropertyValue& value) override;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QString caption_;
};

// Rectangles, rounded rectangles and lines: drawn shapes that can hold other
// controls (a rectangle or rounded rectangle) but take no clicks themselves.
class ShapeControl : public QWidget, public Control {
 public:
  ShapeControl(Window& window, ObjectKind kind);
  QWidget& Widget() override { return *this; }
  bool Apply(const std::string& name, const PropertyValue& value) override;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  int ovalWidth_ = 0, ovalHeight_ = 0, borderWidth_ = 1;
  QColor border_ = Qt::black, fill_ = Qt::white;
  int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
};

// Canvases show a backdrop picture; image wells an image. Both draw nothing
// else and take no focus.
class PictureControl : public QWidget, public Control {
 public:
  PictureControl(Window& window, ObjectKind kind);
  QWidget& Widget() override { return *this; }
  void SetPicture(PicturePtr picture);
  const PicturePtr& Picture() const { return picture_; }
  bool Apply(const std::string& name, const PropertyValue& value) override;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  PicturePtr picture_;
};

// A list box: rows of text cells in columns whose widths are percentages of
// the list's width, with an optional heading row. Cells can be made editable
// and opened for editing; while a cell is edited, Cell() reads the live text.
// A cell's text wider than its column is drawn with fewer digits, and
// smaller only if that does not do, as labels do. Assistive tools know the
// list by its headings, or without them by the labels of its row and column
// (NameFieldsByTheirLabels).
class ListboxControl : public QTableWidget, public Control {
 public:
  explicit ListboxControl(Window& window);
  QWidget& Widget() override { return *this; }

  void DeleteAllRows();
  void AddRow(const std::string& firstCell);
  int LastIndex() const;  // the row last added, -1 when none
  int ListCount() const { return rowCount(); }
  std::string Cell(int row, int column) const;
  void SetCell(int row, int column, const std::string& text);
  std::string Heading(int column) const;
  // The headings that are not blank, joined by commas.
  QString Headings() const;
  void SetHeading(int column, const std::string& text);
  // The cell's text as drawn, and the font it is drawn in.
  std::string ShownCell(int row, int column) const;
  QFont CellFont(int row, int column) const;
  void SetCellEditable(int row, int column);
  void EditCell(int row, int column);
  // Closes the open cell editor, if any, without writing its text back; for
  // code that is about to delete the rows it belongs to.
  void CloseCellEditor();

  bool Apply(const std::string& name, const PropertyValue& value) override;

  // Click on a cell: row, column and the position within the cell.
  std::function<void(int, int, int, int)> CellClick;
  // Every change the user makes to the text of the cell being edited.
  std::function<void(int, int)> CellTextChange;

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  friend class CellDelegate;
  void ApplyColumnWidths();
  void FitRowHeight();
  int CellRoom(int column) const;
  QTableWidgetItem* ItemAt(int row, int column);
  std::vector<double> widths_;  // fractions of the width
  int gridVertical_ = 0, gridHorizontal_ = 0;
  QPointer<QLineEdit> editor_;  // the open cell editor; null once it is gone
  int editRow_ = -1, editColumn_ = -1;
  int lastAdded_ = -1;
  friend void NameFieldsByTheirLabels(Window&);
  QString automaticName_;  // the headings (or label), as last given to assistive tools
};

class ScrollBarControl : public QScrollBar, public Control {
 public:
  explicit ScrollBarControl(Window& window);
  QWidget& Widget() override { return *this; }
  int Value() const { return value(); }
  void SetValue(int v) { setValue(v); }
  int Maximum() const { return maximum(); }
  void SetMaximum(int v) { setMaximum(v); }
  bool Apply(const std::string& name, const PropertyValue& value) override;
  std::function<void()> ValueChanged;
};

}  // namespace framework
