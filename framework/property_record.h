// Property records: the settings of a window or a control as one byte string
// of named, typed entries that follow each other without separator or count.
// An entry is the property's name in ASCII, one blank, then the value:
//   string  32-bit big-endian byte count, then that many bytes of UTF-8
//   int32   32-bit big-endian two's complement
//   boolean one byte, 00 or 01
//   colour  three bytes: red, green, blue
// The record carries no type tags: the reader knows each property's type from
// its name, through the table of the object kind it is applied to.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace framework {

enum class PropertyType { String, Int32, Boolean, Colour };

struct Colour {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

using PropertyValue = std::variant<std::string, std::int32_t, bool, Colour>;

struct PropertyEntry {
  std::string name;
  PropertyValue value;
  friend bool operator==(const PropertyEntry&, const PropertyEntry&) = default;
};

using PropertyRecord = std::vector<PropertyEntry>;

// The object kinds that records are written for.
enum class ObjectKind {
  Window,
  StaticText,
  EditField,
  PushButton,
  RadioButton,
  GroupBox,
  RoundRectangle,
  Rectangle,
  Line,
  Canvas,
  ImageWell,
  Listbox,
  ScrollBar,
};

const char* KindName(ObjectKind kind);

// The type of property `name` on objects of `kind`, or nothing when such
// objects have no property of that name.
std::optional<PropertyType> TypeOf(ObjectKind kind, std::string_view name);

// Control set membership: a plain control has this index.
inline constexpr std::int32_t kNoIndex = INT32_MIN;

std::string EncodeRecord(const PropertyRecord& record);

// Decodes a whole record for an object of `kind`. Rejects (nothing returned,
// reason in *error) an unknown name, a name that is not followed by a blank, a
// truncated value, a byte count past the end, a boolean byte other than 00/01,
// a string that is not valid UTF-8, and a property given twice. Never reads
// past the end of `bytes`.
std::optional<PropertyRecord> DecodeRecord(ObjectKind kind, std::string_view bytes,
                                           std::string* error = nullptr);

// True when `text` is well-formed UTF-8 (no overlongs, surrogates or code
// points above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Looks up an entry of a decoded record.
const PropertyValue* Find(const PropertyRecord& record, std::string_view name);

}  // namespace framework
