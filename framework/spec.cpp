#include "framework/spec.h"

namespace framework {

namespace {

PropertyRecord Common(const std::string& name) {
  return {
      {"Name", name},          {"Index", kNoIndex},      {"Left", 0},
      {"Top", 0},              {"Width", 0},             {"Height", 0},
      {"LockLeft", false},     {"LockTop", false},       {"LockRight", false},
      {"LockBottom", false},   {"TabPanelIndex", 0},     {"Visible", true},
      {"Enabled", true},       {"AutoDeactivate", true}, {"HelpTag", std::string()},
      {"InitialParent", std::string()},
  };
}

void Append(PropertyRecord& record, PropertyRecord more) {
  for (auto& e : more) record.push_back(std::move(e));
}

PropertyRecord TextStyle() {
  return {{"TextFont", std::string("System")},
          {"TextSize", 0},
          {"Bold", false},
          {"Italic", false},
          {"Underline", false}};
}

Spec Make(ObjectKind kind, const std::string& name, bool text, PropertyRecord own) {
  PropertyRecord r = Common(name);
  if (text) Append(r, TextStyle());
  Append(r, std::move(own));
  return Spec(kind, std::move(r));
}

}  // namespace

std::string Spec::Name() const {
  if (const PropertyValue* v = Find(record_, "Name")) {
    if (const auto* s = std::get_if<std::string>(v)) return *s;
  }
  return {};
}

Spec& Spec::Set(const std::string& name, PropertyValue value) {
  const auto type = TypeOf(kind_, name);
  if (!type || static_cast<std::size_t>(*type) != value.index()) {
    throw std::logic_error(std::string(KindName(kind_)) + " has no property " + name +
                           " of that type");
  }
  for (auto& e : record_) {
    if (e.name == name) {
      e.value = std::move(value);
      return *this;
    }
  }
  record_.push_back({name, std::move(value)});
  return *this;
}

Spec WindowSpec() {
  return Spec(ObjectKind::Window,
              {
                  {"Placement", 0},          {"Width", 300},
                  {"Height", 300},           {"MinWidth", 64},
                  {"MinHeight", 64},         {"MaxWidth", 32000},
                  {"MaxHeight", 32000},      {"Frame", 0},
                  {"Composite", false},      {"HasBackColor", true},
                  {"BackColor", kWhite},     {"Title", std::string()},
                  {"Visible", true},         {"FullScreen", false},
                  {"MenuBarVisible", true},  {"CloseButton", true},
                  {"Resizeable", false},     {"LiveResize", true},
                  {"MaximizeButton", false}, {"MinimizeButton", false},
                  {"BalloonHelp", std::string()}, {"MacProcID", 0},
              });
}

Spec StaticText(const std::string& name) {
  return Make(ObjectKind::StaticText, name, true,
              {{"Text", std::string()},
               {"TextAlign", 0},
               {"TextColor", kBlack},
               {"Multiline", false},
               {"DataSource", std::string()},
               {"DataField", std::string()}});
}

Spec EditField(const std::string& name) {
  return Make(ObjectKind::EditField, name, true,
              {{"Text", std::string()},
               {"Mask", std::string()},
               {"Format", std::string()},
               {"Alignment", 0},
               {"LimitText", 0},
               {"ReadOnly", false},
               {"AcceptTabs", false},
               {"Password", false},
               {"Styled", false},
               {"UseFocusRing", true},
               {"ScrollbarVertical", false},
               {"ScrollbarHorizontal", false},
               {"Multiline", false},
               {"Border", true},
               {"BackColor", kWhite},
               {"TextColor", kBlack},
               {"DataSource", std::string()},
               {"DataField", std::string()}});
}

Spec PushButton(const std::string& name) {
  return Make(ObjectKind::PushButton, name, true,
              {{"Caption", std::string()}, {"Default", false}, {"Cancel", false}});
}

Spec RadioButton(const std::string& name) {
  return Make(ObjectKind::RadioButton, name, true, {{"Caption", std::string()}, {"Value", false}});
}

Spec GroupBox(const std::string& name) {
  return Make(ObjectKind::GroupBox, name, true, {{"Caption", std::string()}});
}

Spec RoundRectangle(const std::string& name) {
  return Make(ObjectKind::RoundRectangle, name, false,
              {{"OvalWidth", 16},
               {"OvalHeight", 16},
               {"BorderWidth", 1},
               {"BorderColor", kBlack},
               {"FillColor", kWhite}});
}

Spec Rectangle(const std::string& name) {
  return Make(ObjectKind::Rectangle, name, false,
              {{"BorderWidth", 1}, {"BorderColor", kBlack}, {"FillColor", kWhite}});
}

Spec LineShape(const std::string& name) {
  return Make(ObjectKind::Line, name, false,
              {{"X1", 0}, {"Y1", 0}, {"X2", 0}, {"Y2", 0}, {"BorderWidth", 1}, {"BorderColor", kBlack}});
}

Spec Canvas(const std::string& name) {
  return Make(ObjectKind::Canvas, name, false,
              {{"UseFocusRing", false},
               {"AcceptFocus", false},
               {"AcceptTabs", false},
               {"EraseBackground", true}});
}

Spec ImageWell(const std::string& name) { return Make(ObjectKind::ImageWell, name, false, {}); }

Spec Listbox(const std::string& name) {
  return Make(ObjectKind::Listbox, name, true,
              {{"ColumnCount", 1},
               {"ColumnWidths", std::string()},
               {"HasHeading", false},
               {"InitialValue", std::string()},
               {"HeadingIndex", -1},
               {"GridLinesHorizontal", 0},
               {"GridLinesVertical", 0},
               {"DefaultRowHeight", -1},
               {"_ScrollWidth", -1},
               {"_ScrollOffset", 0},
               {"SelectionType", 0},
               {"ScrollbarHorizontal", false},
               {"ScrollBarVertical", true},
               {"Hierarchical", false},
               {"EnableDrag", false},
               {"EnableDragReorder", false},
               {"RequiresSelection", false},
               {"ColumnsResizable", false},
               {"AutoHideScrollbars", true},
               {"DataSource", std::string()},
               {"DataField", std::string()}});
}

Spec ScrollBar(const std::string& name) {
  return Make(ObjectKind::ScrollBar, name, false,
              {{"Minimum", 0},
               {"Maximum", 100},
               {"Value", 0},
               {"LineStep", 1},
               {"PageStep", 20},
               {"LiveScroll", false},
               {"AcceptFocus", true}});
}

}  // namespace framework
