// SPDX-License-Identifier: GPL-3.0-or-later
// StagedFile: an output file written under a temporary name and renamed over the target only
// when the writer says the content is complete, so a failed run never destroys an older file.
#pragma once
#include <fstream>
#include <memory>
#include <string>

class StagedFile {
 public:
  explicit StagedFile(std::string target);
  ~StagedFile();  // removes the temporary file unless Commit succeeded
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  [[nodiscard]] bool IsOpen() const { return out_.is_open() && out_.good(); }
  std::ofstream& Stream() { return out_; }
  // Flushes, closes and renames; false (and the target untouched) on any write error.
  [[nodiscard]] bool Commit();
  [[nodiscard]] const std::string& Target() const { return target_; }

 private:
  std::string target_;
  std::string temporary_;
  // Large writes in few system calls; declared before the stream, which uses it to the end.
  std::unique_ptr<char[]> buffer_;
  std::ofstream out_;
  bool committed_ = false;
};
