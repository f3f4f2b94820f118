#include "framework/picture.h"

#include <QFile>
#include <QString>
#include <mutex>
#include <set>

#include "framework/formula_picture.h"

namespace framework {
namespace {

// Sources are a few hundred bytes; anything far larger is not a picture.
constexpr qint64 kMaxPictureFileBytes = 64 * 1024;

std::mutex hiddenMutex;
std::set<int> hiddenIds;

bool IsHidden(int id) {
  const std::lock_guard lock(hiddenMutex);
  return hiddenIds.count(id) != 0;
}

}  // namespace

PicturePtr GetPicture(int id) {
  if (IsHidden(id)) return nullptr;
  QFile file(QStringLiteral(":/pictures/%1.fml").arg(id));
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPictureFileBytes) return nullptr;
  return ParseFormulaPicture(file.readAll());
}

void HidePictureResource(int id, bool hidden) {
  const std::lock_guard lock(hiddenMutex);
  if (hidden) {
    hiddenIds.insert(id);
  } else {
    hiddenIds.erase(id);
  }
}

}  // namespace framework
