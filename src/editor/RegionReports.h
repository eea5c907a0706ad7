// SPDX-License-Identifier: GPL-3.0-or-later
// The region, coding-region and SNP reports of a project, written anew at each run to fixed
// file names in the output folder. Lines end with CR LF.
#pragma once
#include <iosfwd>
#include <string>

class TDataProj;
struct IProgress;
struct Services;

inline constexpr const char* kFuncRegionsFile = "Func-regions.csv";
inline constexpr const char* kCdsReportFile = "CDS_Report.txt";
inline constexpr const char* kStopCodonsFile = "CDS_Report_stopCodons.csv";
inline constexpr const char* kSnpReportFile = "SNPreport.csv";
inline constexpr const char* kCodingRegionsCaption = "Coding regions report";

// "Func-regions.csv": dataset, sequence and the region line of every region of every row.
std::string FunctionalRegionsText(const TDataProj& project);

// "CDS_Report.txt" (the table, also the report window's text) and
// "CDS_Report_stopCodons.csv" (the CDS regions holding stop codons, alignment positions).
// caption: the editor window's caption. The progress steps once per sequence.
struct CodingRegionsTexts {
  std::string table;
  std::string stops;
};
CodingRegionsTexts CodingRegionsReport(const TDataProj& project, const std::string& caption,
                                       IProgress& progress);

// "SNPreport.csv": every gap-free column with at least two variants. Returns the number of
// columns reported.
int WriteSnpReport(const TDataProj& project, std::ostream& out);

// The commands: each writes its files to OutputPath(folder, name) and shows its notice with
// the full paths; a file that cannot be written gives a notice saying so and false, never the
// "saved" notice. The SNP report asks before it replaces an existing file (No: false).
bool FunctionalRegionsCommand(const TDataProj& project, const std::string& folder,
                              Services& services);
// windowText receives the table for the report window.
bool CodingRegionsCommand(const TDataProj& project, const std::string& caption,
                          const std::string& folder, Services& services, std::string& windowText);
bool SnpReportCommand(const TDataProj& project, const std::string& folder, Services& services);
