// SPDX-License-Identifier: GPL-3.0-or-later
// What an analysis run hands back to its dialog or to the command line: report text, table
// cells, plot series, the files written and the notices to show.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "common/PlotSeries.h"
#include "common/ReportText.h"
#include "model/Datasequnit.h"

// What a run on a project without a single sequence says instead of a report.
inline constexpr const char* kNoSequencesToAnalyse = "The project has no sequences to analyse";

struct AnalysisOutput {
  std::string reportCaption;
  std::string report;  // text of the report window (empty unless "Report window")
  bool showReport = false;
  TableCells table;     // row 0 the header ("Datasets" and the column names)
  TableCells popTable;  // the same for rows of separate populations
  bool showTable = false;
  bool showPopTable = false;
  std::vector<tser> series;  // non-empty series for a plot window
  std::string plotCaption;
  std::string plotXTitle, plotYTitle;  // the plot's axes: position, statistic with its unit
  bool showPlot = false;
  std::vector<std::string> filesWritten;
  std::vector<std::string> notices;  // "Textual output was saved to file ..." and the like
  std::string error;                 // why the run stopped early; empty when it ran through
  bool cancelled = false;
  // Datasets an analysis built for a new editor window (polymorphic sites).
  std::vector<std::unique_ptr<TDataSeq>> newDatasets;
  std::vector<std::unique_ptr<TDataSeq>> newDivergenceDatasets;
};
