// SPDX-License-Identifier: GPL-3.0-or-later
// Reads files through the open dispatcher: the optional reference file read first (one dataset
// per sequence), the questions that gate the long readers, and the "Can not open file" notice.
#include "io/ReadsDispatch.h"

#include "io/Dispatcher.h"
#include "io/FormatTables.h"
#include "io/ReadFormats.h"
#include "model/DataProjUnit.h"

namespace {

// The open dialog as "Open file with reference sequence(s)"; what is picked is read as "Fasta;
// Each seq in separate dataset" into the window.
void ReadReferences(const OpenOptions& options, OpenWindow& window, Services& services) {
  if (!options.chooseReferenceFile) return;
  const std::string reference = options.chooseReferenceFile();
  if (!reference.empty()) (void)DispatchFile(reference, kCodeFastaEachSeq, {}, &window, services);
}

bool CurrentDatasetHasSequences(const TDataProj& proj) {
  const TDataSeq* ds = proj.DatasetAt(-1);
  return ds != nullptr && ds->Count() > 0;
}

bool OpenSource(const std::string& path, FileSource& src, Services& services) {
  if (src.Open(path)) return true;
  services.messages.Notify("Can not open file \r\n" + path);
  return false;
}

bool ReadSamOrMaq(int code, const std::string& path, const OpenOptions& options, OpenWindow& window,
                  Services& services) {
  if (options.askReference) ReadReferences(options, window, services);
  TDataProj& proj = window.project;
  if (code == kCodeMaq &&
      !services.messages.AskYesNo(
          "Nodrix is about to start reading MAQ file. This may take some time. Proceed anyway?"))
    return true;
  FileSource src;
  if (!OpenSource(path, src, services)) return true;
  // A locked grid takes no new dataset: only the references already there get reads.
  const bool referencesOnly =
      (options.askReference && proj.DatasetCount() > 0) || window.gridLocked;
  ReadContext ctx(services, path);
  if (code == kCodeSam)
    (void)OpenSam(src, ctx, proj, referencesOnly);
  else
    (void)OpenMaq(src, ctx, proj, referencesOnly);
  return true;
}

bool ReadEland(const std::string& path, const OpenOptions& options, OpenWindow& window,
               Services& services) {
  TDataProj& proj = window.project;
  IMessages& msg = services.messages;
  if (!CurrentDatasetHasSequences(proj) &&
      msg.AskYesNo("Open fasta file with reference sequence(s) used for eland mapping?\r\nNote "
                   "that these reference sequences will open in seprate datasets (may be slow "
                   "for 100s of seq)"))
    ReadReferences(options, window, services);
  const bool limited =
      CurrentDatasetHasSequences(proj) &&
      msg.AskYesNo("Use only the reads mapped to contigs in the reference sequence file?");
  if (!msg.AskYesNo(std::string("Nodrix is about to open Illumina reads ") +
                    (limited ? "Eland-mapped to sequences " : "") + "in data window \r\n" +
                    window.caption + "\r\nThis may take a long time. Proceed anyway?"))
    return true;
  FileSource src;
  if (!OpenSource(path, src, services)) return true;
  ReadContext ctx(services, path);
  (void)OpenEland(src, ctx, proj, limited || window.gridLocked);
  return true;
}

bool RunMapper(const std::string& path, const OpenOptions& options, OpenWindow& window,
               Services& services) {
  TDataProj& proj = window.project;
  IMessages& msg = services.messages;
  if (!CurrentDatasetHasSequences(proj) &&
      msg.AskYesNo("Open fasta file with reference sequence(s) to use for mapping Illumina reads?"))
    ReadReferences(options, window, services);
  if (!CurrentDatasetHasSequences(proj)) {
    msg.Notify(
        "This input option requires reference sequence(s) to map Illumina reads. "
        "Aborting...");
    return true;
  }
  if (!msg.AskYesNo("Nodrix is about to start mapping Illumina reads to sequences in data "
                    "window \r\n" +
                    window.caption + "\r\nThis may take a long time. Proceed anyway?"))
    return true;
  FileSource src;
  if (!OpenSource(path, src, services)) return true;
  ReadContext ctx(services, path);
  (void)MapReads(src, ctx, proj);
  return true;
}

}  // namespace

bool DispatchReadsFile(int formatCode, const std::string& path, const OpenOptions& options,
                       OpenWindow& window, Services& services) {
  switch (formatCode) {
    case kCodeSam:
    case kCodeMaq:
      return ReadSamOrMaq(formatCode, path, options, window, services);
    case kCodeEland:
      return ReadEland(path, options, window, services);
    case kCodeMapIllumina:
      return RunMapper(path, options, window, services);
    case kCodeFastq:
      (void)ConvertFastq(path, services);
      return true;
    default:
      return false;
  }
}
