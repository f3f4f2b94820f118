#include "pictures/pictures.h"

#include <array>

namespace pictures {

namespace {

// Resource IDs in the order of release.
constexpr std::array<int, 34> kIds = {168, 169, 170, 171, 172, 173, 174, 175, 176, 177, 178, 179,
                                      180, 181, 182, 183, 184, 185, 186, 187, 188, 189, 190, 191,
                                      192, 193, 194, 195, 196, 197, 198, 199, 200, 201};

std::array<PicturePtr, 34> cache;
int reads = 0;

std::size_t SlotOf(int id) { return static_cast<std::size_t>(id - kIds.front()); }

// A picture that was found is read once per run; one that was not is looked
// for again next time.
PicturePtr Cached(int id) {
  PicturePtr& slot = cache[SlotOf(id)];
  if (!slot) {
    ++reads;
    slot = framework::GetPicture(id);
  }
  return slot;
}

}  // namespace

PicturePtr eos_223() { return Cached(168); }
PicturePtr amix_173() { return Cached(169); }
PicturePtr bmix_134() { return Cached(170); }
PicturePtr H2O_42() { return Cached(171); }
PicturePtr CO2_42() { return Cached(172); }
PicturePtr CH4_42() { return Cached(173); }
PicturePtr N2_27() { return Cached(174); }
PicturePtr C2H6_48() { return Cached(175); }
PicturePtr H2S_39() { return Cached(176); }
PicturePtr NH3_41() { return Cached(177); }
PicturePtr H2_27() { return Cached(178); }
PicturePtr O2_29() { return Cached(179); }
PicturePtr CO_35() { return Cached(180); }
PicturePtr spinodal_295() { return Cached(181); }
PicturePtr ANV_166() { return Cached(182); }
PicturePtr AVV_161() { return Cached(183); }
PicturePtr dpdv_323() { return Cached(184); }
PicturePtr dpdv2_346() { return Cached(185); }
PicturePtr Vc_113() { return Cached(186); }
PicturePtr Tc_233() { return Cached(187); }
PicturePtr ac_290() { return Cached(188); }
PicturePtr bc_251() { return Cached(189); }
PicturePtr Entropy_148() { return Cached(190); }
PicturePtr Helmholtz_127() { return Cached(191); }
PicturePtr Energy_215() { return Cached(192); }
PicturePtr Enthalpy_161() { return Cached(193); }
PicturePtr Gibbs_214() { return Cached(194); }
PicturePtr chem_129() { return Cached(195); }
PicturePtr Logo10() { return Cached(196); }
PicturePtr Liquid() { return Cached(197); }
PicturePtr Vapour() { return Cached(198); }
PicturePtr Pc_240() { return Cached(199); }
PicturePtr Ar_31() { return Cached(200); }
PicturePtr gases_466() { return Cached(201); }

void ReleasePictures() {
  for (int id : kIds) cache[SlotOf(id)].reset();
}

int PictureResourceReads() { return reads; }

bool PictureCached(int resourceId) {
  if (resourceId < kIds.front() || resourceId > kIds.back()) return false;
  return cache[SlotOf(resourceId)] != nullptr;
}

}  // namespace pictures
