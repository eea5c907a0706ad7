// SPDX-License-Identifier: GPL-3.0-or-later
// "Segregation analysis" without its window: the project prepared for the cross (the member
// groups, the five individuals and the links of the sequences to them), cleaned and analysed.
#pragma once
#include <array>
#include <optional>

#include "analysis/Segregation.h"

// Adds the groups "Father", "Mother", "Sons" and "Daughters" when the project has only the
// outgroup group; a project without individuals gets "Outgroup" (outgroup) and one individual
// per member group, and the sequences are linked to them by name.
void PrepareCross(TDataProj& project);

// Preparation, the group lookup, cleaning and the analysis. None when a member group is
// missing (the command then stops without a message).
std::optional<SegregationOutput> RunSegregation(TDataProj& project,
                                                const std::array<const TDataProj*, 4>& contigs,
                                                PlatformRandom& rng, Services& services);
