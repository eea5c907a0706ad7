// SPDX-License-Identifier: GPL-3.0-or-later
// Rescue reader for damaged project files: scans every byte for the SEQSTRUC tag and keeps
// each sequence record found whole. The region layout follows the file's version digit when
// the header survived, else the extension (".psf" version 1, anything else version 3).
#include <algorithm>
#include <cctype>

#include "io/BinarySource.h"
#include "io/ProjectFile.h"
#include "io/ProjectFileParts.h"

using namespace projfile;

namespace {

constexpr std::uint64_t kProgressChunk = 1 << 16;

int GuessVersion(std::string_view bytes, const std::string& path) {
  if (bytes.size() >= 12 && bytes.substr(4, 7) == "Nodrix_" && bytes[11] >= '1' && bytes[11] <= '3')
    return bytes[11] - '0';
  const std::string lower = [&] {
    std::string s = path;
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }();
  return lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".psf") == 0 ? 1 : 3;
}

}  // namespace

int RescueProject(const std::string& path, TDataProj& window) {
  Services& services = window.GetServices();
  if (!services.messages.AskYesNo("Warning: Rescue mode.\r\nInformation may not be read "
                                  "correctly.\r\nAttempt to rescue the file\r\n\r\n" +
                                  path))
    return -1;
  std::string bytes, error;
  if (!ReadWholeFile(path, bytes, error)) {
    services.messages.ReportError(error);
    return -1;
  }
  return RescueProjectBytes(bytes, path, window);
}

int RescueProjectBytes(std::string_view bytes, const std::string& path, TDataProj& window) {
  Services& services = window.GetServices();
  const int version = GuessVersion(bytes, path);
  const ByteCursor all(bytes);
  const std::uint64_t chunks = bytes.size() / kProgressChunk + 1;
  ProgressScope bar(services.progress, static_cast<int>(std::min<std::uint64_t>(chunks, 1 << 30)),
                    "Rescuing file...");
  TDataSeq& ds = *window.DatasetAt(window.DatasetCount() > 0 ? window.DatasetCount() - 1 : -1);
  int added = 0, broken = 0;
  std::uint64_t nextStep = kProgressChunk;
  std::size_t at = bytes.find("SEQSTRUC", 1);
  while (at != std::string_view::npos) {
    while (at >= nextStep) {
      bar.Step(true);
      nextStep += kProgressChunk;
    }
    std::uint32_t size = 0;
    ByteCursor record;
    if (at >= 4 && all.PeekU32LEAt(at - 4, size)) {
      const std::uint64_t start = at - 4;
      // The size field may claim more than the file still holds; the members decide.
      all.SubAt(start, std::min<std::uint64_t>(size, all.Size() - start), record);
      std::string problem;
      std::unique_ptr<TSeq> seq = ReadSeqRecord(record.Bytes(), 0, version, problem);
      if (seq) {
        // Individuals are not rescued: a link to one the window does not know is dropped.
        if (seq->individId >= 0 && window.IndexOfKey(seq->individId) < 0) seq->individId = -1;
        if (ds.AddSeq(seq, false) >= 0) ++added;
      } else {
        ++broken;
      }
    }
    at = bytes.find("SEQSTRUC", at + 8);
  }
  std::string text = path + ": rescued " + std::to_string(added) + " sequence(s)";
  if (broken > 0) text += "; " + std::to_string(broken) + " damaged record(s) could not be read";
  services.messages.ReportError(text);
  return added;
}
