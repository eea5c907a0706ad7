// SPDX-License-Identifier: GPL-3.0-or-later
// Services for benchmarks: messages swallowed, no progress bar, default settings and code.
#pragma once
#include "common/AppSettings.h"
#include "common/Services.h"
#include "model/GenCodUnit.h"

struct BenchServices {
  QuietMessages messages;
  NullProgress progress;
  AppSettings settings;
  TGenCode genCode{"Universal"};
  Services services{messages, progress, settings, genCode};
};
