// SPDX-License-Identifier: GPL-3.0-or-later
// The ML-HKA runs of the neutrality analysis: each tested dataset against the reference
// datasets, twice through the outside program (neutral, then selection), in a folder of its
// own per run.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "alignment/ExtProgUnit.h"
#include "analysis/MutUnit.h"
#include "analysis/NeutralityAnalysis.h"
#include "common/NumberFormat.h"
#include "common/OutputFolder.h"
#include "common/Services.h"
#include "model/DataProjUnit.h"

namespace {

const std::string kRule(56, '-');

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << text;
  return static_cast<bool>(f.flush());
}

std::string ReadText(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

bool HasDivergence(const TDataSeq& ds) {
  const tmutholder* t = TableOfGroup(ds, 0, true);
  return t != nullptr && !t->mutations.empty();
}

}  // namespace

bool NeutralityAnalysis::TestHKADataset(TDataSeq& ds, const std::string& program, int run,
                                        std::string& text) {
  // The locus lines come from whole-dataset tables; a reference the run did not scan is
  // scanned here with the run's options.
  auto lineOf = [&](TDataSeq& d) -> std::optional<std::string> {
    int index = -1;
    for (int k = 0; k < project->DatasetCount() && index < 0; ++k)
      if (project->DatasetAt(k) == &d) index = k;
    if (std::find(chosen_.begin(), chosen_.end(), index) == chosen_.end() || d.mutHolders.empty()) {
      AnalysisOptions scan = opt;
      scan.regionFrom = 1;
      scan.regionTo = 0;
      scan.showProgress = false;
      UpdateMuts(d, scan, project, {0}, ScanChoices{});
    }
    return HKALocusLine(*project, d);
  };
  const std::optional<std::string> own = lineOf(ds);
  std::vector<std::string> refs;
  bool complete = own.has_value();
  for (const std::string& name : no.mlhka.references) {
    if (name == ds.dsName) continue;
    TDataSeq* r = nullptr;
    for (int d = 0; d < project->DatasetCount() && r == nullptr; ++d)
      if (project->DatasetAt(d)->dsName == name) r = project->DatasetAt(d);
    const std::optional<std::string> line = r != nullptr ? lineOf(*r) : std::nullopt;
    if (!line) {
      text += "Reference dataset " + name + " has no usable positions or no outgroup\r\n";
      complete = false;
      continue;
    }
    refs.push_back(*line);
  }
  if (!complete) {
    text += ds.dsName + ": cannot run mlHKA\r\n";
    return false;
  }
  std::optional<HKALikelihood> lk[2];
  for (int model = 0; model < 2; ++model) {
    // Every run works in a folder of its own: the program's folder may be read-only or
    // shared with another run.
    WorkFolder work;
    if (!work.Valid()) {
      text += "Cannot create a working folder for MLHKA\r\n";
      return false;
    }
    if (!WriteText(work.File("MLHKApar.txt"), std::to_string(no.mlhka.seed) + "\r\n" +
                                                  std::to_string(no.mlhka.chain) + "\r\n") ||
        !WriteText(work.File("infile.txt"), HKAInfile(model, ds.dsName, *own, refs))) {
      text += "Cannot write the input files of MLHKA\r\n";
      return false;
    }
    TExtProg runner(*svc);
    if (runner.Start(program, {}, work.Path()) != 0) {
      svc->messages.ReportError("MLHKA could not be started: " + runner.ErrorOutput());
      text += ds.dsName + ": MLHKA could not be started\r\n";
      return false;
    }
    const std::string status = "Running MLHKA for dataset " + ds.dsName + " ";
    const std::string tail =
        " [" + std::to_string(run) + "] " + (model == 0 ? "neutral" : "selection");
    if (!runner.Wait([&](char spinner) { return status + spinner + tail; }, "Stop MLHKA?")) {
      text += ds.dsName + ": MLHKA was stopped\r\n";
      out.cancelled = true;
      return false;
    }
    if (!runner.Succeeded()) {
      const std::string why = runner.ErrorOutput();
      text += ds.dsName + ": MLHKA failed" + (why.empty() ? "" : ": " + why) + "\r\n";
      return false;
    }
    lk[model] = ReadHKALikelihoods(ReadText(work.File("likelihoods.txt")), model);
    if (!lk[model]) {
      text += ds.dsName + ": MLHKA wrote no likelihoods (" +
              (model == 0 ? "neutral" : "selection") + " model)\r\n";
      return false;
    }
  }
  const std::string line = ds.dsName + " (compared to " + std::to_string(refs.size()) +
                           " ref. datasets) neutral Ln = " + FormatFixed(lk[0]->ln, 5) +
                           " selection Ln = " + FormatFixed(lk[1]->ln, 5) + " " +
                           MLHKAVerdict(lk[0]->ln, lk[1]->ln);
  text += line + "\r\n";
  const std::string results2 = Path(kMLHKAResults2);
  std::error_code ec;
  std::string second;
  if (!std::filesystem::exists(results2, ec)) second = "Dataset RunMode " + lk[0]->header + "\r\n";
  second += ds.dsName + " neutral: " + lk[0]->result + "\r\n" + ds.dsName +
            " selection: " + lk[1]->result + "\r\n";
  return AppendToFile(Path(kMLHKAResults1), line + "\r\n") && AppendToFile(results2, second);
}

std::string NeutralityAnalysis::RunMLHKA() {
  std::string text =
      kRule + "\r\n" + "mlHKA (Wright and Charlesworth 2004 Genetics 168:1071) results:\r\n";
  if (project->GroupCount() > 1)
    text +=
        "Please note that this analysis is for entire dataset (populations/groups are pooled "
        "together [except outgroup]).\r\n";
  text += "Chain length: " + std::to_string(no.mlhka.chain) + "\r\n";
  auto finish = [&] { return text + "\r\n" + kRule + "\r\n\r\n"; };
  std::string program;
  if (no.mlhka.program.empty()) {
    program = FindProgram(svc->settings.programFolder, {"MLHKA"}, "MLHKA");
  } else {
    program = FindProgram(".", {no.mlhka.program}, {});
    if (program.empty()) program = FindProgram({}, {}, no.mlhka.program);
  }
  if (program.empty()) {
    const std::string why =
        no.mlhka.program.empty()
            ? "The ML-HKA program was not found: MLHKA is looked for in the program's folder, "
              "then on PATH. It is not part of this program; install it to run the test."
            : "The ML-HKA program was not found: " + no.mlhka.program +
                  " is not an executable program";
    svc->messages.Notify(why);
    text += why + "\r\n";
    return finish();
  }
  const std::string saved = std::string(kMLHKAResults1) + " and " + kMLHKAResults2;
  if (no.mlhka.currentOnly) {
    TDataSeq* ds = project->DatasetAt(startDataset_ >= 0 ? startDataset_ : project->CurrentIndex());
    if (ds == nullptr) return finish();
    if (!HasEnabledOutgroup(*project, *ds)) {
      svc->messages.Notify("Cannot run mlHKA because the current dataset " + ds->dsName +
                           "\r\n does not have an outgroup.");
      return finish();
    }
    if (ds->mutHolders.empty()) {
      AnalysisOptions scan = opt;
      scan.regionTo = 0;
      UpdateMuts(*ds, scan, project, {0}, ScanChoices{});
    }
    if (!HasDivergence(*ds)) {
      svc->messages.Notify("Cannot run mlHKA because the current dataset " + ds->dsName +
                           "\r\n does not have any usable positions (e.g. due to too many gaps "
                           "or ambigous sites).");
      return finish();
    }
    if (TestHKADataset(*ds, program, 1, text))
      svc->messages.Notify("ML-HKA results were saved into files:\r\n" + saved);
    return finish();
  }
  if (project->DatasetCount() >= 11 &&
      !svc->messages.AskYesNo(
          "Warning: mlHKA on multiple datasets will take a long time. Proceed anyway?"))
    return finish();
  svc->messages.Notify("The results of each mlHKA run will be saved to " + saved);
  int tested = 0;
  {
    ProgressScope bar(svc->progress, project->DatasetCount(), "Running ML-HKA...");
    for (int d = 0; d < project->DatasetCount() && !out.cancelled && !Failed(); ++d) {
      TDataSeq& ds = *project->DatasetAt(d);
      bar.Step(true);
      if (ds.dsSelected && HasEnabledOutgroup(*project, ds)) {
        if (ds.mutHolders.empty()) {
          AnalysisOptions scan = opt;
          scan.regionTo = 0;
          UpdateMuts(ds, scan, project, {0}, ScanChoices{});
        }
        if (HasDivergence(ds)) {
          if (TestHKADataset(ds, program, tested + 1, text)) ++tested;
          continue;
        }
      }
      text += ds.dsName + ": cannot run mlHKA\r\n";
    }
  }
  svc->messages.Notify("ML-HKA results for " + std::to_string(tested) +
                       " datasets were saved into files:\r\n" + saved);
  return finish();
}
