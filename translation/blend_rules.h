#pragma once

#include "robotfiles/program_model.h"
#include "translation/maps.h"
#include "translation/names.h"
#include "translation/verdict.h"

// A motion's blending in the target's terms. Stops stay stops; a KUKA C_DIS
// distance and an ABB zone's pzone_tcp carry over as millimetres between
// those two; everything else goes through the --blend table, whose keys
// that name a zone by its distance (C_DISx, zN) match any source zone of
// that many millimetres, and without a fitting entry becomes the target's
// smallest blending: ABB z1, KUKA C_DIS with $APO.CDIS = 1, FANUC CNT1.
//   KUKA  joint motions take C_PTP or C_DIS, linear and circular ones
//         C_DIS, C_VEL or C_ORI: an entry the motion cannot take does not fit.
//   ABB   targets of an entry must be fine or a predefined zN (an own
//         zonedata's values are not known from its name).
void convertBlend(const Motion& source, Vendor from, const TranslationOptions& options,
                  NameTable& names, Blend& out, Verdict& verdict);
