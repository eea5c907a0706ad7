// SPDX-License-Identifier: GPL-3.0-or-later
// SCF traces. The reader decodes version 3 files (four channels one after another, stored as
// second differences; bases section as peak table, probabilities, letters) and files of
// earlier versions (samples interleaved A C G T and stored plainly; one 12-byte record per
// base) by the version text of the header; 1- and 2-byte samples both. It refuses files that
// are too short, lack the ".scf" magic, or whose sections lie outside the file. The writer
// produces version 3.00 with 2-byte samples.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "io/BinarySource.h"
#include "io/ByteCursor.h"
#include "io/TraceFormats.h"

namespace {

constexpr std::uint64_t kHeaderSize = 128;

struct ScfHeader {
  std::uint32_t samples = 0, samplesAt = 0, bases = 0, leftClip = 0, rightClip = 0;
  std::uint32_t basesAt = 0, commentSize = 0, commentAt = 0, sampleSize = 0;
  std::string_view version;
};

std::unique_ptr<TSeq> Refuse(Services& services, const std::string& path, const std::string& why) {
  services.messages.Notify(path + "\r\n" + why);
  return nullptr;
}

// Files before version 3 interleave the channels and keep each base as one record.
bool InterleavedLayout(std::string_view version) {
  return !version.empty() && version[0] >= '0' && version[0] < '3';
}

std::int32_t ClipToInt32(std::uint32_t v) {
  return v > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())
             ? std::numeric_limits<std::int32_t>::max()
             : static_cast<std::int32_t>(v);
}

// Undoes the second-order differences of version 3 in the arithmetic of the sample width.
void SumTwice(std::vector<std::uint16_t>& ch, std::uint32_t mask) {
  std::uint32_t first = 0, second = 0;
  for (std::uint16_t& v : ch) {
    first = (first + v) & mask;
    second = (second + first) & mask;
    v = static_cast<std::uint16_t>(second);
  }
}

}  // namespace

std::unique_ptr<TSeq> OpenScf(const std::string& path, Services& services) {
  std::string bytes, error;
  if (!ReadWholeFile(path, bytes, error)) {
    services.messages.Notify(error);
    return nullptr;
  }
  return ReadScf(bytes, path, services);
}

std::unique_ptr<TSeq> ReadScf(std::string_view bytes, const std::string& path, Services& services) {
  if (bytes.size() <= kHeaderSize) return Refuse(services, path, "is empty!");
  if (bytes.substr(0, 4) != ".scf") return Refuse(services, path, "is not an SCF file");
  const ByteCursor file(bytes);
  ScfHeader h;
  file.PeekU32BEAt(4, h.samples);
  file.PeekU32BEAt(8, h.samplesAt);
  file.PeekU32BEAt(12, h.bases);
  file.PeekU32BEAt(16, h.leftClip);
  file.PeekU32BEAt(20, h.rightClip);
  file.PeekU32BEAt(24, h.basesAt);
  file.PeekU32BEAt(28, h.commentSize);
  file.PeekU32BEAt(32, h.commentAt);
  file.PeekBytesAt(36, 4, h.version);
  file.PeekU32BEAt(40, h.sampleSize);
  if (h.sampleSize != 1 && h.sampleSize != 2)
    return Refuse(
        services, path,
        "is damaged: sample size " + std::to_string(h.sampleSize) + " at byte 40, expected 1 or 2");
  const bool interleaved = InterleavedLayout(h.version);

  const std::uint64_t sampleBytes = std::uint64_t{h.samples} * 4 * h.sampleSize;  // 64-bit
  if (!file.FitsAt(h.samplesAt, sampleBytes))
    return Refuse(services, path,
                  "is damaged: " + std::to_string(h.samples) + " samples at byte " +
                      std::to_string(h.samplesAt) + " need " + std::to_string(sampleBytes) +
                      " bytes, the file has " + std::to_string(bytes.size()));
  const std::uint64_t baseBytes = std::uint64_t{h.bases} * 12;
  if (!file.FitsAt(h.basesAt, baseBytes))
    return Refuse(services, path,
                  "is damaged: " + std::to_string(h.bases) + " bases at byte " +
                      std::to_string(h.basesAt) + " need " + std::to_string(baseBytes) +
                      " bytes, the file has " + std::to_string(bytes.size()));

  auto seq = std::make_unique<TSeq>();
  std::vector<std::uint16_t>* channels[4] = {&seq->traceA.Mut(), &seq->traceC.Mut(),
                                             &seq->traceG.Mut(), &seq->traceT.Mut()};
  ByteCursor samples;
  file.SubAt(h.samplesAt, sampleBytes, samples);
  for (std::uint64_t i = 0; i < 4; ++i) {
    std::vector<std::uint16_t>& ch = *channels[i];
    ch.resize(h.samples);  // only now: the samples are known to be in the file
    for (std::uint64_t k = 0; k < h.samples; ++k) {
      const std::uint64_t index = interleaved ? 4 * k + i : i * h.samples + k;
      if (h.sampleSize == 1) {
        std::string_view b;
        samples.PeekBytesAt(index, 1, b);
        ch[k] = static_cast<std::uint8_t>(b[0]);
      } else {
        samples.PeekU16BEAt(2 * index, ch[k]);
      }
    }
    if (!interleaved) SumTwice(ch, h.sampleSize == 1 ? 0xFFu : 0xFFFFu);
  }

  ByteCursor basesSection;
  file.SubAt(h.basesAt, baseBytes, basesSection);
  seq->letters.resize(h.bases);
  seq->peakPos.resize(h.bases);
  for (std::uint64_t i = 0; i < h.bases; ++i) {
    std::uint32_t peak = 0;
    std::string_view letter;
    if (interleaved) {
      basesSection.PeekU32BEAt(12 * i, peak);
      basesSection.PeekBytesAt(12 * i + 8, 1, letter);
    } else {
      basesSection.PeekU32BEAt(4 * i, peak);
      basesSection.PeekBytesAt(8 * std::uint64_t{h.bases} + i, 1, letter);
    }
    seq->letters[i] = letter[0];
    seq->peakPos[i] = ClipToInt32(peak);
  }
  seq->SyncLength();

  std::string_view comment;
  if (h.commentSize > 0) {
    if (file.PeekBytesAt(h.commentAt, h.commentSize, comment))
      seq->seqComment.assign(comment);
    else
      services.messages.ReportError(path + ": the comment of " + std::to_string(h.commentSize) +
                                    " bytes at byte " + std::to_string(h.commentAt) +
                                    " lies outside the file; the trace was read without it");
  }
  seq->NormaliseTraces(120);
  seq->seqName = FileNameOf(path);
  seq->sourceFile = path;
  seq->sourceFormat = kSourceFormatScf;
  seq->showTrace = seq->HasTrace();
  seq->poorQualityLeft = ClipToInt32(h.leftClip);
  seq->poorQualityRight = ClipToInt32(h.rightClip);
  return seq;
}

bool BuildScf(const TSeq& seq, std::string& out, std::string& error) {
  const std::size_t n =
      std::min({seq.traceA.size(), seq.traceC.size(), seq.traceG.size(), seq.traceT.size()});
  const std::size_t letters = seq.letters.size();
  const std::uint64_t total = kHeaderSize + 8 * std::uint64_t{n} + 12 * std::uint64_t{letters};
  if (total > std::numeric_limits<std::uint32_t>::max()) {
    error = "Sequence " + seq.seqName + " is too long for an SCF file (" + std::to_string(total) +
            " bytes)";
    return false;
  }
  const std::size_t peaks = std::min(letters, seq.peakPos.size());
  for (std::size_t i = 0; i < peaks; ++i)
    if (seq.peakPos[i] < 0) {
      error = "Sequence " + seq.seqName + ": peak " + std::to_string(seq.peakPos[i]) +
              " of letter " + std::to_string(i + 1) + " cannot be stored in an SCF file";
      return false;
    }
  out.clear();
  out.reserve(total);
  ByteWriter w(out);
  const auto basesAt = static_cast<std::uint32_t>(kHeaderSize + 8 * std::uint64_t{n});
  w.Bytes(".scf");
  w.U32BE(static_cast<std::uint32_t>(n));
  w.U32BE(kHeaderSize);
  w.U32BE(static_cast<std::uint32_t>(letters));
  w.U32BE(1);
  w.U32BE(static_cast<std::uint32_t>(letters));
  w.U32BE(basesAt);
  w.U32BE(0);
  w.U32BE(0);
  w.Bytes("3.00");
  w.U32BE(2);
  w.U32BE(0);
  w.U32BE(0);
  w.U32BE(0);
  w.Zeros(kHeaderSize - w.Size());
  for (const auto* ch : {&seq.traceA, &seq.traceC, &seq.traceG, &seq.traceT}) {
    // Second differences wrap in 16 bits exactly as the reader's sums do.
    std::uint16_t previous = 0, previousDelta = 0;
    for (std::size_t k = 0; k < n; ++k) {
      const auto delta = static_cast<std::uint16_t>((*ch)[k] - previous);
      w.U16BE(static_cast<std::uint16_t>(delta - previousDelta));
      previous = (*ch)[k];
      previousDelta = delta;
    }
  }
  for (std::size_t i = 0; i < letters; ++i)
    w.U32BE(i < peaks ? static_cast<std::uint32_t>(seq.peakPos[i]) : 0);
  w.Zeros(4 * std::uint64_t{letters});
  w.Bytes(seq.letters);
  w.Zeros(3 * std::uint64_t{letters});
  return true;
}

bool SaveScf(const std::string& path, const TSeq& seq, Services& services) {
  std::string bytes, error;
  if (!BuildScf(seq, bytes, error) || !SaveFileAtomically(path, bytes, error)) {
    services.messages.ReportError(error);
    return false;
  }
  return true;
}
