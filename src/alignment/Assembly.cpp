// SPDX-License-Identifier: GPL-3.0-or-later
// "&Assemble contigs": reads go through the base caller as SCF traces (or as plain sequences),
// phrap assembles the FASTA file made from them, and its ACE file opens as a new project in
// which the reads get their names back through the number of the trace file made from each.
#include <QFile>

#include "alignment/AsmContUnit.h"
#include "alignment/ExtProgUnit.h"
#include "io/BinarySource.h"
#include "io/Dispatcher.h"
#include "io/IOUnit.h"
#include "io/ResultFormats.h"
#include "io/TextHelpers.h"
#include "io/TraceFormats.h"
#include "model/Datasequnit.h"

std::string FindPhrap(const std::string& programFolder) {
  return FindProgram(programFolder, {"phrap", "phrap.exe"}, "phrap");
}

int RunPhrap(const std::string& phrap, const std::string& fastaPath, Services& services) {
  if (phrap.empty()) return -1;
  TExtProg runner(services);
  return runner.RunAndWait(phrap, {fastaPath, "-ace"}, FolderOf(fastaPath),
                           "Assembling contigs with phrap...");
}

namespace {

void RemoveIfPresent(const std::string& path) {
  if (FileExists(path)) QFile::remove(QString::fromStdString(path));
}

std::string Where(const std::string& programFolder) {
  return programFolder.empty() ? "on PATH" : "in " + programFolder + " or on PATH";
}

// Says which outside program is missing and where it was looked for; true when both exist.
bool ProgramsFound(const BaseCaller& caller, const std::string& phrap, Services& services) {
  const std::string& folder = services.settings.programFolder;
  std::string missing;
  if (caller.program.empty())
    missing += "The base caller (phred, or ttuner of the tracetuner package) was not found " +
               Where(folder) + ".";
  if (phrap.empty())
    missing +=
        std::string(missing.empty() ? "" : "\r\n") + "phrap was not found " + Where(folder) + ".";
  if (missing.empty()) return true;
  services.messages.Notify("Can not assemble contigs.\r\n" + missing);
  return false;
}

// The rows to assemble: the enabled selected ones, or every enabled row after Yes.
std::vector<int> UsedRows(TDataSeq& ds, Services& services) {
  std::vector<int> rows;
  for (int r = 1; r <= ds.Count(); ++r)
    if (ds.SeqAt(r)->enabled && ds.SeqAt(r)->selected) rows.push_back(r);
  if (rows.size() < 2 &&
      services.messages.AskYesNo("Less than two reads selected. Assemble all reads?")) {
    rows.clear();
    for (int r = 1; r <= ds.Count(); ++r)
      if (ds.SeqAt(r)->enabled) rows.push_back(r);
  }
  return rows;
}

// The number of the trace file made from each row (asmFileNumber), made afresh for every run,
// so a number from an earlier run can never rename a read of this one.
using FileNumbers = std::unordered_map<int, int>;  // file number -> row

// Writes each row as a numbered SCF trace, runs the base caller on it and adds the reads it
// called to reads. files receives every trace file name, whatever became of it.
void CallBases(const TDataSeq& ds, const std::vector<int>& rows, const std::string& folder,
               ProgressScope& bar, Services& services, TDataSeq& reads,
               std::vector<std::string>& files, FileNumbers& numbers) {
  std::vector<int> owners;
  for (const int row : rows) {
    bar.Step(true);
    const TSeq& seq = *ds.SeqAt(row);
    int n = row;
    while (FileExists(folder + "/" + std::to_string(n) + ".scf")) ++n;
    const std::string file = std::to_string(n) + ".scf";
    const std::string path = folder + "/" + file;
    numbers[n] = row;
    files.push_back(file);
    owners.push_back(row);
    if (!SaveScf(path, seq, services)) continue;
    BaseCalls calls;
    (void)RunPhred(path, services, calls);
    if (!calls.phd.empty()) (void)SaveTextFile(path + ".phd.1", calls.phd, services);
    if (!calls.qual.empty()) (void)SaveTextFile(path + ".qual", calls.qual, services);
  }
  for (std::size_t k = 0; k < files.size(); ++k) {
    const std::string& f = files[k];
    const std::string phd = folder + "/" + f + ".phd.1";
    std::unique_ptr<TSeq> read = FileExists(phd) ? OpenPhd(phd, services) : nullptr;
    if (!read) {
      // A read the base caller failed on would go to phrap empty.
      services.messages.ReportError("The base caller gave no " + f + ".phd.1 for " +
                                    ds.NameAt(owners[k]) + "; the read is left out");
      continue;
    }
    read->seqName += " CHROMAT_FILE: " + f + " PHD_FILE: " + f + ".phd.1";
    (void)reads.AddSeq(read, true);
  }
}

// Rows of the assembly named by a trace file number take the name of the read made into
// that file. True when any name came back.
bool RestoreNames(TDataSeq& assembled, const TDataSeq& source, const FileNumbers& rowOfNumber) {
  bool restored = false;
  for (int r = 1; r <= assembled.Count(); ++r) {
    const std::string& name = assembled.SeqAt(r)->seqName;
    const std::optional<int> k = ParseInt(name.substr(0, name.find('.')));
    if (!k) continue;
    const auto it = rowOfNumber.find(*k);
    if (it == rowOfNumber.end()) continue;
    restored = assembled.RenameSeq(r, source.NameAt(it->second), false) || restored;
  }
  return restored;
}

}  // namespace

AssemblyOutcome AssembleContigs(EditorContext& ctx, const AssemblySetup& setup) {
  AssemblyOutcome outcome;
  Services& services = ctx.services;
  TDataSeq* ds = ctx.project.CurrentDataset();
  if (ds == nullptr || ctx.locked) return outcome;
  const BaseCaller caller = FindBaseCaller(services.settings.programFolder);
  const std::string phrap =
      setup.phrap.empty() ? FindPhrap(services.settings.programFolder) : setup.phrap;
  if (!ProgramsFound(caller, phrap, services)) return outcome;

  WorkFolder privateFolder;
  const std::string folder = setup.workFolder.empty() ? privateFolder.Path() : setup.workFolder;
  if (setup.workFolder.empty() && !privateFolder.Valid()) {
    services.messages.Notify("Can not make a working folder for the assembly");
    return outcome;
  }
  const std::vector<int> rows = UsedRows(*ds, services);

  TDataSeq reads(services);
  std::vector<std::string> files;
  FileNumbers numbers;
  std::string fasta;
  {
    ProgressScope bar(services.progress, static_cast<int>(rows.size()) + 1,
                      "Assessing read quality...");
    bool allTraces = true;
    for (const int row : rows) allTraces = allTraces && ds->SeqAt(row)->HasTrace();
    if (!allTraces) {
      for (const int row : rows) {
        bar.Step(true);
        std::unique_ptr<TSeq> copy = ds->CloneAt(row);
        copy->quality.clear();
        (void)reads.AddSeq(copy, false);
      }
    } else {
      CallBases(*ds, rows, folder, bar, services, reads, files, numbers);
    }

    if (reads.Count() > 1) {
      int m = 1;
      while (FileExists(folder + "/" + std::to_string(m))) ++m;
      fasta = folder + "/" + std::to_string(m);
      bool written = SaveTextFile(fasta, FastaText(reads, false), services);
      bool withQuality = false;
      for (int r = 1; r <= reads.Count(); ++r)
        withQuality = withQuality || !reads.SeqAt(r)->quality.empty();
      if (withQuality)
        written = SaveTextFile(fasta + ".qual", FastaQualityText(reads), services) && written;
      services.progress.ShowStatus("Assembling contigs with phrap...", true, true);
      const int code = written ? RunPhrap(phrap, fasta, services) : 1;
      if (code != 0) {
        services.messages.Notify("Failed to run phrap. Error code: " + std::to_string(code));
      } else {
        auto project = std::make_unique<TDataProj>(services);
        OpenWindow window(*project);
        window.caption = kContigCaptionPrefix + ds->dsName;
        const int index = OpenAce(fasta + ".ace", window, services);
        if (index >= 0) {
          outcome.namesRestored = RestoreNames(*project->DatasetAt(index), *ds, numbers);
          project->SetCurrent(index);
          outcome.contigs = std::move(project);
        }
      }
    }
  }

  // Only the run's own files go; the FASTA name is cut at a dot of its own name, never of a
  // folder's.
  for (const std::string& f : files)
    for (const char* ext : {"", ".phd.1", ".qual", ".seq"}) RemoveIfPresent(folder + "/" + f + ext);
  if (!fasta.empty()) {
    const std::string base = WithoutExtension(fasta);
    for (const char* ext : {"", ".ace", ".log", ".qual", ".problems", ".problems.qual", ".contigs",
                            ".contigs.qual", ".singlets"})
      RemoveIfPresent(base + ext);
  }
  return outcome;
}
