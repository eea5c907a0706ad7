// SPDX-License-Identifier: GPL-3.0-or-later
// The neutrality and LD lines of a group's report and the statistics-table values behind them.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "analysis/MutHold.h"

struct NeutralityChoices {
  bool tajimaD = true;
  bool fuLiDstar = false, fuLiFstar = false, fuLiDoutgroup = false;
  bool wallB = false, wallQ = false;
  bool kellyZnS = false;
};

struct GroupStatsText {
  std::string text;                                   // lines ended by CR LF
  std::vector<std::pair<std::string, double>> stats;  // column name, value (error values too)
};

// sample: the group mask without outgroups; groupMaskCount: sequences of the group mask with
// outgroups. divergence may be null (no outgroup).
GroupStatsText NeutralityGroupReport(const tmutholder& table, const tmutholder* divergence,
                                     const samptype& sample, int groupMaskCount, int from, int to,
                                     int siteFlags, int mutationFlags,
                                     const NeutralityChoices& choices);

// "Error" for the error value (-100 or less), else 4 decimals.
std::string NeutralityValueText(double value);

struct LDSummaryChoices {
  bool wallBQ = true, kellyZnS = true;
  int minSNPfreq = 2;
};
// The LD dialog's summary lines of a group (Wall's B and Q and ZnS over the SNPs with at least
// minSNPfreq carriers); empty when the group mask holds one sequence or nothing is chosen.
GroupStatsText LDGroupReport(const tmutholder& table, const samptype& sample, int groupMaskCount,
                             int from, int to, const LDSummaryChoices& choices);
