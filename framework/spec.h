// A small typed builder for property records, so that window code declares
// its window and controls in tables that read like their layout tables:
//
//   StaticText("Sum").At(115, 495, 140, 25).Parent("RoundRectangle1").Size(16).Text("0")
//
// Every record starts from the full set of its kind's properties with their
// defaults; the builder replaces values in place. Setting a property that the
// kind does not have is a programming error and throws.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "framework/property_record.h"

namespace framework {

enum class Align : std::int32_t { Left = 0, Centre = 1, Right = 2 };

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};

class Spec {
 public:
  Spec(ObjectKind kind, PropertyRecord defaults) : kind_(kind), record_(std::move(defaults)) {}

  ObjectKind Kind() const { return kind_; }
  const PropertyRecord& Record() const { return record_; }
  std::string Bytes() const { return EncodeRecord(record_); }
  std::string Name() const;

  Spec& Set(const std::string& name, PropertyValue value);

  // Common to controls.
  Spec& At(int left, int top, int width, int height) {
    return Set("Left", left).Set("Top", top).Set("Width", width).Set("Height", height);
  }
  Spec& Parent(const std::string& name) { return Set("InitialParent", name); }
  Spec& Index(int index) { return Set("Index", index); }
  Spec& Hidden() { return Set("Visible", false); }

  // Controls with text.
  Spec& Font(const std::string& family) { return Set("TextFont", family); }
  Spec& Size(int points) { return Set("TextSize", points); }
  Spec& Bold() { return Set("Bold", true); }
  Spec& Italic() { return Set("Italic", true); }
  Spec& Underline() { return Set("Underline", true); }

  Spec& Text(const std::string& text) { return Set("Text", text); }
  Spec& Alignment(Align a) { return Set("TextAlign", static_cast<std::int32_t>(a)); }
  Spec& Multiline(bool on = true) { return Set("Multiline", on); }
  Spec& TextColour(Colour c) { return Set("TextColor", c); }

  Spec& Caption(const std::string& caption) { return Set("Caption", caption); }
  Spec& Default() { return Set("Default", true); }
  Spec& Cancel() { return Set("Cancel", true); }
  Spec& On() { return Set("Value", true); }

  // Shapes.
  Spec& Oval(int width, int height) { return Set("OvalWidth", width).Set("OvalHeight", height); }
  Spec& Border(int width, Colour c = kBlack) { return Set("BorderWidth", width).Set("BorderColor", c); }
  Spec& Fill(Colour c) { return Set("FillColor", c); }
  Spec& Line(int x1, int y1, int x2, int y2) {
    return Set("X1", x1).Set("Y1", y1).Set("X2", x2).Set("Y2", y2);
  }

  // Scroll bar.
  Spec& Range(int minimum, int maximum) { return Set("Minimum", minimum).Set("Maximum", maximum); }
  Spec& Steps(int line, int page) { return Set("LineStep", line).Set("PageStep", page); }

  // Windows.
  Spec& Title(const std::string& title) { return Set("Title", title); }
  Spec& Content(int width, int height) { return Set("Width", width).Set("Height", height); }
  Spec& Placement(int code) { return Set("Placement", code); }
  Spec& Resizeable(bool on = true) { return Set("Resizeable", on); }
  Spec& Composite(bool on = true) { return Set("Composite", on); }
  Spec& Invisible() { return Set("Visible", false); }

 private:
  ObjectKind kind_;
  PropertyRecord record_;
};

// Records with every property of the kind at its default value.
Spec WindowSpec();
Spec StaticText(const std::string& name);
Spec EditField(const std::string& name);
Spec PushButton(const std::string& name);
Spec RadioButton(const std::string& name);
Spec GroupBox(const std::string& name);
Spec RoundRectangle(const std::string& name);
Spec Rectangle(const std::string& name);
Spec LineShape(const std::string& name);
Spec Canvas(const std::string& name);
Spec ImageWell(const std::string& name);
Spec Listbox(const std::string& name);
Spec ScrollBar(const std::string& name);

}  // namespace framework
