// SPDX-License-Identifier: GPL-3.0-or-later
// Services for the fuzz targets: say nothing, answer No, never cancel.
#pragma once
#include "common/Services.h"
#include "model/GenCodUnit.h"

struct QuietServices {
  QuietMessages messages;
  NullProgress progress;
  AppSettings settings;
  TGenCode genCode{"Universal"};
  Services services{messages, progress, settings, genCode};
};
