// SPDX-License-Identifier: GPL-3.0-or-later
// The region, coding-region and SNP reports.
#include "editor/RegionReports.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>
#include <vector>

#include "analysis/MutUnit.h"
#include "common/OutputFolder.h"
#include "common/Services.h"
#include "common/StagedFile.h"
#include "model/DataProjUnit.h"
#include "model/GenCodUnit.h"

namespace {

constexpr const char* kCrLf = "\r\n";

// Left-aligned in a field of width (blanks after); cut to width when longer.
std::string PadLeft(const std::string& text, int width) {
  std::string out = text.substr(0, static_cast<std::size_t>(width));
  out.resize(static_cast<std::size_t>(width), ' ');
  return out;
}

// The longest name, at least 14 and at most 30 wide.
int NameWidth(std::size_t longest) {
  return std::clamp(static_cast<int>(longest), 14, 30);
}

// The first row's letters at positions from..to (clipped to the row), gaps removed.
std::string FlankLetters(const TSeq& seq, int from, int to) {
  from = std::max(from, 1);
  to = std::min(to, seq.Length());
  std::string out;
  for (int p = from; p <= to; ++p)
    if (seq.letters[static_cast<std::size_t>(p - 1)] != '-')
      out.push_back(seq.letters[static_cast<std::size_t>(p - 1)]);
  return out;
}

int ReportDatasetSnps(const TDataSeq& ds, std::ostream& out) {
  const int rows = ds.Count();
  if (rows < 2) return 0;  // a column of fewer than two letters holds no variation
  const int length = ds.AlignmentLength(true);
  const TSeq& first = *ds.SeqAt(1);
  // Columns are gathered a block at a time, row by row, so that each row's letters are read
  // in order rather than one letter of every row per column.
  constexpr int kBlock = 64;
  std::vector<char> block(static_cast<std::size_t>(kBlock) * static_cast<std::size_t>(rows));
  std::string column;
  int reported = 0;
  int gaps = 0;  // gap columns of the first sequence so far
  for (int start = 1; start <= length; start += kBlock) {
    const int n = std::min(kBlock, length - start + 1);
    for (int r = 1; r <= rows; ++r) {
      const TSeq& s = *ds.SeqAt(r);
      for (int j = 0; j < n; ++j) {
        const int pos = start + j - s.columnShift;
        char c = '-';
        if (!s.enabled)
          c = '!';
        else if (pos >= 1 && pos <= s.Length())
          c = static_cast<char>(
              std::toupper(static_cast<unsigned char>(s.letters[static_cast<std::size_t>(pos - 1)])));
        block[static_cast<std::size_t>(j) * static_cast<std::size_t>(rows) +
              static_cast<std::size_t>(r - 1)] = c;
      }
    }
    for (int j = 0; j < n; ++j) {
      const int c = start + j;
      column.assign(&block[static_cast<std::size_t>(j) * static_cast<std::size_t>(rows)],
                    static_cast<std::size_t>(rows));
      const ColumnVariants v = FindVariants(column);
      if (!v.hasGap && v.letters.size() >= 2) {
        std::string alleles;
        for (char a : v.letters) {
          if (!alleles.empty()) alleles.push_back('/');
          alleles.push_back(a);
        }
        // The first sequence's letter at column c is its letter c - columnShift.
        const int p = c - first.columnShift;
        out << ds.dsName << ',' << c << ',' << c - gaps << ',' << v.counts.back() << ",N,"
            << v.letters << ',' << column << ',' << FlankLetters(first, p - 201, p - 1) << '['
            << alleles << ']' << FlankLetters(first, p + 1, p + 200) << kCrLf;
        ++reported;
      }
      if (column[0] == '-') ++gaps;
    }
  }
  return reported;
}

// Writes text to path anew; false when it cannot.
bool WriteWhole(const std::string& path, const std::string& text) {
  StagedFile file(path);
  if (!file.IsOpen()) return false;
  file.Stream() << text;
  return file.Commit();
}

bool CannotWrite(Services& services, const std::string& path) {
  services.messages.Notify("Cannot write the file " + path);
  return false;
}

}  // namespace

std::string FunctionalRegionsText(const TDataProj& project) {
  std::string out;
  for (int d = 0; d < project.DatasetCount(); ++d) {
    const TDataSeq& ds = *project.DatasetAt(d);
    for (int r = 1; r <= ds.Count(); ++r) {
      const TSeq& s = *ds.SeqAt(r);
      for (int i = 0; i < static_cast<int>(s.regions.size()); ++i)
        out += ds.dsName + ',' + s.seqName + ',' + s.RegionLine(i) + kCrLf;
    }
  }
  return out;
}

CodingRegionsTexts CodingRegionsReport(const TDataProj& project, const std::string& caption,
                                       IProgress& progress) {
  CodingRegionsTexts t;
  t.table = "Coding regions report for project " + caption + kCrLf + kCrLf;
  t.stops = "Stop codons report for project " + caption + kCrLf +
            "Positions below correspond to pos in the ALIGNMENT. This may differ from the pos in "
            "individual seq as diff seq can start at diff positions in the alignment." +
            caption + kCrLf +
            "Dataset_name,Seq_name,CDSindex,CDSname,CDSstart,CDSend,CDSorientation,NumberOfStops,"
            "PositionsOfStopCodons:" +
            kCrLf;
  std::size_t longestDs = 0, longestSeq = 0;
  for (int d = 0; d < project.DatasetCount(); ++d) {
    const TDataSeq& ds = *project.DatasetAt(d);
    longestDs = std::max(longestDs, ds.dsName.size());
    for (int r = 1; r <= ds.Count(); ++r) longestSeq = std::max(longestSeq, ds.NameAt(r).size());
  }
  const int wd = NameWidth(longestDs), ws = NameWidth(longestSeq);
  t.table += PadLeft("Dataset name", wd + 1) + PadLeft("Sequence name", ws + 1) +
             "Seq_len    #Func-regs #Genes     #CDSs      CDS_length StopCodons  " + kCrLf;

  ProgressScope bar(progress, project.TotalSeqCount(), "Preparing functional regions report...");
  for (int d = 0; d < project.DatasetCount(); ++d) {
    const TDataSeq& ds = *project.DatasetAt(d);
    const TGenCode& code = ds.code != nullptr ? *ds.code : ds.GetServices().genCode;
    if (ds.Count() > 0) progress.ShowStatus("Processing dataset " + ds.dsName, false, false);
    for (int r = 1; r <= ds.Count(); ++r) {
      bar.Step(false);
      const TSeq& s = *ds.SeqAt(r);
      int genes = 0, cdss = 0, cdsLength = 0, stops = 0;
      for (int i = 0; i < static_cast<int>(s.regions.size()); ++i) {
        const TRegion& reg = s.regions[static_cast<std::size_t>(i)];
        if (reg.regType == kRegGene) ++genes;
        if (reg.regType != kRegCds) continue;
        ++cdss;
        cdsLength += reg.regEnd - reg.regStart + 1;
        std::string positions;
        const int n = s.CountStops(i, code, true, positions);
        if (n <= 0) continue;
        stops += n;
        t.stops += ds.dsName + ',' + s.seqName + ',' + std::to_string(i + 1) + ',' + reg.regName +
                   ',' + std::to_string(reg.regStart + s.columnShift) + ',' +
                   std::to_string(reg.regEnd + s.columnShift) + ',' + (reg.regReverse ? "R" : "F") +
                   ',' + std::to_string(n) + ',' + positions + kCrLf;
      }
      t.table += PadLeft(ds.dsName, wd) + ' ' + PadLeft(s.seqName, ws);
      for (int v : {s.Length(), static_cast<int>(s.regions.size()), genes, cdss, cdsLength, stops})
        t.table += ' ' + PadLeft(std::to_string(v), 10);
      t.table += kCrLf;
    }
  }
  return t;
}

int WriteSnpReport(const TDataProj& project, std::ostream& out) {
  out << "DataSetName,SNPposInAlignment(withGaps),SNPposInSeq1(noGaps),minSNPfreq,indel?,difnucl,"
         "col,Seq1_around_the_SNP"
      << kCrLf;
  int reported = 0;
  for (int d = 0; d < project.DatasetCount(); ++d)
    reported += ReportDatasetSnps(*project.DatasetAt(d), out);
  return reported;
}

bool FunctionalRegionsCommand(const TDataProj& project, const std::string& folder,
                              Services& services) {
  const std::string path = OutputPath(folder, kFuncRegionsFile);
  if (!WriteWhole(path, FunctionalRegionsText(project))) return CannotWrite(services, path);
  services.messages.Notify("Functional regions report saved to file " + path);
  return true;
}

bool CodingRegionsCommand(const TDataProj& project, const std::string& caption,
                          const std::string& folder, Services& services, std::string& windowText) {
  const CodingRegionsTexts t = CodingRegionsReport(project, caption, services.progress);
  const std::string table = OutputPath(folder, kCdsReportFile);
  const std::string stops = OutputPath(folder, kStopCodonsFile);
  if (!WriteWhole(table, t.table)) return CannotWrite(services, table);
  if (!WriteWhole(stops, t.stops)) return CannotWrite(services, stops);
  windowText = t.table;
  services.messages.Notify("Coding regions report was saved to file: " + table + kCrLf +
                           "Positions of stop codons were saved to file: " + stops);
  return true;
}

bool SnpReportCommand(const TDataProj& project, const std::string& folder, Services& services) {
  const std::string path = OutputPath(folder, kSnpReportFile);
  std::error_code error;
  // The polymorphic sites dialog appends its own SNP report to a file of this name.
  if (std::filesystem::exists(path, error) &&
      !services.messages.AskYesNo("File " + path + " already exists. Replace it?"))
    return false;
  StagedFile file(path);
  if (!file.IsOpen()) return CannotWrite(services, path);
  const int reported = WriteSnpReport(project, file.Stream());
  if (!file.Commit()) return CannotWrite(services, path);
  services.messages.Notify("Saved " + std::to_string(reported) + " SNPs into file " + path);
  return true;
}
