// SPDX-License-Identifier: GPL-3.0-or-later
// Bootstrap replicates of the current dataset ("Generate bootstrap replicates"), gathered in a
// new project for an editor window of their own.
#pragma once
#include <memory>
#include <string>

class PlatformRandom;
class TDataProj;
class TDataSeq;
struct Services;

// The controls of "Generate bootstrap replicates" with their defaults.
struct BootstrapOptions {
  int replicates = 100;     // repCount, 1..10000
  bool keepCodons = false;  // cbDoCodons
};

// "Generate " + count + " bootstrap replicates for " + name + "?"
std::string BootstrapQuestion(int count, const std::string& dsName);
// "Bootstrapped_" + the source window's caption + "_[" + dataset name + "]"
std::string BootstrapWindowCaption(const std::string& caption, const std::string& dsName);

// Replicate k (1..count) is ds.Bootstrap(keepCodons) named ds's name + "_" + k. The progress
// shows "Bootstrapping..." with one step per replicate; a cancel keeps the replicates made.
std::unique_ptr<TDataProj> BootstrapCurDseq(const TDataSeq& ds, int count, bool keepCodons,
                                            PlatformRandom& rng, Services& services);
