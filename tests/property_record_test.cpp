// The property-record byte format: encoding, decoding, and hostile input.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/property_record.h"
#include "framework/spec.h"

namespace {

using namespace framework;

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s.push_back(static_cast<char>(c));
  return s;
}

TEST(PropertyRecord, ByteLayoutOfEachTypeTypesDependOnTheKind) {
  EXPECT_EQ(EncodeRecord({{"Index", kNoIndex}}), "Index " + Bytes({0x80, 0, 0, 0}));
  EXPECT_EQ(EncodeRecord({{"Left", 445}}), "Left " + Bytes({0, 0, 0x01, 0xBD}));
  EXPECT_EQ(EncodeRecord({{"Top", -2}}), "Top " + Bytes({0xFF, 0xFF, 0xFF, 0xFE}));
  EXPECT_EQ(EncodeRecord({{"Text", std::string()}}), "Text " + Bytes({0, 0, 0, 0}));
  EXPECT_EQ(EncodeRecord({{"Text", std::string("in ˚C")}}),
            "Text " + Bytes({0, 0, 0, 6}) + "in ˚C");  // byte count, not characters
  EXPECT_EQ(EncodeRecord({{"Visible", true}, {"Bold", false}}),
            "Visible " + Bytes({1}) + "Bold " + Bytes({0}));
  EXPECT_EQ(EncodeRecord({{"BackColor", Colour{0xFF, 0x80, 0x00}}}),
            "BackColor " + Bytes({0xFF, 0x80, 0x00}));
  // "Value" is a boolean on a radio button and an int32 on a scroll bar.
  EXPECT_EQ(TypeOf(ObjectKind::RadioButton, "Value"), PropertyType::Boolean);
  EXPECT_EQ(TypeOf(ObjectKind::ScrollBar, "Value"), PropertyType::Int32);
  EXPECT_EQ(TypeOf(ObjectKind::Window, "Title"), PropertyType::String);
  EXPECT_FALSE(TypeOf(ObjectKind::Canvas, "Text").has_value());
  EXPECT_FALSE(TypeOf(ObjectKind::Window, "Name").has_value());
  EXPECT_THROW(Canvas("Canvas1").Text("x"), std::logic_error);
  EXPECT_THROW(RadioButton("r").Set("Value", 3), std::logic_error);
}

TEST(PropertyRecord, DecodesWhatItEncodes) {
  const Spec spec = StaticText("Sum").At(115, 495, 140, 25).Parent("RoundRectangle1").Size(16)
                        .Text("0").Italic().TextColour(Colour{1, 2, 3});
  const auto decoded = DecodeRecord(ObjectKind::StaticText, spec.Bytes());
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(*decoded, spec.Record());
  EXPECT_EQ(std::get<std::int32_t>(*Find(*decoded, "Index")), INT32_MIN);  // no control set
  EXPECT_EQ(std::get<std::string>(*Find(*decoded, "InitialParent")), "RoundRectangle1");
}

TEST(PropertyRecord, RejectsMalformedRecordsAndUtf8) {
  auto rejects = [](ObjectKind kind, const std::string& bytes) {
    std::string error;
    const bool rejected = !DecodeRecord(kind, bytes, &error).has_value();
    EXPECT_TRUE(rejected) << "accepted: " << bytes;
    EXPECT_FALSE(error.empty());
  };
  rejects(ObjectKind::StaticText, "Colour " + Bytes({0, 0, 0}));             // unknown name
  rejects(ObjectKind::StaticText, "Visible" + Bytes({1}));                    // no blank
  rejects(ObjectKind::StaticText, " " + Bytes({1}));                          // empty name
  rejects(ObjectKind::StaticText, "Visible " + Bytes({2}));                   // bad boolean
  rejects(ObjectKind::StaticText, "Left " + Bytes({0, 0, 1}));                // truncated int
  rejects(ObjectKind::StaticText, "Text " + Bytes({0, 0, 0, 9}) + "short");   // count past end
  rejects(ObjectKind::StaticText, "Text " + Bytes({0xFF, 0xFF, 0xFF, 0xFF})); // huge count
  rejects(ObjectKind::StaticText, "Text " + Bytes({0, 0, 0, 2, 0xC3, 0x28})); // bad UTF-8
  rejects(ObjectKind::StaticText, "Text " + Bytes({0, 0, 0, 2, 0xC0, 0x80})); // overlong NUL
  rejects(ObjectKind::StaticText, "TextColor " + Bytes({1, 2}));              // short colour
  rejects(ObjectKind::StaticText, "Left " + Bytes({0, 0, 0, 1}) + "Left " + Bytes({0, 0, 0, 2}));
  EXPECT_TRUE(DecodeRecord(ObjectKind::StaticText, "").has_value());  // nothing to set
  for (const char* good : {"", "H₂O ˚C ·i", "\xF4\x8F\xBF\xBF" /* U+10FFFF */}) {
    EXPECT_TRUE(IsValidUtf8(good)) << good;
  }
  // Above U+10FFFF, a surrogate, cut short, a lone continuation byte, two overlong forms.
  for (const char* bad :
       {"\xF4\x90\x80\x80", "\xED\xA0\x80", "\xE2\x82", "\x80", "\xE0\x80\xAF", "\xE0\x9F\xBF"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  }
}

TEST(PropertyRecord, EveryTruncationAndCorruptionIsHandled) {
  const Spec spec = EditField("H2Onumber").At(110, 90, 150, 25).Size(16).Text("0.25");
  const std::string good = spec.Bytes();
  // Where each entry ends: a cut there is a shorter valid record.
  std::vector<std::size_t> boundaries;
  for (std::size_t n = 1; n <= spec.Record().size(); ++n) {
    PropertyRecord prefix(spec.Record().begin(), spec.Record().begin() + static_cast<long>(n));
    boundaries.push_back(EncodeRecord(prefix).size());
  }
  for (std::size_t cut = 1; cut < good.size(); ++cut) {
    const bool boundary = std::find(boundaries.begin(), boundaries.end(), cut) != boundaries.end();
    // A copy of exactly `cut` bytes, so that reading past it would be caught
    // by a memory checker.
    const std::string prefix(good.data(), cut);
    EXPECT_EQ(DecodeRecord(ObjectKind::EditField, prefix).has_value(), boundary) << cut;
  }
  // Every single-byte corruption either decodes to something or is refused;
  // none may crash.
  int refused = 0;
  for (std::size_t i = 0; i < good.size(); ++i) {
    for (int v : {0x00, 0x01, 0x20, 0x7F, 0x80, 0xC0, 0xFF}) {
      std::string bad = good;
      bad[i] = static_cast<char>(v);
      if (!DecodeRecord(ObjectKind::EditField, bad).has_value()) ++refused;
    }
  }
  EXPECT_GT(refused, 0);
}

}  // namespace
