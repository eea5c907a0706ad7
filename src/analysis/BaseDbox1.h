// SPDX-License-Identifier: GPL-3.0-or-later
// The analysis frame without its dialog: the options every analysis dialog shares, and the run
// that scans each chosen dataset per group, writes the group reports, the statistics table,
// the report and table files. Analyses derive from AnalysisFrame and override its hooks.
#pragma once
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/AnalysisOutput.h"
#include "analysis/MutHold.h"
#include "analysis/MutUnit.h"
#include "analysis/SampType.h"

class PlatformRandom;
class TDataProj;
class TDataSeq;
class TextSink;
struct Services;

enum class IndelChoice : int { Ignored = 0, AsSingleMut = 1, PolymInIndels = 2, IndelsOnly = 3 };

// The controls of the frame's pages with their defaults.
struct FrameOptions {
  bool showS = true;       // cbS
  bool showHapNum = true;  // cbHapNum
  bool ogDiv = false;      // cbOgDiv
  bool doSW = false;       // cbDoSW
  int swSize = 100;
  int swStep = 100;
  bool doBootstrap = false;
  int bsReplicates = 100;
  bool useAllDatasets = true;  // rbUseAllDS ("select"), else rbUseCurDS ("current")
  bool onlyRegion = false;     // rbOnlyReg
  int regFrom = 1, regTo = 1;
  bool allSites = true, noncodingSites = false, codingSites = false;  // cbAllSites ...
  bool pos1 = false, pos2 = false, pos3 = false;                      // cb1st, cb2nd, cb3rd
  bool ignoreCDS = false;
  bool mutAll = true, mutSilent = false, mutRepl = false;
  IndelChoice indels = IndelChoice::Ignored;
  bool ambiguityRemoved = false;  // cbAmbgRemoved
  bool repWin = true;             // cbRepWin
  bool fileOutput = false;
  std::string outFname = "output.txt";
  bool listHapl = false;
  bool tableToWin = false;
  bool tableToFile = false;
  std::string tableFileName = "output.csv";
  char delimiter = ',';  // rbCommas, rbTabs ('\t'), rbSpaces (' ')
  bool popOut = false;
  bool tabOutNumSeq = true, tabOutPosAnal = true, tabOutSegrS = true, tabOutMut = true;
  bool plotSW = true;
  bool sw2file = false;
  std::string swfile = "sw_output.csv";
  bool phylipFile = false;  // doPhilipFile: bootstrap replicates of whole datasets to PHYLIP
  std::string phylipFileName = "boot_out.phy";
  // Where the run's files go when their names say no folder of their own: the folder of the
  // window's project file or one the user picked ("" = the process's working folder).
  std::string outputFolder;
};

// The scan flags the options stand for.
AnalysisOptions ScanOptionsOf(const FrameOptions& o);

// Marks every sequence selected in each dataset where none is (what opening a dialog does).
void InitAnalysisSelection(TDataProj& project);
// Clears the selected flag of every sequence (what closing a dialog does).
void ClearAnalysisSelection(TDataProj& project);

// The population table file beside the table file: "_groups" before the extension.
std::string GroupsTableFileName(const std::string& tableFile);

// Bootstrap replicates of a dataset, each scanned into its mutation tables (all sites, all
// mutations, the given indel and ambiguity modes, table 0 only). replicateProject is made
// anew; replicate k is named after the dataset + "_" + k. Codons of coding regions are drawn
// whole. When from..to is a part of the alignment, only its columns are resampled, so the
// replicates stand for the region analysed. The progress shows "Bootstrapping dataset " +
// name; a cancel stops the loop. True when the project then holds exactly `replicates`
// datasets.
bool BootstrapDseq(const TDataSeq& ds, int replicates, int regionFrom, int regionTo,
                   std::unique_ptr<TDataProj>& replicateProject, int indelMode, int ambiguityMode,
                   PlatformRandom& rng, Services& services);

class AnalysisFrame {
 public:
  explicit AnalysisFrame(FrameOptions options);
  virtual ~AnalysisFrame();
  AnalysisFrame(const AnalysisFrame&) = delete;
  AnalysisFrame& operator=(const AnalysisFrame&) = delete;

  // One run over the chosen datasets. The project's mutation tables and statistics tables
  // change; nothing else does (a derived analysis may add datasets to the output).
  AnalysisOutput Run(TDataProj& project, Services& services);

  [[nodiscard]] const FrameOptions& Options() const { return fo; }

 protected:
  // Before the common run (files an analysis empties, windows it prepares). False stops it.
  virtual bool BeforeRun() { return true; }
  virtual void AfterUpdateMuts() {}
  // How the scan treats the datasets (an analysis that places the outgroups among the other
  // sequences asks for their letters).
  [[nodiscard]] virtual ScanChoices RunScanChoices() const { return {}; }
  // True when a step after the reports reads the tables of several groups together: the run
  // then scans every group's tables at once and keeps them.
  [[nodiscard]] virtual bool KeepsAllTables() const { return false; }
  virtual void DoForm(TDataSeq& ds);
  virtual void AnalysePop(TDataSeq& ds, const std::string& groupName);
  // Lines right after the base group report's number of haplotypes; haplotypeOf as
  // countHaplotypes gives it for the group's sample, row as StatRow.
  virtual void HaplotypeLines(TDataSeq& /*ds*/, const std::vector<int>& /*haplotypeOf*/,
                              int /*row*/) {}
  // After the common run, before the output is handed back.
  virtual void AfterRun() {}

  // The base group report; false when the group's report ends early (unknown group, one
  // sequence or none), so a derived AnalysePop knows whether to go on.
  bool BaseGroupReport(TDataSeq& ds, const std::string& groupName);
  void OutgroupDivergence(TDataSeq& ds, const tmutholder& divergence, int row);

  // ---- helpers for derived analyses ----
  // The group's mask without the outgroup sequences.
  [[nodiscard]] samptype Sample(const TDataSeq& ds) const;
  // Index of the group's mutation table ("" the dataset's), -1 when there is none (and, with
  // report, the error line appended). The run scans the tables as they are asked for, one
  // group's (or the dataset's) at a time, so the index stays valid until another is asked for.
  int TableIndex(TDataSeq& ds, const std::string& groupName, bool report = true);
  // The dataset's own table, scanned again beside the tables at hand when it gave way to a
  // group's; nullptr when there is none.
  const tmutholder* WholeTable(TDataSeq& ds);
  // Statistics row of the group when its values go to the table, else -1.
  [[nodiscard]] int StatRow(const std::string& groupName) const;
  void Line(const std::string& text) { text_ += text + "\r\n"; }
  void Append(const std::string& text) { text_ += text; }
  // Appends to a file that stays open for the run; false (and the run stopped) on failure.
  bool AppendToFile(const std::string& path, const std::string& text);
  // The same for text made piece by piece: it reaches the file in blocks as it comes, so a
  // file of millions of lines is never held whole.
  bool AppendToFile(const std::string& path, const std::function<void(TextSink&)>& produce);
  bool CreateEmptyFile(const std::string& path);
  void Fail(const std::string& message);
  // Hands the sliding-window series over to the output when a plot is wanted, and forgets them.
  void PublishSeries(std::vector<tser>& series, const std::string& plotCaption);
  [[nodiscard]] bool Failed() const { return !out.error.empty(); }
  [[nodiscard]] bool CancelRequested() const;

  FrameOptions fo;
  AnalysisOptions opt;
  TDataProj* project = nullptr;
  Services* svc = nullptr;
  AnalysisOutput out;
  samptype groupMask;                // mask of the group being reported (outgroups included)
  std::vector<samptype> groupMasks;  // per project group record, of the last dataset
  std::vector<int> groupIds;         // keys handed to UpdateMuts, table order
  int regionFrom = 1, regionTo = 1;
  int datasetCount = 0;

 private:
  struct OpenFile;
  void WriteHeader();
  void WriteTables(TDataSeq& ds);
  void ReportFullTables(const TDataSeq& ds, std::size_t first, std::size_t last);
  void CloseFiles();
  bool ScanTable(TDataSeq& ds, int index, bool alone);
  AnalysisOptions scan_;            // the scan of the dataset being reported
  std::uint32_t seed_ = 0;          // its random state: a table scanned again comes out the same
  std::vector<bool> fullReported_;  // by table index: "Exceeded max number..." said once
  std::string text_;                // report of the current dataset
  std::string fullText_;
  bool tableHeaderWritten_ = false;
  std::vector<std::unique_ptr<OpenFile>> files_;
  OpenFile* FileFor(const std::string& path, bool truncate);
};
