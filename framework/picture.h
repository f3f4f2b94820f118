// Pictures of the application's resources, addressed by resource ID. A
// picture is vector drawing, so it stays crisp at any device pixel ratio.
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <memory>

class QPainter;

namespace framework {

class Picture {
 public:
  virtual ~Picture() = default;
  // The size the picture was made for, in pixels.
  virtual QSize Size() const = 0;
  // Draws the picture into `target` (normally a rectangle of Size()).
  virtual void Draw(QPainter& painter, const QRect& target) const = 0;
  // The words the picture shows, as plain text ("H2O" for H₂O), for
  // assistive tools; empty when it shows none.
  virtual QString Text() const { return QString(); }
};

using PicturePtr = std::shared_ptr<const Picture>;

// Reads picture resource `id` from the application's resources; nullptr when
// there is none with that ID (or it cannot be read).
PicturePtr GetPicture(int id);

// For tests: makes GetPicture(id) find nothing while `hidden` is true.
void HidePictureResource(int id, bool hidden);

}  // namespace framework
