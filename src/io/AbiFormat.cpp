// SPDX-License-Identifier: GPL-3.0-or-later
// ABIF trace reader. Accepts any ABIF file whose directory holds base calls (PBAS); takes the
// analysed channels from DATA entries 9 to 12 in the order FWO_ names, the first PBAS and the
// last PLOC. Refuses files that do not start with "ABIF" and files whose directory or data
// lie outside the file, with a notice naming the file and the byte offset.
#include <array>
#include <cstdint>

#include "io/BinarySource.h"
#include "io/ByteCursor.h"
#include "io/TraceFormats.h"

namespace {

constexpr std::uint64_t kEntrySize = 28;

struct AbiEntry {
  std::uint32_t count = 0;
  std::string_view data;
};

std::unique_ptr<TSeq> Refuse(Services& services, const std::string& path, const std::string& why) {
  services.messages.Notify(path + "\r\n" + why);
  return nullptr;
}

// The data of an entry: inline when four bytes or less, else at its position in the file.
bool EntryData(const ByteCursor& file, std::uint64_t entryAt, std::uint32_t size,
               std::string_view& out) {
  std::uint32_t position = 0;
  if (!file.PeekU32BEAt(entryAt + 20, position)) return false;
  if (size <= 4) return file.PeekBytesAt(entryAt + 20, size, out);
  return file.PeekBytesAt(position, size, out);
}

std::vector<std::uint16_t> U16Values(std::string_view data, std::uint64_t count) {
  std::vector<std::uint16_t> values(count);
  const ByteCursor cur(data);
  for (std::uint64_t i = 0; i < count; ++i) cur.PeekU16BEAt(2 * i, values[i]);
  return values;
}

}  // namespace

std::unique_ptr<TSeq> OpenAbi(const std::string& path, Services& services) {
  std::string bytes, error;
  if (!ReadWholeFile(path, bytes, error)) {
    services.messages.Notify(error);
    return nullptr;
  }
  return ReadAbi(bytes, path, services);
}

std::unique_ptr<TSeq> ReadAbi(std::string_view bytes, const std::string& path, Services& services) {
  const ByteCursor file(bytes);
  if (bytes.size() < 4 || bytes.substr(0, 4) != "ABIF")
    return Refuse(services, path, "is not an ABI file");
  std::uint32_t entries = 0, directory = 0;
  if (!file.PeekU32BEAt(18, entries) || !file.PeekU32BEAt(26, directory))
    return Refuse(services, path,
                  "is damaged: the ABIF header ends at byte " + std::to_string(bytes.size()));
  const std::uint64_t dirBytes = std::uint64_t{entries} * kEntrySize;  // 64-bit: cannot wrap
  if (!file.FitsAt(directory, dirBytes))
    return Refuse(services, path,
                  "is damaged: its directory of " + std::to_string(entries) + " entries at byte " +
                      std::to_string(directory) + " needs " + std::to_string(dirBytes) +
                      " bytes, the file has " + std::to_string(bytes.size()));

  int dataIndex = 0;
  std::array<AbiEntry, 4> channels{};
  std::array<bool, 4> haveChannel{};
  std::string order;
  bool havePbas = false, havePloc = false;
  AbiEntry pbas, ploc;
  for (std::uint64_t e = 0; e < entries; ++e) {
    const std::uint64_t at = directory + e * kEntrySize;
    std::string_view name;
    std::uint32_t count = 0, size = 0;
    file.PeekBytesAt(at, 4, name);
    file.PeekU32BEAt(at + 12, count);
    file.PeekU32BEAt(at + 16, size);
    const bool wanted =
        name == "DATA" || name == "FWO_" || (name == "PBAS" && !havePbas) || name == "PLOC";
    if (name == "DATA") ++dataIndex;
    if (!wanted || (name == "DATA" && (dataIndex < 9 || dataIndex > 12))) continue;
    AbiEntry entry{count, {}};
    if (!EntryData(file, at, size, entry.data))
      return Refuse(services, path,
                    "is damaged: the data of entry " + std::string(name) + " (directory entry " +
                        std::to_string(e + 1) + ") lies outside the file");
    const bool twoByte = name == "DATA" || name == "PLOC";
    if (twoByte && std::uint64_t{count} * 2 > size)
      return Refuse(services, path,
                    "is damaged: entry " + std::string(name) + " claims " + std::to_string(count) +
                        " values in " + std::to_string(size) + " bytes");
    if (name == "DATA") {
      channels[static_cast<std::size_t>(dataIndex - 9)] = entry;
      haveChannel[static_cast<std::size_t>(dataIndex - 9)] = true;
    } else if (name == "FWO_") {
      order.assign(entry.data.substr(0, 4));
    } else if (name == "PBAS") {
      pbas = entry;
      havePbas = true;
    } else {
      ploc = entry;  // the last PLOC wins: it belongs to the base calls in use
      havePloc = true;
    }
  }
  if (!havePbas) return Refuse(services, path, "holds no base calls (no PBAS entry)");

  auto seq = std::make_unique<TSeq>();
  seq->letters.assign(pbas.data);
  seq->SyncLength();
  seq->seqName = FileBaseNameOf(path);
  seq->sourceFile = path;
  seq->sourceFormat = kSourceFormatAbi;
  if (havePloc) {
    const std::uint64_t n = std::min<std::uint64_t>(ploc.count, seq->letters.size());
    const std::vector<std::uint16_t> peaks = U16Values(ploc.data, n);
    seq->peakPos.assign(peaks.begin(), peaks.end());
  }
  for (std::size_t i = 0; i < 4 && i < order.size(); ++i) {
    if (!haveChannel[i]) continue;
    std::vector<std::uint16_t>* target = nullptr;
    switch (order[i]) {
      case 'A':
        target = &seq->traceA.Mut();
        break;
      case 'C':
        target = &seq->traceC.Mut();
        break;
      case 'G':
        target = &seq->traceG.Mut();
        break;
      case 'T':
        target = &seq->traceT.Mut();
        break;
      default:
        break;
    }
    if (target) *target = U16Values(channels[i].data, channels[i].count);
  }
  seq->NormaliseTraces(120);
  seq->showTrace = seq->HasTrace();
  if (seq->showTrace) seq->EstimateQuality();
  return seq;
}
