// SPDX-License-Identifier: GPL-3.0-or-later
// The reader registry behind OpenDataFile and the placement of each reader's result.
//
// Readers that fill a dataset get a fresh one from the window's project; it joins the
// project only when it holds sequences and the grid is not locked, so a file that yields
// nothing leaves no empty dataset behind. Readers that work on the project itself (project
// file, NEXUS, one dataset per record) write straight into it.
#include "io/Dispatcher.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <vector>

#include "io/AnnotatedFormats.h"
#include "io/BinarySource.h"
#include "io/FormatDetect.h"
#include "io/FormatTables.h"
#include "io/IOUnit.h"
#include "io/PopGenFormats.h"
#include "io/ReadsDispatch.h"
#include "io/ResultFormats.h"
#include "io/TextHelpers.h"
#include "io/TraceFormats.h"
#include "model/DataProjUnit.h"

namespace {

struct Call {
  const std::string& path;
  const OpenOptions& options;
  OpenWindow& window;
  Services& services;
  bool replacedProject = false;  // the reader put a project of its own in the window
  TDataProj& Project() const { return window.project; }
  ReadContext Context() const {
    ReadContext ctx(services, path);
    ctx.chooseFastaStart = options.chooseFastaStart;
    return ctx;
  }
};

using Reader = bool (*)(Call&);

bool ReadSource(Call& c, FileSource& src) {
  if (src.Open(c.path)) return true;
  c.services.messages.ReportError(c.path + ": cannot open the file");
  return false;
}

bool PlaceDataset(Call& c, std::unique_ptr<TDataSeq>& ds) {
  if (c.window.gridLocked || ds->Count() == 0) return false;
  return c.Project().AddDataset(ds, false) >= 0;
}

// A reader that fills a dataset of its own, which is then added to the project.
template <bool (*Fill)(const ByteSource&, ReadContext&, TDataSeq&)>
bool DatasetReader(Call& c) {
  FileSource src;
  if (!ReadSource(c, src)) return true;
  ReadContext ctx = c.Context();
  auto ds = c.Project().MakeDataset();
  (void)Fill(src, ctx, *ds);
  PlaceDataset(c, ds);
  return true;
}

bool ReadProjectFile(Call& c) {
  if (ReadProject(c.path, c.Project(), 0, &c.window.grid) == 0)
    (void)AdoptGeneticCode(c.window.grid, c.services);
  return true;
}

bool ReadNexus(Call& c) {
  FileSource src;
  if (!ReadSource(c, src)) return true;
  ReadContext ctx = c.Context();
  if (!c.window.gridLocked) (void)OpenNexus(src, ctx, c.Project());
  return true;
}

// The FASTA file whose quality companion path is: same folder and stem, read as FASTA.
// Empty when there is none.
std::string FastaOfQuality(const std::string& path) {
  namespace fs = std::filesystem;
  const std::string stem = PathWithoutExtension(path);
  if (stem + ".qual" != path) return {};
  const fs::path file(path);
  const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
  std::vector<std::string> found;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string candidate =
        (file.has_parent_path() ? it->path() : it->path().filename()).string();
    if (candidate == path || PathWithoutExtension(candidate) != stem) continue;
    std::string head;
    if (it->is_regular_file(ec) && ReadFilePrefix(candidate, kDetectPrefixBytes, head) &&
        DetectFormatBytes(head, candidate) == kCodeFastaGffQual && !LooksLikeQualityText(head))
      found.push_back(candidate);
  }
  std::sort(found.begin(), found.end());
  return found.empty() ? std::string() : found.front();
}

// A quality file opened on its own would read as sequences of digits: it is read only as
// the companion of its FASTA file.
bool ReadQualityCompanion(Call& c) {
  const std::string fasta = FastaOfQuality(c.path);
  if (fasta.empty()) {
    c.services.messages.Notify(
        c.path +
        " holds base quality values, not sequences. Open the FASTA file of the same "
        "name (" +
        FileNameOnly(PathWithoutExtension(c.path)) +
        ".fasta, .fas, ...) and the qualities are read with it.");
    return true;
  }
  c.services.messages.ReportError(c.path + " holds the quality values of " + fasta +
                                  ": that file was read with them.");
  ReadContext ctx = c.Context();
  ctx.fileName = fasta;
  ctx.showProgress = c.options.showProgress;
  auto ds = c.Project().MakeDataset();
  (void)OpenFastaFile(ctx, *ds);
  PlaceDataset(c, ds);
  return true;
}

bool ReadFasta(Call& c) {
  if (std::string head;
      ReadFilePrefix(c.path, kDetectPrefixBytes, head) && LooksLikeQualityText(head))
    return ReadQualityCompanion(c);
  ReadContext ctx = c.Context();
  ctx.showProgress = c.options.showProgress;
  auto ds = c.Project().MakeDataset();
  (void)OpenFastaFile(ctx, *ds);
  PlaceDataset(c, ds);
  return true;
}

bool AddToCurrent(Call& c, std::unique_ptr<TSeq> seq) {
  if (!seq) return true;
  TDataSeq* ds = c.Project().CurrentDataset();
  if (ds != nullptr) (void)ds->AddSeq(seq, true);
  return true;
}

bool ReadPlainText(Call& c) {
  FileSource src;
  if (!ReadSource(c, src)) return true;
  ReadContext ctx = c.Context();
  return AddToCurrent(c, OpenPlainText(src, ctx));
}

bool ReadAbiFile(Call& c) {
  return AddToCurrent(c, OpenAbi(c.path, c.services));
}
bool ReadScfFile(Call& c) {
  return AddToCurrent(c, OpenScf(c.path, c.services));
}
bool ReadPhdFile(Call& c) {
  for (auto& seq : OpenPhdRecords(c.path, c.services)) AddToCurrent(c, std::move(seq));
  return true;
}

// One record: a copy of it joins the current dataset; several: a dataset named after the file.
bool ReadGenBank(Call& c) {
  FileSource src;
  if (!ReadSource(c, src)) return true;
  ReadContext ctx = c.Context();
  ctx.showProgress = c.options.showProgress;
  auto ds = c.Project().MakeDataset();
  if (OpenGenBank(src, ctx, *ds) == 1) return AddToCurrent(c, ds->ReleaseSeq(1));
  ds->dsName = FileNameOnly(c.path);
  PlaceDataset(c, ds);
  return true;
}

bool ReadExperiment(Call& c) {
  return AddToCurrent(c, OpenExperimentFile(c.path, c.services));
}

bool ReadStadenContigs(Call& c) {
  ReadContext ctx = c.Context();
  auto ds = c.Project().MakeDataset();
  if (OpenStadenContigs(c.path, ctx, *ds)) PlaceDataset(c, ds);
  return true;
}

bool ReadRescue(Call& c) {
  (void)RescueProject(c.path, c.Project());
  return true;
}

bool ReadFastaByName(Call& c) {
  FileSource src;
  if (!ReadSource(c, src)) return true;
  ReadContext ctx = c.Context();
  const std::string prefix =
      c.options.addFileNamePrefix ? FileNameOnly(PathWithoutExtension(c.path)) + "_" : "";
  (void)OpenFastaByDatasetName(src, ctx, c.Project(), prefix);
  return true;
}

bool ReadFastaEachSeq(Call& c) {
  FileSource src;
  if (!ReadSource(c, src)) return true;
  ReadContext ctx = c.Context();
  if (!c.window.gridLocked) (void)OpenFastaEachSeq(src, ctx, c.Project());
  return true;
}

bool ReadGff(Call& c) {
  FileSource src;
  if (!ReadSource(c, src)) return true;
  TDataProj& proj = c.Project();
  IMessages& msg = c.services.messages;
  if (proj.DatasetCount() > 1 &&
      msg.AskYesNo("Apply annotations to all datasets in the project?\r\nPress No to annotate "
                   "only current dataset")) {
    int total = 0;
    ProgressScope bar(c.services.progress, proj.DatasetCount(),
                      "Applying annotations from GFF file...");
    for (int d = 0; d < proj.DatasetCount(); ++d) {
      bar.Step(true);
      ReadContext ctx = c.Context();
      total += ApplyGff(src, ctx, *proj.DatasetAt(d), true);
    }
    msg.Notify("Annotated " + std::to_string(total) + " sequences");
    return true;
  }
  TDataSeq* ds = proj.DatasetCount() > 0 ? proj.DatasetAt(-1) : nullptr;
  if (ds == nullptr || ds->Count() == 0) {
    msg.Notify("No sequences to annotate - no annotations loaded.");
    return true;
  }
  ReadContext ctx = c.Context();
  const int n = ApplyGff(src, ctx, *ds, true);
  msg.Notify(n > 0 ? "Loaded annotations for " + std::to_string(n) + " sequences"
                   : "No annotations loaded");
  return true;
}

bool ReadXmfa(Call& c) {
  c.replacedProject = OpenXmfaFile(c.path, c.window, c.services);
  return true;
}

bool ReadMultigenicCsv(Call& c) {
  (void)OpenMultigenicCsv(c.path, c.window, c.services);
  return true;
}

bool ReadColumns(Call& c) {
  if (c.options.columnsDialog)
    c.options.columnsDialog(c.path, c.window);
  else
    (void)OpenColumns(c.path, c.window, c.options.columns, c.services);
  return true;
}

bool ReadDatasetNames(Call& c) {
  FileSource src;
  return ReadSource(c, src) && !c.window.gridLocked && OpenDatasetNames(src, c.Project());
}

bool ReadBlastXmlFile(Call& c) {
  return OpenBlastXml(c.path, c.window, c.options, c.services);
}
bool ReadAceFile(Call& c) {
  (void)OpenAce(c.path, c.window, c.services);
  return true;
}
bool ReadSnpTableFile(Call& c) {
  if (c.options.snpTableDialog) {
    c.options.snpTableDialog(c.path);
    return true;
  }
  SnpTableOptions snp = c.options.snpTable;
  snp.snpPath = c.path;
  OpenSnpTable(snp, c.window, c.services);
  return true;
}
bool ReadGenotypeTableFile(Call& c) {
  OpenSnpTable2(c.path, c.options.snpTable.hasHeaders, c.window, c.services);
  return true;
}
bool ReadSdiFile(Call& c) {
  OpenSdi(c.path, c.window, c.services);
  return true;
}

bool ReadMsFile(Call& c) {
  (void)OpenMsOutput(c.path, c.window, c.services);
  return true;
}

// fastPHASE's output needs its input file (the site positions) of the same name beside it.
bool ReadFastPhaseFile(Call& c) {
  const std::string stem = PathWithoutExtension(c.path);
  (void)OpenFastPhaseOutput(stem + ".out", stem + ".inp", c.window, c.services);
  return true;
}

template <int Code>
bool ReadsReader(Call& c) {
  return DispatchReadsFile(Code, c.path, c.options, c.window, c.services);
}

// One slot per format code; nullptr: the reader is not part of this build yet.
constexpr std::array<Reader, kLastFormatCode + 1> kReaders = [] {
  std::array<Reader, kLastFormatCode + 1> r{};
  r[kCodeProjectFile] = ReadProjectFile;
  r[kCodeMultiFasta] = ReadXmfa;
  r[kCodeNexus] = ReadNexus;
  r[kCodeMega] = DatasetReader<OpenMega>;
  r[kCodeFastaGffQual] = ReadFasta;
  r[kCodePir] = DatasetReader<OpenPir>;
  r[kCodePlainText] = ReadPlainText;
  r[kCodeGenBank] = ReadGenBank;
  r[kCodeEmbl] = ReadExperiment;
  r[kCodeAbi] = ReadAbiFile;
  r[kCodeScf] = ReadScfFile;
  r[kCodeStadenExp] = ReadExperiment;
  r[kCodeStadenContigs] = ReadStadenContigs;
  r[kCodeRescue] = ReadRescue;
  r[kCodeMultigenicCsv] = ReadMultigenicCsv;
  r[kCodeClustal] = DatasetReader<OpenClustal>;
  r[kCodePhd] = ReadPhdFile;
  r[kCodeTabColumns] = ReadColumns;
  r[kCodeDatasetNames] = ReadDatasetNames;
  r[kCodeFastaByDatasetName] = ReadFastaByName;
  r[kCodeFastaEachSeq] = ReadFastaEachSeq;
  r[kCodeGff] = ReadGff;
  r[kCodePhylip] = DatasetReader<OpenPhylip>;
  r[kCodeBlastXml] = ReadBlastXmlFile;
  r[kCodeAce] = ReadAceFile;
  r[kCodeSnpTable] = ReadSnpTableFile;
  r[kCodeSnpTable2] = ReadGenotypeTableFile;
  r[kCodeSdi] = ReadSdiFile;
  r[kCodeMsOutput] = ReadMsFile;
  r[kCodeFastPhase] = ReadFastPhaseFile;
  r[kCodeSam] = ReadsReader<kCodeSam>;
  r[kCodeMaq] = ReadsReader<kCodeMaq>;
  r[kCodeEland] = ReadsReader<kCodeEland>;
  r[kCodeMapIllumina] = ReadsReader<kCodeMapIllumina>;
  r[kCodeFastq] = ReadsReader<kCodeFastq>;
  return r;
}();

}  // namespace

bool HasReader(int formatCode) {
  return formatCode >= 2 && formatCode <= kLastFormatCode &&
         kReaders[static_cast<std::size_t>(formatCode)] != nullptr;
}

OpenResult DispatchFile(const std::string& path, int formatCode, const OpenOptions& options,
                        OpenWindow* window, Services& services) {
  OpenResult result;
  if (window == nullptr || formatCode < 2 || formatCode > kLastFormatCode) return result;
  if (!HasReader(formatCode)) {
    services.messages.ReportError("Reading \"" + std::string(OpenFilterCaption(formatCode)) +
                                  "\" files (format code " + std::to_string(formatCode) +
                                  ") is not handled in this version: " + path);
    return result;
  }
  // Binary data read as text is garbage: only the binary formats' readers see such a file.
  const bool binaryReader = formatCode == kCodeProjectFile || formatCode == kCodeAbi ||
                            formatCode == kCodeScf || formatCode == kCodeRescue;
  if (!binaryReader && FileLooksBinary(path)) {
    services.messages.Notify(BinaryFileMessage(path));
    result.handled = true;
    return result;
  }
  TDataProj& proj = window->project;
  const int datasetsBefore = proj.DatasetCount();
  const int seqsBefore = proj.TotalSeqCount();
  Call call{path, options, *window, services};
  result.handled = kReaders[static_cast<std::size_t>(formatCode)](call);
  result.datasetsAdded =
      std::max(0, proj.DatasetCount() - (call.replacedProject ? 0 : datasetsBefore));
  result.sequencesAdded =
      std::max(0, proj.TotalSeqCount() - (call.replacedProject ? 0 : seqsBefore));
  if (result.ReadSomething()) proj.UpdateMaxima();
  return result;
}

bool OpenDataFile(const std::string& path, int formatCode, bool addFileNamePrefix,
                  OpenWindow* window, Services& services, bool askReference) {
  OpenOptions options;
  options.addFileNamePrefix = addFileNamePrefix;
  options.askReference = askReference;
  return DispatchFile(path, formatCode, options, window, services).handled;
}

bool ReadFolderFile(const std::string& path, OpenWindow& window, Services& services) {
  OpenOptions options;
  options.showProgress = false;
  return DispatchFile(path, kCodeFastaGffQual, options, &window, services).datasetsAdded > 0;
}

OpenResult OpenDetected(const std::string& path, OpenWindow& window, Services& services,
                        int& detectedCode) {
  detectedCode = DetectFormat(path, services.messages);
  if (detectedCode < 2) return {};
  return DispatchFile(path, detectedCode, {}, &window, services);
}
