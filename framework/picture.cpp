#include "framework/picture.h"

#include <set>

namespace framework {

namespace {
std::set<int>& Hidden() {
  static std::set<int> hidden;
  return hidden;
}
}  // namespace

PicturePtr GetPicture(int id) {
  if (Hidden().count(id)) return nullptr;
  return nullptr;
}

void HidePictureResource(int id, bool hidden) {
  if (hidden) {
    Hidden().insert(id);
  } else {
    Hidden().erase(id);
  }
}

}  // namespace framework
