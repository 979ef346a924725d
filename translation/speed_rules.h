#pragma once

#include "robotfiles/program_model.h"
#include "translation/maps.h"
#include "translation/names.h"
#include "translation/verdict.h"

// A motion's speed in the target's terms: path speeds by unit, joint
// percentages as percentages between KUKA and FANUC, joint speeds to and
// from ABB through the user's reference (--joint-speed).
//   KUKA  linear/circular: path in m/s; joint: jointPercent.
//   ABB   every motion: abbData (a predefined vN where one has the speed,
//         else an own speeddata [v,500,5000,1000] named speedV).
//   FANUC linear/circular: path in whole mm/sec, else whole cm/min, else
//         rounded mm/sec; joint: whole jointPercent 1..100.
void convertSpeed(const Motion& source, Vendor from, const TranslationOptions& options,
                  NameTable& names, Speed& out, Verdict& verdict);
