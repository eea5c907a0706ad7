// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli search: the similarity search on a file; the hits marked as regions in OUT and
// listed on standard output.
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "alignment/SimilaritySearch.h"
#include "model/DataProjUnit.h"

namespace {

int RunSearch(const std::vector<std::string>& args) {
  CliCommand cmd("search", "IN QUERY OUT",
                 "Finds the first sequence of QUERY (typically a cloning vector; any readable "
                 "format) on both strands of the sequences of IN's current dataset, marks each "
                 "place as a Misc. region and writes the project to OUT. The hits are listed on "
                 "standard output: sequence, start, end, strand, identity (%).");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  AddForceOption(cmd);
  cmd.Add("min-identity",
          "A place must be more than P % identical to the query, without gaps (0 to 100; "
          "default 100: exact copies only).",
          "P");
  cmd.Add("all", "Searches every sequence; by default only those IN marks selected.");
  cmd.Add("score",
          "Also lists the local alignment (Smith-Waterman, +1/-1, gap -2) score of the query "
          "against each sequence searched.");
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 3, 3)) return *status;
  SimSearchOptions opt;
  if (!cmd.Double("min-identity", opt.minIdentity)) return kExitUsage;
  if (opt.minIdentity < 0 || opt.minIdentity > 100)
    return cmd.UsageError("--min-identity takes 0 to 100");
  opt.allSeqs = cmd.IsSet("all");
  opt.score = cmd.IsSet("score");
  const std::string& in = cmd.Positionals()[0];
  const std::string& queryPath = cmd.Positionals()[1];
  const std::string& outPath = cmd.Positionals()[2];

  CliServices cli;
  const WriteFormat* format = OutputFormat(cmd, outPath);
  if (format == nullptr) return kExitUsage;
  TDataProj project(cli.services);
  int code = 0;
  if (const int read = ReadInput(cmd, in, project, cli, code); read != kExitOk) return read;
  TDataProj queryProject(cli.services);
  if (!ReadInto(queryPath, queryProject, cli, code)) return kExitFailed;
  const TSeq* loaded = queryProject.CurrentDataset()->SeqAt(1);
  const std::string query = SearchQuery(loaded, {});
  if (query.empty()) {
    std::cerr << "nodrix3-cli: " << queryPath << " holds no letters to search for\n";
    return kExitFailed;
  }
  TDataSeq& ds = *project.CurrentDataset();
  // The scores are listed below with their sequences; a notice each on stderr would repeat them.
  QuietMessages quiet;
  Services searchServices{quiet, cli.progress, cli.settings, cli.genCode};
  const SimSearchOutput out = RunSimilaritySearch(ds, query, opt, searchServices);
  if (out.rowsSearched == 0)
    std::cerr << "nodrix3-cli: no sequence of " << in << " is selected; --all searches all\n";
  const int written = WriteOutput(project, *format, outPath, cli, in, cmd.IsSet("force"));
  if (written != kExitOk) return written;
  std::cout << out.report;
  for (const SimSearchRowScore& s : out.scores)
    std::cout << ds.NameAt(s.row) << "\tSmithWaterman score = " << s.score << "\r\n";
  std::cout.flush();
  return std::cout ? kExitOk : kExitFailed;
}

const bool kRegistered =
    RegisterCommand({"search", "IN QUERY OUT",
                     "marks where a query (a vector) lies on both strands of IN", RunSearch});

}  // namespace
