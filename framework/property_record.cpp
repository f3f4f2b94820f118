#include "framework/property_record.h"

#include <algorithm>
#include <array>
#include <set>
#include <utility>

namespace framework {

namespace {

using T = PropertyType;
using Table = std::vector<std::pair<std::string_view, PropertyType>>;

const Table kWindow = {
    {"Placement", T::Int32},      {"Width", T::Int32},          {"Height", T::Int32},
    {"MinWidth", T::Int32},       {"MinHeight", T::Int32},      {"MaxWidth", T::Int32},
    {"MaxHeight", T::Int32},      {"Frame", T::Int32},          {"Composite", T::Boolean},
    {"HasBackColor", T::Boolean}, {"BackColor", T::Colour},     {"Title", T::String},
    {"Visible", T::Boolean},      {"FullScreen", T::Boolean},   {"MenuBarVisible", T::Boolean},
    {"CloseButton", T::Boolean},  {"Resizeable", T::Boolean},   {"LiveResize", T::Boolean},
    {"MaximizeButton", T::Boolean}, {"MinimizeButton", T::Boolean}, {"BalloonHelp", T::String},
    {"MacProcID", T::Int32},
};

const Table kControl = {
    {"Name", T::String},        {"Index", T::Int32},        {"Left", T::Int32},
    {"Top", T::Int32},          {"Width", T::Int32},        {"Height", T::Int32},
    {"LockLeft", T::Boolean},   {"LockTop", T::Boolean},    {"LockRight", T::Boolean},
    {"LockBottom", T::Boolean}, {"TabPanelIndex", T::Int32}, {"Visible", T::Boolean},
    {"Enabled", T::Boolean},    {"AutoDeactivate", T::Boolean}, {"HelpTag", T::String},
    {"InitialParent", T::String},
};

const Table kTextStyle = {
    {"TextFont", T::String}, {"TextSize", T::Int32}, {"Bold", T::Boolean},
    {"Italic", T::Boolean},  {"Underline", T::Boolean},
};

const Table kStaticText = {
    {"Text", T::String},       {"TextAlign", T::Int32},  {"TextColor", T::Colour},
    {"Multiline", T::Boolean}, {"DataSource", T::String}, {"DataField", T::String},
};

const Table kEditField = {
    {"Text", T::String},
    {"Mask", T::String},
    {"Format", T::String},
    {"Alignment", T::Int32},
    {"LimitText", T::Int32},
    {"ReadOnly", T::Boolean},
    {"AcceptTabs", T::Boolean},
    {"Password", T::Boolean},
    {"Styled", T::Boolean},
    {"UseFocusRing", T::Boolean},
    {"ScrollbarVertical", T::Boolean},
    {"ScrollbarHorizontal", T::Boolean},
    {"Multiline", T::Boolean},
    {"Border", T::Boolean},
    {"BackColor", T::Colour},
    {"TextColor", T::Colour},
    {"DataSource", T::String},
    {"DataField", T::String},
};

const Table kPushButton = {{"Caption", T::String}, {"Default", T::Boolean}, {"Cancel", T::Boolean}};
const Table kRadioButton = {{"Caption", T::String}, {"Value", T::Boolean}};
const Table kGroupBox = {{"Caption", T::String}};
const Table kRoundRectangle = {{"OvalWidth", T::Int32},   {"OvalHeight", T::Int32},
                               {"BorderWidth", T::Int32}, {"BorderColor", T::Colour},
                               {"FillColor", T::Colour}};
const Table kRectangle = {{"BorderWidth", T::Int32}, {"BorderColor", T::Colour},
                          {"FillColor", T::Colour}};
const Table kLine = {{"X1", T::Int32},          {"Y1", T::Int32},         {"X2", T::Int32},
                     {"Y2", T::Int32},          {"BorderWidth", T::Int32}, {"BorderColor", T::Colour}};
const Table kCanvas = {{"UseFocusRing", T::Boolean}, {"AcceptFocus", T::Boolean},
                       {"AcceptTabs", T::Boolean},   {"EraseBackground", T::Boolean}};
const Table kListbox = {
    {"ColumnCount", T::Int32},
    {"ColumnWidths", T::String},
    {"HasHeading", T::Boolean},
    {"InitialValue", T::String},
    {"HeadingIndex", T::Int32},
    {"GridLinesHorizontal", T::Int32},
    {"GridLinesVertical", T::Int32},
    {"DefaultRowHeight", T::Int32},
    {"_ScrollWidth", T::Int32},
    {"_ScrollOffset", T::Int32},
    {"SelectionType", T::Int32},
    {"ScrollbarHorizontal", T::Boolean},
    {"ScrollBarVertical", T::Boolean},
    {"Hierarchical", T::Boolean},
    {"EnableDrag", T::Boolean},
    {"EnableDragReorder", T::Boolean},
    {"RequiresSelection", T::Boolean},
    {"ColumnsResizable", T::Boolean},
    {"AutoHideScrollbars", T::Boolean},
    {"DataSource", T::String},
    {"DataField", T::String},
};
const Table kScrollBar = {{"Minimum", T::Int32},  {"Maximum", T::Int32},       {"Value", T::Int32},
                          {"LineStep", T::Int32}, {"PageStep", T::Int32},      {"LiveScroll", T::Boolean},
                          {"AcceptFocus", T::Boolean}};

std::optional<PropertyType> Lookup(const Table& table, std::string_view name) {
  for (const auto& [n, t] : table) {
    if (n == name) return t;
  }
  return std::nullopt;
}

bool HasTextStyle(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::StaticText:
    case ObjectKind::EditField:
    case ObjectKind::PushButton:
    case ObjectKind::RadioButton:
    case ObjectKind::GroupBox:
    case ObjectKind::Listbox:
      return true;
    default:
      return false;
  }
}

const Table* KindTable(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::StaticText: return &kStaticText;
    case ObjectKind::EditField: return &kEditField;
    case ObjectKind::PushButton: return &kPushButton;
    case ObjectKind::RadioButton: return &kRadioButton;
    case ObjectKind::GroupBox: return &kGroupBox;
    case ObjectKind::RoundRectangle: return &kRoundRectangle;
    case ObjectKind::Rectangle: return &kRectangle;
    case ObjectKind::Line: return &kLine;
    case ObjectKind::Canvas: return &kCanvas;
    case ObjectKind::Listbox: return &kListbox;
    case ObjectKind::ScrollBar: return &kScrollBar;
    case ObjectKind::ImageWell:
    case ObjectKind::Window: return nullptr;
  }
  return nullptr;
}

void PutUint32(std::string& out, std::uint32_t v) {
  out.push_back(static_cast<char>((v >> 24) & 0xFF));
  out.push_back(static_cast<char>((v >> 16) & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
  out.push_back(static_cast<char>(v & 0xFF));
}

bool IsNameChar(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// A cursor over the record that never moves past its end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  std::size_t Left() const { return bytes_.size() - pos_; }

  bool Uint32(std::uint32_t& v) {
    if (Left() < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes_[pos_ + i]);
    pos_ += 4;
    return true;
  }
  bool Byte(std::uint8_t& v) {
    if (Left() < 1) return false;
    v = static_cast<unsigned char>(bytes_[pos_++]);
    return true;
  }
  bool Bytes(std::size_t n, std::string_view& out) {
    if (Left() < n) return false;
    out = bytes_.substr(pos_, n);
    pos_ += n;
    return true;
  }
  // The name runs up to the blank; it is made of letters, digits and '_'.
  bool Name(std::string_view& out) {
    std::size_t end = pos_;
    while (end < bytes_.size() && IsNameChar(static_cast<unsigned char>(bytes_[end]))) ++end;
    if (end == pos_ || end >= bytes_.size() || bytes_[end] != ' ') return false;
    out = bytes_.substr(pos_, end - pos_);
    pos_ = end + 1;
    return true;
  }
  std::size_t Position() const { return pos_; }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace

const char* KindName(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::Window: return "Window";
    case ObjectKind::StaticText: return "StaticText";
    case ObjectKind::EditField: return "EditField";
    case ObjectKind::PushButton: return "PushButton";
    case ObjectKind::RadioButton: return "RadioButton";
    case ObjectKind::GroupBox: return "GroupBox";
    case ObjectKind::RoundRectangle: return "RoundRectangle";
    case ObjectKind::Rectangle: return "Rectangle";
    case ObjectKind::Line: return "Line";
    case ObjectKind::Canvas: return "Canvas";
    case ObjectKind::ImageWell: return "ImageWell";
    case ObjectKind::Listbox: return "Listbox";
    case ObjectKind::ScrollBar: return "ScrollBar";
  }
  return "?";
}

std::optional<PropertyType> TypeOf(ObjectKind kind, std::string_view name) {
  if (kind == ObjectKind::Window) return Lookup(kWindow, name);
  // The kind's own table first: its names may shadow a common one's type.
  if (const Table* own = KindTable(kind)) {
    if (auto t = Lookup(*own, name)) return t;
  }
  if (HasTextStyle(kind)) {
    if (auto t = Lookup(kTextStyle, name)) return t;
  }
  return Lookup(kControl, name);
}

std::string EncodeRecord(const PropertyRecord& record) {
  std::string out;
  for (const PropertyEntry& e : record) {
    out += e.name;
    out.push_back(' ');
    std::visit(
        [&out](const auto& v) {
          using V = std::decay_t<decltype(v)>;
          if constexpr (std::is_same_v<V, std::string>) {
            PutUint32(out, static_cast<std::uint32_t>(v.size()));
            out += v;
          } else if constexpr (std::is_same_v<V, std::int32_t>) {
            PutUint32(out, static_cast<std::uint32_t>(v));
          } else if constexpr (std::is_same_v<V, bool>) {
            out.push_back(v ? '\x01' : '\x00');
          } else {
            out.push_back(static_cast<char>(v.r));
            out.push_back(static_cast<char>(v.g));
            out.push_back(static_cast<char>(v.b));
          }
        },
        e.value);
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t n;
    std::uint32_t cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3, cp = c & 0x07;
    } else {
      return false;
    }
    if (text.size() - i - 1 < n) return false;
    for (std::size_t k = 1; k <= n; ++k) {
      const auto d = static_cast<unsigned char>(text[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += n + 1;
  }
  return true;
}

std::optional<PropertyRecord> DecodeRecord(ObjectKind kind, std::string_view bytes,
                                           std::string* error) {
  auto fail = [error](std::string why, std::size_t at) -> std::optional<PropertyRecord> {
    if (error) *error = why + " at byte " + std::to_string(at);
    return std::nullopt;
  };
  PropertyRecord record;
  std::set<std::string, std::less<>> seen;
  Reader in(bytes);
  while (!in.AtEnd()) {
    const std::size_t at = in.Position();
    std::string_view name;
    if (!in.Name(name)) return fail("malformed property name", at);
    const auto type = TypeOf(kind, name);
    if (!type) return fail("unknown property '" + std::string(name) + "'", at);
    if (seen.count(name)) return fail("property '" + std::string(name) + "' given twice", at);
    seen.emplace(name);

    PropertyEntry entry{std::string(name), {}};
    switch (*type) {
      case PropertyType::String: {
        std::uint32_t n;
        std::string_view s;
        if (!in.Uint32(n)) return fail("truncated byte count of '" + entry.name + "'", at);
        if (!in.Bytes(n, s)) return fail("byte count of '" + entry.name + "' past the end", at);
        if (!IsValidUtf8(s)) return fail("'" + entry.name + "' is not UTF-8", at);
        entry.value = std::string(s);
        break;
      }
      case PropertyType::Int32: {
        std::uint32_t v;
        if (!in.Uint32(v)) return fail("truncated value of '" + entry.name + "'", at);
        entry.value = static_cast<std::int32_t>(v);
        break;
      }
      case PropertyType::Boolean: {
        std::uint8_t v;
        if (!in.Byte(v)) return fail("truncated value of '" + entry.name + "'", at);
        if (v > 1) return fail("bad boolean byte in '" + entry.name + "'", at);
        entry.value = v == 1;
        break;
      }
      case PropertyType::Colour: {
        Colour c;
        if (!in.Byte(c.r) || !in.Byte(c.g) || !in.Byte(c.b)) {
          return fail("truncated colour of '" + entry.name + "'", at);
        }
        entry.value = c;
        break;
      }
    }
    record.push_back(std::move(entry));
  }
  return record;
}

const PropertyValue* Find(const PropertyRecord& record, std::string_view name) {
  for (const auto& e : record) {
    if (e.name == name) return &e.value;
  }
  return nullptr;
}

}  // namespace framework
