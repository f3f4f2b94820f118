// Pictures made from a small text language: typeset formulas plus a few
// shapes, laid out once when read and drawn as vectors.
//
// One statement a line; blank lines and lines starting with '#' are skipped.
//   size W H                    the picture's size in pixels; the first statement
//   area X Y W H                the box the following `text` lines are placed in
//                               (default: the picture less a 2 px margin)
//   align left|center           horizontal placement in the area (default center)
//   font math|serif|sans PX [bold]
//                               math: DejaVu Serif, letters slanted, spacing of
//                               signs automatic and blanks ignored; serif and
//                               sans (DejaVu Sans Condensed): upright, as written
//   color #RRGGBB               text colour (#AARRGGBB too)
//   pen #RRGGBB WIDTH | pen none, fill #RRGGBB | fill none
//   path M x y L x y C x1 y1 x2 y2 x y Z ...    stroked with pen, filled with fill
//   ellipse CX CY RX RY
//   text EXPRESSION             laid out, vertically centred in the area
//
// Expressions:
//   x_i  x^2  x_{ij}^{N-1}      subscript and superscript
//   {...}                       group
//   \frac{num}{den}  \sqrt{x}   fraction with a bar, square root
//   \sum_{i}^{N}                big sigma with limits below and above
//   \left( ... \right)          ( ) | or . stretched to the content
//   \matrix{a & b \\ c & d}     cells centred in columns
//   \rm{...}                    upright letters
//   \cdots \vdots \ddots        drawn dots
//   \, \; \quad                 thin, thick and 1 em spaces
//   \{ \} \_ \^ \&              the characters themselves
// Any other character, Greek and symbols included, is set as it is; in math
// a '-' becomes the minus sign.
#pragma once

#include <QByteArray>
#include <QRectF>
#include <QSize>
#include <memory>

#include "framework/picture.h"

namespace framework {

namespace formula {
class Node;
}

class FormulaPicture final : public Picture {
 public:
  FormulaPicture(QSize size, std::unique_ptr<const formula::Node> root, QString text = QString());
  ~FormulaPicture() override;

  QSize Size() const override;
  void Draw(QPainter& painter, const QRect& target) const override;
  // Its `text` lines without markup, joined by blanks.
  QString Text() const override { return text_; }

  // Everything the picture draws covers this rectangle, in picture pixels.
  QRectF InkBounds() const;

 private:
  QSize size_;
  std::unique_ptr<const formula::Node> root_;
  QString text_;
};

// An expression of a `text` line as plain words: "H_2O" reads "H2O"; groups,
// sub- and superscript marks and commands are dropped, spacing commands
// become blanks, escaped characters stand for themselves.
QString PlainFormulaText(const QString& expression);

// Reads a picture source (UTF-8). nullptr when the source is malformed, or
// when there is no QGuiApplication to measure fonts with.
std::shared_ptr<const FormulaPicture> ParseFormulaPicture(const QByteArray& source);

}  // namespace framework
