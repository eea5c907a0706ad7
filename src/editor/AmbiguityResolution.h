// SPDX-License-Identifier: GPL-3.0-or-later
// Ambiguity resolution: IUPAC ambiguity letters turned into unambiguous alleles, one allele per
// copy of a sequence's ploidy, the letters drawn at random.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "editor/EditorContext.h"

class PlatformRandom;

// The bases a letter stands for ("GTC" for 'B', "tc" for 'y', "?" for a letter without a
// set); empty for the letters never resolved (- ? A C G N T U, either case).
std::string AmbiguitySet(char letter);

// Why the dataset cannot be resolved: a processed row's ploidy above "Max seq per dataset"
// (its copies would never fit). Empty when it can.
std::string PloidyRefusal(const TDataSeq& dataset);

// A new dataset with the source's name and descriptive fields. Each processed row (the
// selected ones, else all) of ploidy P (1 when not above 0) gives P copies of ploidy 1, copy
// k > 0 named after the row + "~" + k; copy k gets letter k + 1 of each ambiguity set,
// lengthened to P letters and shuffled. With allCopies all copies are added, else copy 0.
// nullptr, before any copy, when PloidyRefusal gives a reason (in `error`).
std::unique_ptr<TDataSeq> ResolveAmbiguities(const TDataSeq& dataset, bool allCopies,
                                             PlatformRandom& rng, std::string& error);

// The datasets resolved with all copies into a new project that keeps the source's name,
// groups and individuals; the progress runs over the datasets when there are several. nullptr,
// before any copy, when a dataset is refused (the reason in `error`).
std::unique_ptr<TDataProj> ResolvedProject(const TDataProj& project,
                                           const std::vector<const TDataSeq*>& datasets,
                                           PlatformRandom& rng, std::string& error);

// "&Resolve ambiguous sites": asks to go on and (with several datasets) whether to resolve
// them all, then ResolvedProject. nullptr after No, on an empty project or when a dataset is
// refused (the reason shown as a notice).
std::unique_ptr<TDataProj> ResolveAmbiguousSites(EditorContext& ctx, PlatformRandom& rng);

inline constexpr const char* kResolvedCaptionPrefix = "AmbigResolved_";
