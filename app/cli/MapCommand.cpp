// SPDX-License-Identifier: GPL-3.0-or-later
// nodrix3-cli map: raw Illumina reads placed on the sequences of a project by the built-in
// seed-and-check mapper, the result written as OUT.
#include <iostream>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "CliServices.h"
#include "FileArgs.h"
#include "io/ByteSource.h"
#include "io/ReadFormats.h"
#include "model/DataProjUnit.h"

namespace {

int RunMap(const std::vector<std::string>& args) {
  CliCommand cmd("map", "PROJECT READS OUT",
                 "Places the reads of READS (one per line, or FASTQ records) on every sequence of "
                 "at least 200 letters in PROJECT (three 15-letter seeds, at most 5 differences, "
                 "both strands) and writes the project with its placed reads to OUT.");
  AddReadOptions(cmd);
  AddWriteOptions(cmd);
  cmd.AddNote(ReadFormatsNote() + WriteFormatsNote());
  if (const auto status = cmd.Parse(args, 3, 3)) return *status;
  CliServices cli;
  const std::string& readsPath = cmd.Positionals()[1];
  const std::string& outPath = cmd.Positionals()[2];
  const WriteFormat* format = OutputFormat(cmd, outPath);
  if (format == nullptr) return kExitUsage;
  TDataProj project(cli.services);
  int code = 0;
  if (const int read = ReadInput(cmd, cmd.Positionals()[0], project, cli, code); read != kExitOk)
    return read;
  FileSource reads;
  if (!reads.Open(readsPath)) {
    cli.messages.Notify("Can not open file \r\n" + readsPath);
    return kExitFailed;
  }
  ReadContext ctx(cli.services, readsPath);
  (void)MapReads(reads, ctx, project);
  // The placed reads are in the datasets of their references: every dataset is written.
  cli.messages.answers["Export all datasets"] = true;
  return WriteOutput(project, *format, outPath, cli, cmd.Positionals()[0], true, true);
}

const bool kRegistered = RegisterCommand(
    {"map", "PROJECT READS OUT", "places Illumina reads on the sequences of a project", RunMap});

}  // namespace
