// SPDX-License-Identifier: GPL-3.0-or-later
// The open dialog's filter list (format codes 1..36) and the save dialog's filter list
// (indexes 1..25) with the scope each save entry writes.
#pragma once
#include <span>
#include <string>
#include <string_view>

// Format codes: the 1-based index of the open filter entry.
constexpr int kCodeAuto = 1;
constexpr int kCodeProjectFile = 2;
constexpr int kCodeMultiFasta = 3;
constexpr int kCodeNexus = 4;
constexpr int kCodeMega = 5;
constexpr int kCodeFastaGffQual = 6;
constexpr int kCodePir = 7;
constexpr int kCodePlainText = 8;
constexpr int kCodeGenBank = 9;
constexpr int kCodeEmbl = 10;
constexpr int kCodeAbi = 11;
constexpr int kCodeScf = 12;
constexpr int kCodeStadenExp = 13;
constexpr int kCodeStadenContigs = 14;
constexpr int kCodeRescue = 15;
constexpr int kCodeMultigenicCsv = 16;
constexpr int kCodeMsOutput = 17;
constexpr int kCodeClustal = 18;
constexpr int kCodePhd = 19;
constexpr int kCodeBlastXml = 20;
constexpr int kCodeTabColumns = 21;
constexpr int kCodeDatasetNames = 22;
constexpr int kCodeFastaByDatasetName = 23;
constexpr int kCodeFastaEachSeq = 24;
constexpr int kCodeAce = 25;
constexpr int kCodeSam = 26;
constexpr int kCodeMaq = 27;
constexpr int kCodeEland = 28;
constexpr int kCodeMapIllumina = 29;
constexpr int kCodeGff = 30;
constexpr int kCodeFastPhase = 31;
constexpr int kCodeSnpTable = 32;
constexpr int kCodeSnpTable2 = 33;
constexpr int kCodeFastq = 34;
constexpr int kCodePhylip = 35;
constexpr int kCodeSdi = 36;
constexpr int kLastFormatCode = 36;

struct OpenFilter {
  int code;
  std::string_view caption;   // as the dialog shows it
  std::string_view patterns;  // "*.df; *.psf"
};
[[nodiscard]] std::span<const OpenFilter> OpenFilters();
// Caption of a code, empty outside 1..36.
[[nodiscard]] std::string_view OpenFilterCaption(int code);

enum class SaveScope { Project, Dataset, Sequence };

struct SaveFilter {
  int index;
  std::string_view caption;
  std::string_view extension;  // appended to the file stem; empty: the chosen name as it is
  SaveScope scope;
  // Entries that always write the whole project: the "all datasets" question is not asked.
  bool projectEntry;
};
[[nodiscard]] std::span<const SaveFilter> SaveFilters();
[[nodiscard]] const SaveFilter* SaveFilterAt(int index);  // nullptr outside 1..25
// "Caption|*.ext": the pattern repeated from the caption's parentheses.
[[nodiscard]] std::string SaveFilterEntry(const SaveFilter& filter);
