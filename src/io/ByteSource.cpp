// SPDX-License-Identifier: GPL-3.0-or-later
// Memory and file byte sources.
#include "io/ByteSource.h"

#include <QFile>
#include <QString>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#include <unistd.h>
#endif

MemorySource::MemorySource(MemorySource&& other) noexcept {
  const bool owning = !other.owned_.empty() && other.view_.data() == other.owned_.data();
  owned_ = std::move(other.owned_);
  view_ = owning ? std::string_view(owned_) : other.view_;
}

namespace {
struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace

FileSource::FileSource() = default;
FileSource::~FileSource() = default;

bool FileSource::Open(const std::string& path) {
  mapped_.reset();
  bytes_.clear();
  view_ = {};
  released_ = 0;
  // Mapping spares a copy of the whole file; pipes and special files cannot be mapped.
  auto file = std::make_unique<QFile>(
      QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
  if (file->open(QIODevice::ReadOnly) && file->size() > 0) {
    if (uchar* data = file->map(0, file->size())) {
      view_ = std::string_view(reinterpret_cast<const char*>(data),
                               static_cast<std::size_t>(file->size()));
      mapped_ = std::move(file);
      return true;
    }
  }
  file.reset();
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
  if (!f) return false;
  constexpr std::size_t kBlock = 1 << 20;
  std::size_t used = 0;
  for (;;) {
    bytes_.resize(used + kBlock);
    const std::size_t got = std::fread(bytes_.data() + used, 1, kBlock, f.get());
    used += got;
    if (got < kBlock) break;
  }
  const bool failed = std::ferror(f.get()) != 0;
  bytes_.resize(failed ? 0 : used);
  view_ = bytes_;
  return !failed;
}

void FileSource::Release(std::size_t offset) const {
#if defined(__unix__) || defined(__APPLE__)
  if (!mapped_) return;
  // Whole pages only, and a few megabytes at a time to keep the system calls few.
  static const auto page = static_cast<std::size_t>(std::max(1L, ::sysconf(_SC_PAGESIZE)));
  constexpr std::size_t kStep = std::size_t{1} << 20;
  const std::size_t end = std::min(offset, view_.size()) / page * page;
  if (end < released_) released_ = 0;  // a new pass over the file has begun
  if (end < released_ + kStep) return;
  // The mapping starts on a page (it is made from offset 0) and is read-only: dropping pages
  // only makes the next look at them read the file again.
  ::madvise(const_cast<char*>(view_.data()) + released_, end - released_, MADV_DONTNEED);
  released_ = end;
#else
  (void)offset;
#endif
}

bool FileSource::ReadAll(std::istream& in) {
  mapped_.reset();
  bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) bytes_.clear();
  view_ = bytes_;
  return !in.bad();
}

bool FileReadable(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
  return f != nullptr;
}
