// SPDX-License-Identifier: GPL-3.0-or-later
// Write-then-rename output files.
#include "common/StagedFile.h"

#include <filesystem>
#include <system_error>

StagedFile::StagedFile(std::string target)
    : target_(std::move(target)), temporary_(target_ + ".part") {
  constexpr std::size_t kBufferBytes = 1 << 20;
  buffer_ = std::make_unique<char[]>(kBufferBytes);
  out_.rdbuf()->pubsetbuf(buffer_.get(), kBufferBytes);
  out_.open(temporary_, std::ios::binary | std::ios::trunc);
}

StagedFile::~StagedFile() {
  if (committed_) return;
  if (out_.is_open()) out_.close();
  std::error_code ignored;
  std::filesystem::remove(temporary_, ignored);
}

bool StagedFile::Commit() {
  if (!out_.is_open()) return false;
  out_.flush();
  const bool written = out_.good();
  out_.close();
  if (!written || out_.fail()) return false;
  std::error_code error;
  std::filesystem::rename(temporary_, target_, error);
  if (error) return false;
  committed_ = true;
  return true;
}
