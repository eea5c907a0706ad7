// SPDX-License-Identifier: GPL-3.0-or-later
// The project reports: sequences per individual and dataset ("Sequences report"), the
// datasets with their sizes ("Datasets report"), the individuals page's own report and the
// individuals with their groups, attributes and sequences ("Individuals report"). Lines end
// with CR LF; columns use the padding rule below.
#pragma once
#include <string>
#include <string_view>

class TDataProj;
struct IProgress;

// Right-aligned in a field of width (spaces in front); cut to width when longer.
std::string PadText(std::string_view text, int width);

inline constexpr const char* kSequencesReportCaption = "Sequence-Individual assignment report";
inline constexpr const char* kDatasetsReportCaption = "Datasets report";
inline constexpr const char* kIndividualsReportCaption = "Individuals report";

// caption: the editor window's caption.
std::string SequencesReport(const TDataProj& project, const std::string& caption);
// With counts: alignment length, columns without '-' and columns holding '-' per dataset. The
// status shows "Processing dataset: " + name with a step per dataset.
std::string DatasetsReport(const TDataProj& project, const std::string& caption, bool withCounts,
                           IProgress& progress);
// The sequences report followed by "All datasets:" and "All individuals:" with the names.
std::string IndividualsPageReport(const TDataProj& project, const std::string& caption);
// Per individual: group, comment, attributes and the sequences it has in each dataset.
std::string IndividualsReport(const TDataProj& project, const std::string& caption);
