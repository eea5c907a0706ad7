// SPDX-License-Identifier: GPL-3.0-or-later
// Memory and file byte sources.
#include "io/ByteSource.h"

#include <cstdio>
#include <memory>

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

bool FileSource::Open(const std::string& path) {
  bytes_.clear();
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
  if (!f) return false;
  // Read in large blocks: the size reported by the system may be wrong for pipes and
  // special files, so the loop ends only at the end of the data.
  constexpr std::size_t kBlock = 1 << 20;
  if (std::fseek(f.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(f.get());
    if (size > 0) bytes_.reserve(static_cast<std::size_t>(size) + kBlock);
    std::rewind(f.get());
  }
  std::size_t used = 0;
  for (;;) {
    bytes_.resize(used + kBlock);
    const std::size_t got = std::fread(bytes_.data() + used, 1, kBlock, f.get());
    used += got;
    if (got < kBlock) break;
  }
  const bool failed = std::ferror(f.get()) != 0;
  bytes_.resize(failed ? 0 : used);
  return !failed;
}

bool FileSource::ReadAll(std::istream& in) {
  bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    bytes_.clear();
    return false;
  }
  return true;
}

bool FileReadable(const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
  return f != nullptr;
}
