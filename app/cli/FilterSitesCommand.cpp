// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli filter-sites: copies of the datasets keeping the columns of chosen site classes,
// written to OUT; the caption the desktop window would carry goes to stderr.
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "analysis/BaseDbox1.h"
#include "analysis/FilterSitesUnit.h"
#include "model/DataProjUnit.h"

namespace {

// "noncoding,pos1,pos2,pos3" and the like into the dialog's boxes; false for an unknown item
// or codon positions mixed with degeneracy classes.
bool ReadSiteList(const std::string& list, FilterSitesOptions& o) {
  o.noncoding = o.pos1 = o.pos2 = o.pos3 = false;
  bool positions = false, degenerate = false;
  std::stringstream items(list);
  for (std::string item; std::getline(items, item, ',');) {
    if (item == "none") continue;
    if (item == "noncoding") {
      o.noncoding = true;
    } else if (item.size() == 4 && item.starts_with("pos") && item[3] >= '1' && item[3] <= '3') {
      positions = true;
      (item[3] == '1' ? o.pos1 : item[3] == '2' ? o.pos2 : o.pos3) = true;
    } else if (item.size() == 4 && item.starts_with("deg") && item[3] >= '1' && item[3] <= '4') {
      degenerate = true;
      (item[3] == '1' ? o.deg1 : item[3] == '2' ? o.deg2 : item[3] == '3' ? o.deg3 : o.deg4) = true;
    } else {
      return false;
    }
  }
  o.codonPositions = !degenerate;
  return !(positions && degenerate);
}

int RunFilterSitesCommand(const std::vector<std::string>& args) {
  CliCommand cmd("filter-sites", "IN OUT",
                 "Copies every dataset of IN keeping only the alignment columns of the chosen "
                 "site classes within a region, and writes the copies to OUT.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("sites",
          "Site classes kept, comma-separated: noncoding, pos1, pos2, pos3 (codon positions) or "
          "deg1..deg4 (degeneracy classes); none keeps all sites. Default "
          "noncoding,pos1,pos2,pos3.",
          "LIST");
  cmd.Add("region", "Only alignment columns FROM to TO.", "FROM-TO");
  cmd.Add("include-indels", "Keeps gapped columns (default: removed).");
  cmd.Add("ignore-ambiguous", "Keeps columns with ambiguous letters (default: removed).");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 2, 2)) return *status;

  FilterSitesOptions o;
  if (cmd.IsSet("sites") && !ReadSiteList(cmd.Value("sites"), o))
    return cmd.UsageError("bad value of --sites: '" + cmd.Value("sites") + "'");
  if (cmd.IsSet("region")) {
    const std::string v = cmd.Value("region");
    const auto dash = v.find('-');
    if (dash == std::string::npos || !ToInt(v.substr(0, dash), o.regFrom) ||
        !ToInt(v.substr(dash + 1), o.regTo) || o.regFrom < 1 || o.regTo < 1)
      return cmd.UsageError("bad value of --region: '" + v + "'");
    o.onlyRegion = true;
  }
  o.removeIndels = !cmd.IsSet("include-indels");
  o.removeAmbiguous = !cmd.IsSet("ignore-ambiguous");

  CliServices cli;
  TDataProj project(cli.services);
  const WriteFormat* format = nullptr;
  if (const int read = ReadInForOut(cmd, project, cli, format); read != kExitOk) return read;
  InitAnalysisSelection(project);
  FilterSitesResult result = RunFilterSites(project, o, cli.services);
  if (result.project == nullptr) {
    std::cerr << "nodrix3-cli: no dataset was produced\n";
    return kExitFailed;
  }
  std::cerr << "nodrix3-cli: " << result.caption << "\n";
  return WriteOutput(*result.project, *format, cmd.Positionals()[1], cli, cmd.Positionals()[0],
                     cmd.IsSet("force"));
}

const bool kRegistered = RegisterCommand(
    {"filter-sites", "IN OUT", "keeps the columns of chosen site classes", RunFilterSitesCommand});

}  // namespace
