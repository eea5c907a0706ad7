// SPDX-License-Identifier: GPL-3.0-or-later
// Nucleotide composition on the analysis frame: GC-changing mutations, base composition, the
// GC-content stationarity test of Eyre-Walker (1994), adjacent nucleotide pairs with their
// G-test, and mutations in CpG context between every pair of sequences.
#pragma once
#include <functional>
#include <string>

#include "analysis/BaseDbox1.h"

class TSeq;

inline constexpr const char* kCompositionReportCaption = "Nucleotide composition report";

struct CompositionOptions {
  bool gcMutations = true;      // cbGCmut
  bool nucleotides = true;      // cbNnuc
  bool gcStationarity = false;  // cbGCstat
  bool pairs = true;            // cbNpair
  bool cpg = false;             // cbCpG
};

// Recounts baseCounts (A, T, G, C, either case) and pairCounts (4 x first + second in the
// order A, T, G, C; a pair is two consecutive letters that are both bases) of a sequence.
void CountBases(TSeq& seq);

// The blocks of a group's report. mask: the group's sequences (outgroups included), bit
// r - 1 for row r; baseCounts and pairCounts must be current.
std::string GCMutationsBlock(const tmutholder& table);
std::string BaseCompositionBlock(const TDataSeq& ds, const samptype& mask);
std::string GCStationarityBlock(const TDataSeq& ds, const samptype& mask, const tmutholder& table);
// groupLength sets the column width (wider for longer sequences).
std::string NucleotidePairsBlock(const TDataSeq& ds, const samptype& mask, int groupLength);
// step runs once per first sequence of a pair.
std::string CpGBlock(const TDataSeq& ds, const samptype& mask, const tmutholder& table,
                     const std::function<void()>& step = {});

class CompositionAnalysis : public AnalysisFrame {
 public:
  CompositionAnalysis(FrameOptions frame, CompositionOptions options)
      : AnalysisFrame(std::move(frame)), co(options) {}

 protected:
  void DoForm(TDataSeq& ds) override;
  void AnalysePop(TDataSeq& ds, const std::string& groupName) override;
  void AfterRun() override;

 private:
  CompositionOptions co;
};

AnalysisOutput RunComposition(TDataProj& project, const FrameOptions& frame,
                              const CompositionOptions& options, Services& services);
