// SPDX-License-Identifier: GPL-3.0-or-later
// The bundled example project (examples/example.psf is written by `nodrix3-cli make-example`).
#pragma once
#include <string>

#include "common/Services.h"

class TDataProj;

bool BuildExampleProject(TDataProj& project);
// Builds the example and writes it as a version 3 project file.
bool WriteExampleProject(const std::string& path, Services& services);
