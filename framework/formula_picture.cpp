#include "framework/formula_picture.h"

#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace framework {
namespace formula {

// A laid-out piece of a picture. Its origin is the left end of its baseline;
// y grows downwards as in Qt, so the ascent lies at negative y.
class Node {
 public:
  virtual ~Node() = default;
  virtual void Paint(QPainter& painter, QPointF origin) const = 0;

  double width = 0;
  double ascent = 0;
  double descent = 0;
  QRectF ink;  // what Paint covers, relative to the origin; invalid if nothing
};

}  // namespace formula

namespace {

using formula::Node;
using NodePtr = std::unique_ptr<Node>;

constexpr qsizetype kMaxSourceBytes = 64 * 1024;
constexpr int kMaxDepth = 32;  // nesting of groups; keeps the recursion shallow
constexpr double kMaxCoordinate = 10000;
constexpr int kMinPx = 7;  // scripts never get smaller than this

struct Malformed {};  // thrown inside the parser, caught at its entry

QRectF Unite(const QRectF& a, const QRectF& b) {
  if (!a.isValid()) return b;
  if (!b.isValid()) return a;
  return a.united(b);
}

class Glyphs final : public Node {
 public:
  Glyphs(const QString& text, const QFont& font, const QColor& color)
      : text_(text), font_(font), color_(color) {
    const QFontMetricsF metrics(font_);
    width = metrics.horizontalAdvance(text_);
    const QRectF tight = metrics.tightBoundingRect(text_);
    if (tight.isValid()) ink = tight;
    ascent = ink.isValid() ? std::max(0.0, -ink.top()) : 0.0;
    descent = ink.isValid() ? std::max(0.0, ink.bottom()) : 0.0;
  }

  void Paint(QPainter& painter, QPointF origin) const override {
    painter.setFont(font_);
    painter.setPen(color_);
    painter.drawText(origin, text_);
  }

  // How far a slanted last letter leans past the advance.
  double Overhang() const {
    return font_.italic() && ink.isValid() ? std::max(0.0, ink.right() - width) : 0.0;
  }

 private:
  QString text_;
  QFont font_;
  QColor color_;
};

class Shape final : public Node {
 public:
  Shape(QPainterPath path, QPen pen, QBrush brush)
      : path_(std::move(path)), pen_(std::move(pen)), brush_(std::move(brush)) {
    ink = path_.boundingRect();
    if (pen_.style() != Qt::NoPen) {
      const double half = pen_.widthF() / 2;  // round joins and caps reach no further
      ink.adjust(-half, -half, half, half);
    }
    width = std::max(0.0, ink.right());
    ascent = std::max(0.0, -ink.top());
    descent = std::max(0.0, ink.bottom());
  }

  void Paint(QPainter& painter, QPointF origin) const override {
    painter.save();
    painter.translate(origin);
    painter.setPen(pen_);
    painter.setBrush(brush_);
    painter.drawPath(path_);
    painter.restore();
  }

 private:
  QPainterPath path_;
  QPen pen_;
  QBrush brush_;
};

// Pieces at offsets; whoever builds one sets its width, ascent and descent.
class Group final : public Node {
 public:
  void Add(NodePtr node, QPointF at) {
    ink = Unite(ink, node->ink.translated(at));
    parts_.push_back({at, std::move(node)});
  }

  void Paint(QPainter& painter, QPointF origin) const override {
    for (const auto& [at, node] : parts_) node->Paint(painter, origin + at);
  }

 private:
  std::vector<std::pair<QPointF, NodePtr>> parts_;
};

QPen Stroke(const QColor& color, double width) {
  return QPen(QBrush(color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

NodePtr Filled(const QPainterPath& path, const QColor& color) {
  return std::make_unique<Shape>(path, QPen(Qt::NoPen), QBrush(color));
}

NodePtr Spacer(double width) {
  auto space = std::make_unique<Group>();
  space->width = width;
  return space;
}

enum class Face { kMath, kSerif, kSans };

struct Style {
  Face face = Face::kMath;
  int px = 18;
  bool bold = false;
  bool upright = false;  // \rm
  QColor color = Qt::black;
  int level = 0;  // 0 for the main size, 1 for scripts, 2 for scripts of scripts
  int fractionDepth = 0;

  Style Script() const {
    Style s = *this;
    s.px = std::max(kMinPx, static_cast<int>(std::lround(px * (level == 0 ? 0.7 : 0.8))));
    ++s.level;
    return s;
  }

  QFont Font(bool italic, double scale = 1.0) const {
    QFont font(face == Face::kSans ? QStringLiteral("DejaVu Sans Condensed")
                                   : QStringLiteral("DejaVu Serif"));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(px * scale))));
    font.setItalic(italic);
    font.setBold(bold);
    // Unhinted outlines measure the same at every device pixel ratio.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
  }

  bool SameFont(const Style& o) const {
    return face == o.face && px == o.px && bold == o.bold && color == o.color;
  }
};

struct Metrics {
  double em;
  double axis;  // height of the fraction bar and of the minus sign above the baseline
  double rule;  // thickness of bars and strokes
};

Metrics MetricsOf(const Style& style) {
  const QFontMetricsF metrics(style.Font(false));
  const QRectF minus = metrics.tightBoundingRect(QString(QChar(0x2212)));
  const double em = style.px;
  const double axis = minus.isValid() ? -minus.center().y() : 0.25 * em;
  return {em, axis, std::max(1.0, 0.055 * em)};
}

enum class Kind { kOrd, kOp, kBin, kRel, kOpen, kClose, kPunct, kInner, kSpace };

Kind ClassOf(QChar c) {
  if (QStringView(u"=<>≈≤≥≠≡→").contains(c)) return Kind::kRel;
  if (QStringView(u"+−·×±").contains(c)) return Kind::kBin;
  if (c == u',' || c == u';') return Kind::kPunct;
  if (c == u'(' || c == u'[') return Kind::kOpen;
  if (c == u')' || c == u']') return Kind::kClose;
  return Kind::kOrd;
}

bool Slanted(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= 0x03B1 && u <= 0x03C9);
}

bool AsciiLetter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

// Space between neighbours in math, after the usual typesetting conventions;
// inside scripts signs sit tight.
double Gap(Kind a, Kind b, const Style& style) {
  const double em = style.px;
  const bool script = style.level > 0;
  if (a == Kind::kSpace || b == Kind::kSpace) return 0;
  if (a == Kind::kBin || b == Kind::kBin) return script ? 0 : em * 4 / 18;
  if (a == Kind::kRel || b == Kind::kRel) return script ? 0 : em * 5 / 18;
  if (a == Kind::kPunct) return em * 3 / 18;
  if (script) return 0;
  if ((a == Kind::kOp && b != Kind::kClose && b != Kind::kPunct) ||
      (b == Kind::kOp && a != Kind::kOpen)) {
    return em * 3 / 18;
  }
  if ((a == Kind::kInner && (b == Kind::kOrd || b == Kind::kInner || b == Kind::kOpen)) ||
      (b == Kind::kInner && (a == Kind::kOrd || a == Kind::kClose))) {
    return em * 3 / 18;
  }
  return 0;
}

struct Atom {
  Kind kind = Kind::kOrd;
  Style style;
  QString text;  // one character of a text run, unless `node` is set
  bool italic = false;
  NodePtr node;
  bool limits = false;  // scripts go below and above
  NodePtr sub;
  NodePtr sup;
};

NodePtr Scripts(NodePtr nucleus, bool isChar, double overhang, NodePtr sub, NodePtr sup,
                const Style& style) {
  const Metrics m = MetricsOf(style);
  const double scriptEm = style.Script().px;
  const double xHeight = QFontMetricsF(style.Font(false)).xHeight();
  double up = isChar ? 0 : nucleus->ascent - 0.39 * scriptEm;
  double down = isChar ? 0 : nucleus->descent + 0.05 * scriptEm;
  if (sup) up = std::max({up, 0.36 * m.em, sup->descent + 0.25 * xHeight});
  if (sub && !sup) down = std::max({down, 0.15 * m.em, sub->ascent - 0.8 * xHeight});
  if (sub && sup) {
    down = std::max(down, 0.25 * m.em);
    const double clearance = (up - sup->descent) - (sub->ascent - down);
    if (clearance < 4 * m.rule) down += 4 * m.rule - clearance;
  }
  auto group = std::make_unique<Group>();
  const double base = nucleus->width;
  group->ascent = nucleus->ascent;
  group->descent = nucleus->descent;
  double right = base;
  group->Add(std::move(nucleus), {0, 0});
  if (sup) {
    group->ascent = std::max(group->ascent, up + sup->ascent);
    right = std::max(right, base + overhang + sup->width);
    group->Add(std::move(sup), {base + overhang, -up});
  }
  if (sub) {
    group->descent = std::max(group->descent, down + sub->descent);
    right = std::max(right, base + sub->width);
    group->Add(std::move(sub), {base, down});
  }
  group->width = right + 0.05 * m.em;
  return group;
}

NodePtr Limits(NodePtr op, NodePtr below, NodePtr above, const Style& style) {
  const double gap = 0.12 * style.px;
  double width = op->width;
  if (below) width = std::max(width, below->width);
  if (above) width = std::max(width, above->width);
  auto group = std::make_unique<Group>();
  group->width = width;
  group->ascent = op->ascent;
  group->descent = op->descent;
  if (above) {
    const double y = -(op->ascent + gap + above->descent);
    group->ascent = -y + above->ascent;
    const double x = (width - above->width) / 2;
    group->Add(std::move(above), {x, y});
  }
  if (below) {
    const double y = op->descent + gap + below->ascent;
    group->descent = y + below->descent;
    const double x = (width - below->width) / 2;
    group->Add(std::move(below), {x, y});
  }
  const double x = (width - op->width) / 2;
  group->Add(std::move(op), {x, 0});
  return group;
}

NodePtr BigOperator(QChar symbol, const Style& style) {
  const Metrics m = MetricsOf(style);
  auto glyph = std::make_unique<Glyphs>(QString(symbol), style.Font(false, 1.4), style.color);
  const QRectF ink = glyph->ink.isValid() ? glyph->ink : QRectF(0, -m.em, m.em, m.em);
  const double dy = -m.axis - ink.center().y();  // centred on the axis
  auto group = std::make_unique<Group>();
  group->width = glyph->width;
  group->ascent = std::max(0.0, -(dy + ink.top()));
  group->descent = std::max(0.0, dy + ink.bottom());
  group->Add(std::move(glyph), {0, dy});
  return group;
}

NodePtr Fraction(NodePtr num, NodePtr den, const Style& style) {
  const Metrics m = MetricsOf(style);
  const double clearance = (style.level == 0 && style.fractionDepth == 0 ? 0.16 : 0.1) * m.em;
  const double overhang = 0.06 * m.em;  // the bar reaches past the wider part
  const double inner = std::max(num->width, den->width) + 2 * overhang;
  const double margin = 0.06 * m.em;
  const double bar = -m.axis;
  const double numY = bar - m.rule / 2 - clearance - num->descent;
  const double denY = bar + m.rule / 2 + clearance + den->ascent;
  auto group = std::make_unique<Group>();
  group->width = inner + 2 * margin;
  group->ascent = -numY + num->ascent;
  group->descent = denY + den->descent;
  QPainterPath rule;
  rule.addRect(QRectF(margin, bar - m.rule / 2, inner, m.rule));
  group->Add(Filled(rule, style.color), {0, 0});
  const double numX = margin + (inner - num->width) / 2;
  const double denX = margin + (inner - den->width) / 2;
  group->Add(std::move(num), {numX, numY});
  group->Add(std::move(den), {denX, denY});
  return group;
}

NodePtr Radical(NodePtr body, const Style& style) {
  const Metrics m = MetricsOf(style);
  const double em = m.em;
  const double top = -(body->ascent + 0.14 * em + m.rule / 2);
  const double bottom = body->descent + 0.08 * em;
  const double h = bottom - top;
  const double bodyX = 0.66 * em;
  QPainterPath sign;
  sign.moveTo(0.06 * em, bottom - 0.42 * h);
  sign.lineTo(0.18 * em, bottom - 0.48 * h);
  sign.lineTo(0.38 * em, bottom);
  sign.lineTo(0.6 * em, top);
  sign.lineTo(bodyX + body->width + 0.06 * em, top);
  auto stroke = std::make_unique<Shape>(sign, Stroke(style.color, m.rule), QBrush(Qt::NoBrush));
  auto group = std::make_unique<Group>();
  group->width = bodyX + body->width + 0.12 * em;
  group->ascent = std::max(stroke->ascent, body->ascent);
  group->descent = std::max(stroke->descent, body->descent);
  group->Add(std::move(stroke), {0, 0});
  group->Add(std::move(body), {bodyX, 0});
  return group;
}

// A delimiter reaching `half` above and below the axis.
NodePtr Delimiter(QChar kind, double half, const Style& style) {
  const Metrics m = MetricsOf(style);
  const double em = m.em;
  const double top = -m.axis - half;
  const double bottom = -m.axis + half;
  if (kind == u'.') return Spacer(0);
  QPainterPath path;
  double width;
  if (kind == u'|') {
    const double pad = 0.12 * em;
    const double thickness = 1.1 * m.rule;
    path.addRect(QRectF(pad, top, thickness, bottom - top));
    width = 2 * pad + thickness;
  } else {
    // A crescent, thick in the middle, like a parenthesis of the text face.
    const double h = bottom - top;
    const double pad = 0.06 * em;
    const double bulge = std::min(0.5 * em, 0.16 * em + 0.08 * h);
    const double stem = std::max(0.8, 0.075 * em);
    const double tip = pad + bulge;
    const double outer = (pad - 0.25 * tip) / 0.75;  // the curve's middle reaches `pad`
    const double innerX = outer + stem / 0.75;
    path.moveTo(tip, top);
    path.cubicTo(outer, top + 0.22 * h, outer, bottom - 0.22 * h, tip, bottom);
    path.cubicTo(innerX, bottom - 0.24 * h, innerX, top + 0.24 * h, tip, top);
    path.closeSubpath();
    width = tip + pad;
    if (kind == u')') path = QTransform(-1, 0, 0, 1, width, 0).map(path);
  }
  // A hairline outline blunts the tips of the crescent.
  const QPen pen = kind == u'|' ? QPen(Qt::NoPen) : Stroke(style.color, 0.035 * em);
  auto shape = std::make_unique<Shape>(path, pen, QBrush(style.color));
  shape->width = width;
  return shape;
}

NodePtr Fenced(QChar open, NodePtr body, QChar close, const Style& style) {
  const Metrics m = MetricsOf(style);
  const double half = std::max(std::max(body->ascent - m.axis, body->descent + m.axis) + 0.08 * m.em,
                               0.55 * m.em);
  NodePtr left = Delimiter(open, half, style);
  NodePtr right = Delimiter(close, half, style);
  auto group = std::make_unique<Group>();
  group->ascent = std::max({left->ascent, body->ascent, right->ascent});
  group->descent = std::max({left->descent, body->descent, right->descent});
  const double bodyX = left->width;
  const double rightX = bodyX + body->width;
  group->width = rightX + right->width;
  group->Add(std::move(left), {0, 0});
  group->Add(std::move(body), {bodyX, 0});
  group->Add(std::move(right), {rightX, 0});
  return group;
}

NodePtr Matrix(std::vector<std::vector<NodePtr>> rows, const Style& style) {
  const Metrics m = MetricsOf(style);
  const double columnGap = 0.9 * m.em;
  const double rowGap = 0.45 * m.em;
  const double side = 0.3 * m.em;  // keeps the cells off enclosing bars
  std::vector<double> columns;
  std::vector<double> ascents(rows.size(), 0.0), descents(rows.size(), 0.0);
  for (std::size_t r = 0; r < rows.size(); ++r) {
    if (rows[r].size() > columns.size()) columns.resize(rows[r].size(), 0.0);
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      columns[c] = std::max(columns[c], rows[r][c]->width);
      ascents[r] = std::max(ascents[r], rows[r][c]->ascent);
      descents[r] = std::max(descents[r], rows[r][c]->descent);
    }
  }
  std::vector<double> baselines(rows.size(), 0.0);
  for (std::size_t r = 1; r < rows.size(); ++r) {
    baselines[r] = baselines[r - 1] + descents[r - 1] + rowGap + ascents[r];
  }
  const double height = ascents.front() + baselines.back() + descents.back();
  const double shift = -m.axis - height / 2 + ascents.front();  // centred on the axis
  auto group = std::make_unique<Group>();
  group->ascent = -(shift - ascents.front());
  group->descent = shift + baselines.back() + descents.back();
  double x = side;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (c >= rows[r].size()) continue;
      const double cellX = x + (columns[c] - rows[r][c]->width) / 2;
      group->Add(std::move(rows[r][c]), {cellX, shift + baselines[r]});
    }
    x += columns[c] + (c + 1 < columns.size() ? columnGap : 0);
  }
  group->width = x + side;
  return group;
}

NodePtr Dots(QStringView which, const Style& style) {
  const Metrics m = MetricsOf(style);
  const double em = m.em;
  const double r = 0.06 * em;
  std::vector<QPointF> centres;
  double width;
  if (which == u"cdots") {
    centres = {{0.15 * em, -m.axis}, {0.45 * em, -m.axis}, {0.75 * em, -m.axis}};
    width = 0.9 * em;
  } else if (which == u"vdots") {
    centres = {{0.25 * em, -0.1 * em}, {0.25 * em, -0.4 * em}, {0.25 * em, -0.7 * em}};
    width = 0.5 * em;
  } else {
    centres = {{0.15 * em, -0.7 * em}, {0.45 * em, -0.4 * em}, {0.75 * em, -0.1 * em}};
    width = 0.9 * em;
  }
  QPainterPath path;
  for (const QPointF& c : centres) path.addEllipse(c, r, r);
  auto dots = Filled(path, style.color);
  dots->width = width;
  return dots;
}

enum class Stop { kEnd, kBrace, kCell, kRow, kRight };

class ExpressionParser {
 public:
  explicit ExpressionParser(QStringView source) : s_(source) {}

  NodePtr Parse(const Style& style) {
    auto [node, stop] = Row(style);
    if (stop != Stop::kEnd) throw Malformed{};
    return std::move(node);
  }

 private:
  struct Nesting {
    explicit Nesting(int& depth) : depth_(depth) {
      if (depth_ >= kMaxDepth) throw Malformed{};
      ++depth_;
    }
    ~Nesting() { --depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;
    int& depth_;
  };

  bool AtEnd() const { return pos_ >= s_.size(); }

  void SkipBlanks() {
    while (!AtEnd() && s_[pos_].isSpace()) ++pos_;
  }

  std::pair<NodePtr, Stop> Row(const Style& style) {
    Nesting nesting(depth_);
    std::vector<Atom> atoms;
    while (true) {
      if (AtEnd()) return {Assemble(atoms, style), Stop::kEnd};
      const QChar c = s_[pos_];
      if (style.face == Face::kMath && c.isSpace()) {
        ++pos_;
        continue;
      }
      if (c == u'}' || c == u'&') {
        ++pos_;
        return {Assemble(atoms, style), c == u'}' ? Stop::kBrace : Stop::kCell};
      }
      if (c == u'{') {
        ++pos_;
        atoms.push_back(NodeAtom(Kind::kOrd, GroupBody(style), style));
      } else if (c == u'_' || c == u'^') {
        ++pos_;
        Script(atoms, c == u'^');
      } else if (c == u'\\') {
        ++pos_;
        if (const std::optional<Stop> stop = Command(atoms, style)) {
          return {Assemble(atoms, style), *stop};
        }
      } else {
        atoms.push_back(CharAtom(style));
      }
    }
  }

  NodePtr GroupBody(const Style& style) {
    auto [node, stop] = Row(style);
    if (stop != Stop::kBrace) throw Malformed{};
    return std::move(node);
  }

  NodePtr Braced(const Style& style) {
    SkipBlanks();
    if (AtEnd() || s_[pos_] != u'{') throw Malformed{};
    ++pos_;
    return GroupBody(style);
  }

  static Atom NodeAtom(Kind kind, NodePtr node, const Style& style) {
    Atom atom;
    atom.kind = kind;
    atom.style = style;
    atom.node = std::move(node);
    return atom;
  }

  Atom CharAtom(const Style& style) {
    const QChar c = s_[pos_];
    qsizetype n = 1;
    if (c.isHighSurrogate() && pos_ + 1 < s_.size() && s_[pos_ + 1].isLowSurrogate()) {
      n = 2;
    } else if (c.isSurrogate() || c.category() == QChar::Other_Control || c.isNonCharacter()) {
      throw Malformed{};
    }
    Atom atom;
    atom.style = style;
    atom.text = s_.mid(pos_, n).toString();
    pos_ += n;
    if (style.face == Face::kMath) {
      if (c == u'-') atom.text = QString(QChar(0x2212));
      atom.kind = ClassOf(atom.text.front());
      atom.italic = !style.upright && Slanted(c);
    }
    return atom;
  }

  void Script(std::vector<Atom>& atoms, bool above) {
    if (atoms.empty() || atoms.back().kind == Kind::kSpace) throw Malformed{};
    Atom& nucleus = atoms.back();
    NodePtr& slot = above ? nucleus.sup : nucleus.sub;
    if (slot) throw Malformed{};
    const Style style = nucleus.style.Script();
    if (style.face == Face::kMath) SkipBlanks();
    if (AtEnd()) throw Malformed{};
    const QChar c = s_[pos_];
    if (c == u'{') {
      ++pos_;
      slot = GroupBody(style);
    } else if (QStringView(u"}&_^\\").contains(c) || c.isSpace()) {
      throw Malformed{};
    } else {
      std::vector<Atom> one;
      one.push_back(CharAtom(style));
      slot = Assemble(one, style);
    }
  }

  QChar DelimiterChar() {
    SkipBlanks();
    if (AtEnd() || !QStringView(u"()|.").contains(s_[pos_])) throw Malformed{};
    return s_[pos_++];
  }

  // Handles the command after a backslash; a value means the row ends here.
  std::optional<Stop> Command(std::vector<Atom>& atoms, const Style& style) {
    if (AtEnd()) throw Malformed{};
    const qsizetype start = pos_;
    if (AsciiLetter(s_[pos_])) {
      while (!AtEnd() && AsciiLetter(s_[pos_])) ++pos_;
    } else {
      ++pos_;
    }
    const QStringView name = s_.sliced(start, pos_ - start);
    if (AsciiLetter(name.front())) SkipBlanks();

    if (name == u"\\") return Stop::kRow;
    if (name == u"right") return Stop::kRight;
    if (name.size() == 1 && QStringView(u"{}_^&").contains(name.front())) {
      Atom atom;
      atom.style = style;
      atom.text = name.toString();
      atoms.push_back(std::move(atom));
    } else if (name == u"," || name == u";" || name == u"quad") {
      const double em = style.px;
      const double width = name == u"," ? em * 3 / 18 : name == u";" ? em * 5 / 18 : em;
      atoms.push_back(NodeAtom(Kind::kSpace, Spacer(width), style));
    } else if (name == u"frac") {
      Style part = style.fractionDepth > 0 ? style.Script() : style;
      ++part.fractionDepth;
      NodePtr num = Braced(part);
      NodePtr den = Braced(part);
      atoms.push_back(NodeAtom(Kind::kInner, Fraction(std::move(num), std::move(den), style), style));
    } else if (name == u"sqrt") {
      atoms.push_back(NodeAtom(Kind::kOrd, Radical(Braced(style), style), style));
    } else if (name == u"sum") {
      Atom atom = NodeAtom(Kind::kOp, BigOperator(QChar(0x03A3), style), style);
      atom.limits = true;
      atoms.push_back(std::move(atom));
    } else if (name == u"left") {
      const QChar open = DelimiterChar();
      auto [body, stop] = Row(style);
      if (stop != Stop::kRight) throw Malformed{};
      const QChar close = DelimiterChar();
      atoms.push_back(NodeAtom(Kind::kInner, Fenced(open, std::move(body), close, style), style));
    } else if (name == u"matrix") {
      atoms.push_back(NodeAtom(Kind::kInner, MatrixBody(style), style));
    } else if (name == u"rm") {
      Style upright = style;
      upright.upright = true;
      atoms.push_back(NodeAtom(Kind::kOrd, Braced(upright), style));
    } else if (name == u"cdots" || name == u"vdots" || name == u"ddots") {
      atoms.push_back(NodeAtom(Kind::kOrd, Dots(name, style), style));
    } else {
      throw Malformed{};
    }
    return std::nullopt;
  }

  NodePtr MatrixBody(const Style& style) {
    SkipBlanks();
    if (AtEnd() || s_[pos_] != u'{') throw Malformed{};
    ++pos_;
    std::vector<std::vector<NodePtr>> rows(1);
    while (true) {
      auto [cell, stop] = Row(style);
      rows.back().push_back(std::move(cell));
      if (stop == Stop::kBrace) break;
      if (stop == Stop::kRow) {
        rows.emplace_back();
      } else if (stop != Stop::kCell) {
        throw Malformed{};
      }
    }
    // A row separator before the closing brace adds no row.
    if (rows.size() > 1 && rows.back().size() == 1 && rows.back().front()->width == 0 &&
        !rows.back().front()->ink.isValid()) {
      rows.pop_back();
    }
    return Matrix(std::move(rows), style);
  }

  // Lays out a row: runs of letters become one text, scripts attach, and
  // math gets its spacing.
  static NodePtr Assemble(std::vector<Atom>& atoms, const Style& style) {
    const std::size_t n = atoms.size();
    // A sign with no operand on one side is unary: no spacing as a binary sign.
    for (std::size_t i = 0; i < n; ++i) {
      if (atoms[i].kind != Kind::kBin) continue;
      const Kind before = i > 0 ? atoms[i - 1].kind : Kind::kOpen;
      const Kind after = i + 1 < n ? atoms[i + 1].kind : Kind::kClose;
      const bool left = before == Kind::kOrd || before == Kind::kClose ||
                        before == Kind::kInner || before == Kind::kSpace;
      const bool right = after != Kind::kRel && after != Kind::kClose && after != Kind::kPunct;
      if (!left || !right) atoms[i].kind = Kind::kOrd;
    }

    struct Piece {
      NodePtr node;
      Kind kind;
      double overhang;
      bool italicText;
    };
    std::vector<Piece> pieces;
    for (std::size_t i = 0; i < n;) {
      Atom& first = atoms[i];
      if (first.node) {
        NodePtr node = std::move(first.node);
        if (first.limits) {
          node = Limits(std::move(node), std::move(first.sub), std::move(first.sup), first.style);
        } else if (first.sub || first.sup) {
          node = Scripts(std::move(node), false, 0, std::move(first.sub), std::move(first.sup),
                         first.style);
        }
        pieces.push_back({std::move(node), first.kind, 0, false});
        ++i;
        continue;
      }
      QString text = first.text;
      std::size_t j = i + 1;
      while (j < n && first.kind == Kind::kOrd && !atoms[j - 1].sub && !atoms[j - 1].sup &&
             !atoms[j].node && atoms[j].kind == Kind::kOrd && atoms[j].italic == first.italic &&
             atoms[j].style.SameFont(first.style)) {
        text += atoms[j].text;
        ++j;
      }
      Atom& last = atoms[j - 1];
      auto glyphs = std::make_unique<Glyphs>(text, first.style.Font(first.italic), first.style.color);
      const double overhang = glyphs->Overhang();
      if (last.sub || last.sup) {
        pieces.push_back({Scripts(std::move(glyphs), true, overhang, std::move(last.sub),
                                  std::move(last.sup), first.style),
                          first.kind, 0, false});
      } else {
        pieces.push_back({std::move(glyphs), first.kind, overhang, first.italic});
      }
      i = j;
    }

    auto row = std::make_unique<Group>();
    const bool math = style.face == Face::kMath;
    double x = 0;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
      Piece& piece = pieces[k];
      if (k > 0) {
        const Piece& before = pieces[k - 1];
        if (math) x += Gap(before.kind, piece.kind, style);
        // A slanted letter before an upright neighbour would touch it.
        if (before.italicText && !piece.italicText && piece.kind != Kind::kBin &&
            piece.kind != Kind::kRel && piece.kind != Kind::kPunct) {
          x += before.overhang;
        }
      }
      row->ascent = std::max(row->ascent, piece.node->ascent);
      row->descent = std::max(row->descent, piece.node->descent);
      const double width = piece.node->width;
      row->Add(std::move(piece.node), {x, 0});
      x += width;
    }
    row->width = x;
    return row;
  }

  QStringView s_;
  qsizetype pos_ = 0;
  int depth_ = 0;
};

// ---- statements ----

std::vector<double> Numbers(const QStringList& words, qsizetype first, qsizetype count) {
  if (words.size() != first + count) throw Malformed{};
  std::vector<double> values;
  for (qsizetype i = first; i < words.size(); ++i) {
    bool ok = false;
    const double v = words[i].toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::abs(v) > kMaxCoordinate) throw Malformed{};
    values.push_back(v);
  }
  return values;
}

QColor Colour(const QString& word) {
  const QColor colour(word);
  if (!word.startsWith(u'#') || !colour.isValid()) throw Malformed{};
  return colour;
}

QPainterPath PathOf(const QStringList& words) {
  QPainterPath path;
  qsizetype i = 1;
  auto take = [&](int count) {
    if (i + count > words.size()) throw Malformed{};
    std::vector<double> v = Numbers(words.mid(i, count), 0, count);
    i += count;
    return v;
  };
  while (i < words.size()) {
    const QString& op = words[i++];
    if (path.elementCount() == 0 && op != u"M") throw Malformed{};
    if (op == u"M") {
      const auto v = take(2);
      path.moveTo(v[0], v[1]);
    } else if (op == u"L") {
      const auto v = take(2);
      path.lineTo(v[0], v[1]);
    } else if (op == u"C") {
      const auto v = take(6);
      path.cubicTo(v[0], v[1], v[2], v[3], v[4], v[5]);
    } else if (op == u"Z") {
      path.closeSubpath();
    } else {
      throw Malformed{};
    }
  }
  if (path.elementCount() < 2) throw Malformed{};
  return path;
}

struct Placement {
  QRectF area;
  bool centred = true;
};

void PlaceText(Group& root, NodePtr body, const Style& style, const Placement& place) {
  const QFontMetricsF metrics(style.Font(false));
  // Lines of one face share a baseline whether or not they have scripts.
  const double ascent = std::max(body->ascent, metrics.capHeight());
  const double descent = std::max(body->descent, 0.2 * style.px);
  // Centred by the ink: a slanted last letter would otherwise sit off centre.
  const double middle = body->ink.isValid() ? body->ink.center().x() : body->width / 2;
  const double x = place.centred ? place.area.center().x() - middle : place.area.left();
  const double baseline = place.area.center().y() + (ascent - descent) / 2;
  root.Add(std::move(body), {x, baseline});
}

std::shared_ptr<const FormulaPicture> Build(const QString& source) {
  QSize size;
  Placement place;
  Style style;
  QPen pen = Stroke(Qt::black, 1);
  QBrush brush(Qt::NoBrush);
  auto root = std::make_unique<Group>();
  QStringList plain;  // what the text lines say
  int drawn = 0;
  const QStringList lines = source.split(u'\n');
  for (const QString& raw : lines) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(u'#')) continue;
    for (const QChar c : line) {
      if (c.category() == QChar::Other_Control && c != u'\t') throw Malformed{};
    }
    const QStringList words = line.simplified().split(u' ');
    const QString& keyword = words.front();
    if (!size.isValid()) {
      if (keyword != u"size") throw Malformed{};
      const auto v = Numbers(words, 1, 2);
      if (v[0] < 1 || v[1] < 1 || v[0] > 4096 || v[1] > 4096 || v[0] != std::floor(v[0]) ||
          v[1] != std::floor(v[1])) {
        throw Malformed{};
      }
      size = QSize(static_cast<int>(v[0]), static_cast<int>(v[1]));
      place.area = QRectF(2, 2, size.width() - 4, size.height() - 4);
    } else if (keyword == u"area") {
      const auto v = Numbers(words, 1, 4);
      if (v[2] < 0 || v[3] < 0) throw Malformed{};
      place.area = QRectF(v[0], v[1], v[2], v[3]);
    } else if (keyword == u"align") {
      if (words.size() != 2 || (words[1] != u"left" && words[1] != u"center")) throw Malformed{};
      place.centred = words[1] == u"center";
    } else if (keyword == u"font") {
      if (words.size() < 3 || words.size() > 4 || (words.size() == 4 && words[3] != u"bold")) {
        throw Malformed{};
      }
      if (words[1] == u"math") {
        style.face = Face::kMath;
      } else if (words[1] == u"serif") {
        style.face = Face::kSerif;
      } else if (words[1] == u"sans") {
        style.face = Face::kSans;
      } else {
        throw Malformed{};
      }
      bool ok = false;
      const int px = words[2].toInt(&ok);
      if (!ok || px < 6 || px > 200) throw Malformed{};
      style.px = px;
      style.bold = words.size() == 4;
    } else if (keyword == u"color") {
      if (words.size() != 2) throw Malformed{};
      style.color = Colour(words[1]);
    } else if (keyword == u"pen") {
      if (words.size() == 2 && words[1] == u"none") {
        pen = QPen(Qt::NoPen);
      } else {
        if (words.size() != 3) throw Malformed{};
        const double width = Numbers(words, 2, 1).front();
        if (width <= 0 || width > 100) throw Malformed{};
        pen = Stroke(Colour(words[1]), width);
      }
    } else if (keyword == u"fill") {
      if (words.size() != 2) throw Malformed{};
      brush = words[1] == u"none" ? QBrush(Qt::NoBrush) : QBrush(Colour(words[1]));
    } else if (keyword == u"path" || keyword == u"ellipse") {
      QPainterPath path;
      if (keyword == u"path") {
        path = PathOf(words);
      } else {
        const auto v = Numbers(words, 1, 4);
        if (v[2] <= 0 || v[3] <= 0) throw Malformed{};
        path.addEllipse(QPointF(v[0], v[1]), v[2], v[3]);
      }
      root->Add(std::make_unique<Shape>(path, pen, brush), {0, 0});
      ++drawn;
    } else if (keyword == u"text") {
      const QString expression = line.sliced(keyword.size()).trimmed();
      if (expression.isEmpty()) throw Malformed{};
      PlaceText(*root, ExpressionParser(expression).Parse(style), style, place);
      plain << PlainFormulaText(expression);
      ++drawn;
    } else {
      throw Malformed{};
    }
  }
  if (!size.isValid() || drawn == 0) throw Malformed{};
  return std::make_shared<const FormulaPicture>(size, std::move(root), plain.join(u' ').simplified());
}

}  // namespace

QString PlainFormulaText(const QString& expression) {
  QString out;
  for (qsizetype i = 0; i < expression.size(); ++i) {
    const QChar c = expression[i];
    if (c == u'_' || c == u'^' || c == u'{' || c == u'}') continue;
    if (c != u'\\') {
      out += c;
      continue;
    }
    if (i + 1 >= expression.size()) break;
    const QChar next = expression[i + 1];
    if (!next.isLetter()) {  // \{ \} \_ \^ \& stand for themselves; \, and \; are spaces
      out += next == u',' || next == u';' ? QChar(u' ') : next;
      ++i;
      continue;
    }
    qsizetype end = i + 1;
    while (end < expression.size() && expression[end].isLetter()) ++end;
    if (expression.mid(i + 1, end - i - 1) == u"quad") out += u' ';
    i = end - 1;
  }
  return out.simplified();
}

FormulaPicture::FormulaPicture(QSize size, std::unique_ptr<const formula::Node> root, QString text)
    : size_(size), root_(std::move(root)), text_(std::move(text)) {}

FormulaPicture::~FormulaPicture() = default;

QSize FormulaPicture::Size() const { return size_; }

QRectF FormulaPicture::InkBounds() const { return root_->ink; }

void FormulaPicture::Draw(QPainter& painter, const QRect& target) const {
  if (target.isEmpty() || size_.isEmpty()) return;
  painter.save();
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  painter.translate(target.topLeft());
  if (target.size() != size_) {
    painter.scale(static_cast<double>(target.width()) / size_.width(),
                  static_cast<double>(target.height()) / size_.height());
  }
  root_->Paint(painter, QPointF(0, 0));
  painter.restore();
}

std::shared_ptr<const FormulaPicture> ParseFormulaPicture(const QByteArray& source) {
  // Fonts can only be measured once a GUI application exists.
  if (source.size() > kMaxSourceBytes || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    return nullptr;
  }
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8.decode(source);
  if (utf8.hasError()) return nullptr;
  try {
    return Build(text);
  } catch (const Malformed&) {
    return nullptr;
  }
}

}  // namespace framework
