// SPDX-License-Identifier: GPL-3.0-or-later
// Quiet services for the fuzz targets: no messages shown, every question answered No.
#pragma once
#include "common/Services.h"
#include "model/GenCodUnit.h"

struct FuzzServices {
  QuietMessages messages;
  NullProgress progress;
  AppSettings settings;
  TGenCode genCode{"Universal"};
  Services services{messages, progress, settings, genCode};
};
