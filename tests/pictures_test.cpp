#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <climits>
#include <cstdint>
#include <string>

#include "framework/formula_picture.h"
#include "framework/picture.h"

namespace {

using framework::FormulaPicture;
using framework::GetPicture;
using framework::ParseFormulaPicture;

struct Expected {
  int id;
  const char* name;
  int width;
  int height;
};

constexpr Expected kPictures[] = {
    {168, "eos_223", 223, 55},      {169, "amix_173", 173, 50},   {170, "bmix_134", 134, 50},
    {171, "H2O_42", 42, 25},        {172, "CO2_42", 42, 25},      {173, "CH4_42", 42, 25},
    {174, "N2_27", 27, 25},         {175, "C2H6_48", 48, 25},     {176, "H2S_39", 39, 25},
    {177, "NH3_41", 41, 25},        {178, "H2_27", 27, 25},       {179, "O2_29", 29, 25},
    {180, "CO_35", 35, 25},         {181, "spinodal_295", 295, 100},
    {182, "ANV_166", 166, 60},      {183, "AVV_161", 161, 60},    {184, "dpdv_323", 323, 60},
    {185, "dpdv2_346", 346, 60},    {186, "Vc_113", 113, 50},     {187, "Tc_233", 233, 60},
    {188, "ac_290", 290, 50},       {189, "bc_251", 251, 50},     {190, "Entropy_148", 148, 55},
    {191, "Helmholtz_127", 127, 55}, {192, "Energy_215", 215, 55}, {193, "Enthalpy_161", 161, 25},
    {194, "Gibbs_214", 214, 25},    {195, "chem_129", 129, 60},   {196, "Logo10", 368, 87},
    {197, "Liquid", 120, 45},       {198, "Vapour", 120, 45},     {199, "Pc_240", 240, 60},
    {200, "Ar_31", 31, 25},         {201, "gases_466", 466, 25},
};

QByteArray SourceOf(int id) {
  QFile file(QStringLiteral(":/pictures/%1.fml").arg(id));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::shared_ptr<const FormulaPicture> Parse(const std::string& source) {
  return ParseFormulaPicture(QByteArray::fromStdString(source));
}

// Where the ink of a picture of `text` lies, `head` giving its size and font.
QRectF Ink(const std::string& text, const std::string& head = "size 200 100\n") {
  return Parse(head + "text " + text)->InkBounds();
}

// The picture drawn on white into its own size at `ratio`, offset by `border`
// logical pixels inside a larger image.
QImage Render(const framework::Picture& picture, double ratio, int border = 0) {
  const QSize size = picture.Size() + QSize(2 * border, 2 * border);
  QImage image(size * ratio, QImage::Format_ARGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  QPainter painter(&image);
  picture.Draw(painter, QRect(QPoint(border, border), picture.Size()));
  painter.end();
  return image;
}

// Device-pixel rectangle of everything that is not white.
QRect Inked(const QImage& image) {
  QRect inked;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != qRgb(255, 255, 255)) inked |= QRect(x, y, 1, 1);
    }
  }
  return inked;
}

// Each picture is also written as PNG at one and two times, to be looked at.
TEST(Pictures, EveryPictureLoadsAtItsSizeAndFitsInsideAMargin) {
  const QDir dir(QStringLiteral(PICTURE_DUMP_DIR));
  ASSERT_TRUE(dir.mkpath(QStringLiteral(".")));
  for (const Expected& e : kPictures) {
    SCOPED_TRACE(e.name);
    const auto picture = std::dynamic_pointer_cast<const FormulaPicture>(GetPicture(e.id));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Size(), QSize(e.width, e.height));
    const QRectF ink = picture->InkBounds();
    EXPECT_TRUE(ink.isValid());
    EXPECT_TRUE(QRectF(1.5, 1.5, e.width - 3, e.height - 3).contains(ink)) << ink.x() << ' ' << ink.y()
                                                                        << ' ' << ink.width() << ' '
                                                                        << ink.height();
    // What is drawn stays where the layout says, so nothing leaks out of the control.
    const QImage image = Render(*picture, 2, 8);
    const QRect drawn = Inked(image);
    const QRect allowed(QPoint(std::floor((ink.left() + 8) * 2) - 1, std::floor((ink.top() + 8) * 2) - 1),
                        QPoint(std::ceil((ink.right() + 8) * 2), std::ceil((ink.bottom() + 8) * 2)));
    EXPECT_FALSE(drawn.isEmpty());
    EXPECT_TRUE(allowed.contains(drawn)) << drawn.x() << ' ' << drawn.y() << ' ' << drawn.width()
                                         << ' ' << drawn.height();
    const QString stem = QStringLiteral("%1_%2").arg(e.id).arg(QLatin1String(e.name));
    EXPECT_TRUE(Render(*picture, 1).save(dir.filePath(stem + QStringLiteral(".png"))));
    EXPECT_TRUE(Render(*picture, 2).save(dir.filePath(stem + QStringLiteral("@2x.png"))));
  }
}

TEST(Pictures, UnknownAndHiddenIdsHaveNoPicture) {
  for (int id : {167, 202, 0, -1, INT_MIN, INT_MAX}) EXPECT_EQ(GetPicture(id), nullptr) << id;
  framework::HidePictureResource(170, true);
  EXPECT_EQ(GetPicture(170), nullptr);
  EXPECT_NE(GetPicture(169), nullptr);
  framework::HidePictureResource(170, false);
  EXPECT_NE(GetPicture(170), nullptr);
}

TEST(Drawing, AtTwiceThePixelRatioEdgesAreSharpAndSmooth) {
  const auto picture = GetPicture(168);
  ASSERT_NE(picture, nullptr);
  const QImage image = Render(*picture, 2);
  ASSERT_EQ(image.size(), QSize(446, 110));
  // An upscaled 1x image would be made of uniform 2x2 blocks.
  int detailedBlocks = 0, partial = 0;
  for (int y = 0; y + 1 < image.height(); y += 2) {
    for (int x = 0; x + 1 < image.width(); x += 2) {
      const QRgb p = image.pixel(x, y);
      detailedBlocks += p != image.pixel(x + 1, y) || p != image.pixel(x, y + 1) || p != image.pixel(x + 1, y + 1);
      for (QRgb q : {p, image.pixel(x + 1, y), image.pixel(x, y + 1), image.pixel(x + 1, y + 1)}) {
        partial += qGray(q) > 40 && qGray(q) < 215;
      }
    }
  }
  EXPECT_GT(detailedBlocks, 300);
  EXPECT_GT(partial, 100);  // anti-aliased, not jagged
}

TEST(Drawing, ScalesIntoALargerTarget) {
  const auto picture = Parse("size 40 20\nfont math 14\ntext x = 1");
  ASSERT_NE(picture, nullptr);
  QImage big(80, 40, QImage::Format_ARGB32);
  big.fill(Qt::white);
  QPainter painter(&big);
  picture->Draw(painter, QRect(0, 0, 80, 40));
  painter.end();
  const QRect drawn = Inked(big);
  const QRectF ink = picture->InkBounds();
  EXPECT_NEAR(drawn.width(), 2 * ink.width(), 3);
  EXPECT_NEAR(drawn.height(), 2 * ink.height(), 3);
}

TEST(Layout, ScriptsAndFractionsMoveWhereTheyBelong) {
  const auto plain = Ink("x2"), sub = Ink("x_2"), sup = Ink("x^2");
  // Lines are centred as a whole, so compare extents rather than positions,
  // except below: a subscript this shallow keeps the baseline where it was.
  EXPECT_GT(sub.bottom(), plain.bottom() + 2);
  EXPECT_GT(sup.height(), plain.height() + 2);
  EXPECT_LT(sub.width(), plain.width());  // smaller digits
  EXPECT_LT(sup.width(), plain.width() + 1);

  const auto side = Ink("ab"), stacked = Ink("\\frac{a}{b}");
  EXPECT_GT(stacked.height(), 1.8 * side.height());
  EXPECT_LT(stacked.width(), side.width() + 4);

  const auto sigma = Ink("\\sum x"), limits = Ink("\\sum_{i}^{N} x");
  EXPECT_GT(limits.height(), sigma.height() + 10);
  EXPECT_NEAR(limits.width(), sigma.width(), 1);  // the limits sit under and over it

  const auto one = Ink("\\left| \\matrix{a & b} \\right|");
  const auto three = Ink("\\left| \\matrix{a & b \\\\ c & d \\\\ e & f} \\right|");
  EXPECT_GT(three.height(), 2.5 * one.height() - 4);
  EXPECT_NEAR(three.width(), one.width(), 1);

  // The parentheses cover the fraction; the root sign adds to its operand.
  EXPECT_GT(Ink("\\left(\\frac{a}{b}\\right)").height(), stacked.height());
  EXPECT_GT(Ink("\\sqrt{x}").width(), 1.5 * Ink("x").width());
}

TEST(Layout, MathIgnoresBlanksAndSpacesSignsButTextKeepsBlanks) {
  const std::string head = "size 200 50\n";
  EXPECT_EQ(Ink("a+b=c", head), Ink("a + b  =   c", head));
  EXPECT_GT(Ink("a+b", head).width(), Ink("a+b", head + "font serif 18\n").width() + 4);
  // A leading minus is a sign of its operand, not a binary operator.
  EXPECT_LT(Ink("-b", head).width() + 4, Ink("a-b", head).width() - Ink("a", head).width());
  EXPECT_GT(Ink("a b", head + "font sans 16\n").width(), Ink("ab", head + "font sans 16\n").width() + 2);
}

TEST(Layout, AlignmentAndAreaPlaceTheText) {
  EXPECT_LT(Ink("x", "size 200 40\nalign left\n").left(), 4);
  EXPECT_NEAR(Ink("x", "size 200 40\n").center().x(), 100, 2);
  EXPECT_NEAR(Ink("x", "size 200 40\narea 100 0 100 40\nalign left\n").left(), 100, 2);
  // Labels with and without subscripts share a baseline, so they line up.
  EXPECT_EQ(Ink("H_2O", "size 40 25\nfont sans 16\n").top(), Ink("HO", "size 40 25\nfont sans 16\n").top());
}

TEST(Parser, AcceptsEveryConstructTogether) {
  const char* source =
      "# all of it\nsize 300 120\narea 0 0 300 120\nalign left\nfont serif 16 bold\ncolor #204080\n"
      "pen #102030 1.5\nfill #80a0c0\npath M 1 1 L 10 10 C 12 12 14 14 16 10 Z\nellipse 20 20 3 4\n"
      "pen none\nfill none\nfont math 14\nalign center\n"
      "text \\left( \\frac{∂^2 A}{∂V^2} \\right)_T = \\sum_{i}^{N} x_i^2 \\sqrt{y} \\, \\; \\quad "
      "\\rm{d}V \\cdots \\vdots \\ddots \\{ \\} \\_ \\^ \\& μ ≥ φ · 2⁄3 "
      "\\left| \\matrix{a & b \\\\ c & d \\\\} \\right. {}_2 \n";
  EXPECT_NE(Parse(source), nullptr);
}

TEST(Parser, RejectsMalformedSources) {
  const std::string head = "size 100 50\n";
  const std::string rejected[] = {
      // No picture, or a size that is missing, misshapen or absurd.
      "", "\n\n# only a comment\n", "size 100 50\n", "text x\n", "size 0 50\ntext x", "size 100\ntext x",
      "size 100 50 7\ntext x", "size 1e9 50\ntext x", "size nan 50\ntext x", "size 10.5 50\ntext x",
      // Bad commands and arguments.
      head + "text", head + "bogus 1 2", head + "font math 0\ntext x", head + "font fancy 12\ntext x",
      head + "font math 12 italic\ntext x", head + "align right\ntext x", head + "color red\ntext x",
      head + "color #12345\ntext x", head + "pen #000000\npath M 0 0 L 1 1", head + "pen #000000 -1\npath M 0 0 L 1 1",
      head + "path L 1 1", head + "path M 1 1", head + "path M 1 1 L 2", head + "path M 1 1 Q 2 2",
      head + "path M 1 1 L inf 2", head + "ellipse 1 2 3", head + "ellipse 1 2 0 3", head + "area 0 0 -5 10\ntext x",
      // Formulas that do not close or do not parse.
      head + "text \\frac{a}", head + "text \\frac{a}b", head + "text {a", head + "text a}",
      head + "text \\unknown{x}", head + "text \\", head + "text x_", head + "text _x", head + "text x_a_b",
      head + "text x^a^b", head + "text x_\\frac{a}{b}", head + "text \\left( x", head + "text \\left( x \\right",
      head + "text \\left< x \\right>", head + "text x \\right)", head + "text a & b", head + "text a \\\\ b",
      head + "text \\matrix{a & b", head + "text \\matrix a", head + "text \\sqrt", head + "text \\rm d",
      // Control bytes, broken UTF-8, a NUL, and nesting or length past the limits.
      head + "text a\x01" "b", head + "text a\xff\xfe" "b",
      std::string("size 100 50\ntext a\0b", sizeof("size 100 50\ntext a\0b") - 1), "\xef\xbb\xbf\xff garbage \x80\x81",
      head + "text " + std::string(5000, '{') + "x" + std::string(5000, '}'),
      head + "text " + std::string(40, '{') + "x" + std::string(40, '}'),
      head + "text x" + std::string(100000, ' '),
  };
  for (const std::string& source : rejected) {
    EXPECT_EQ(Parse(source), nullptr) << source.substr(0, 80);
  }
}

TEST(Parser, SurvivesTruncatedAndCorruptedPictures) {
  std::uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  for (const Expected& e : kPictures) {
    const QByteArray source = SourceOf(e.id);
    ASSERT_FALSE(source.isEmpty()) << e.name;
    for (qsizetype cut = 0; cut < source.size(); cut += 7) {
      const auto picture = ParseFormulaPicture(source.left(cut));
      if (picture) {
        EXPECT_EQ(picture->Size(), QSize(e.width, e.height));
      }
    }
    for (int round = 0; round < 100; ++round) {
      QByteArray bent = source;
      for (int flips = 0; flips < 3; ++flips) {
        bent[next() % bent.size()] = static_cast<char>(next() & 0xff);
      }
      const auto picture = ParseFormulaPicture(bent);
      if (picture) Render(*picture, 1);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
