// The project pictures, one accessor each, named as the picture. Each is read
// from the application's resources the first time a window that shows it is
// built, and kept until ReleasePictures() at exit.
#pragma once

#include "framework/picture.h"

namespace pictures {

using framework::PicturePtr;

PicturePtr eos_223();
PicturePtr amix_173();
PicturePtr bmix_134();
PicturePtr H2O_42();
PicturePtr CO2_42();
PicturePtr CH4_42();
PicturePtr N2_27();
PicturePtr C2H6_48();
PicturePtr H2S_39();
PicturePtr NH3_41();
PicturePtr H2_27();
PicturePtr O2_29();
PicturePtr CO_35();
PicturePtr spinodal_295();
PicturePtr ANV_166();
PicturePtr AVV_161();
PicturePtr dpdv_323();
PicturePtr dpdv2_346();
PicturePtr Vc_113();
PicturePtr Tc_233();
PicturePtr ac_290();
PicturePtr bc_251();
PicturePtr Entropy_148();
PicturePtr Helmholtz_127();
PicturePtr Energy_215();
PicturePtr Enthalpy_161();
PicturePtr Gibbs_214();
PicturePtr chem_129();
PicturePtr Logo10();
PicturePtr Liquid();
PicturePtr Vapour();
PicturePtr Pc_240();
PicturePtr Ar_31();
PicturePtr gases_466();

// Drops every cached picture, in the order of the accessors above.
void ReleasePictures();

// For tests: how many times a resource has been read, and whether the
// picture of a resource ID is cached.
int PictureResourceReads();
bool PictureCached(int resourceId);

}  // namespace pictures
