// SPDX-License-Identifier: GPL-3.0-or-later
// ByteSource: the bytes a reader parses, from memory (tests, fuzzers, benchmarks) or a file.
#pragma once
#include <istream>
#include <string>
#include <string_view>

// Text readers need the whole content at once (FASTA counts its records before reading them),
// so a source hands out one contiguous view that stays valid while the source lives.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  [[nodiscard]] virtual std::string_view Bytes() const = 0;
};

// Borrows bytes owned elsewhere (a test string, a fuzzer buffer) or owns a copy.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view borrowed) : view_(borrowed) {}
  static MemorySource Owning(std::string bytes) {
    MemorySource s{std::string_view{}};
    s.owned_ = std::move(bytes);
    s.view_ = s.owned_;
    return s;
  }
  MemorySource(MemorySource&& other) noexcept;
  MemorySource& operator=(MemorySource&&) = delete;
  [[nodiscard]] std::string_view Bytes() const override { return view_; }

 private:
  std::string owned_;
  std::string_view view_;
};

// Reads a whole file or stream into memory. Open and ReadAll return false (and leave the
// source empty) when the file cannot be opened or read.
class FileSource final : public ByteSource {
 public:
  [[nodiscard]] bool Open(const std::string& path);
  [[nodiscard]] bool ReadAll(std::istream& in);
  [[nodiscard]] std::string_view Bytes() const override { return bytes_; }

 private:
  std::string bytes_;
};

// A file counts as present for reading when it can be opened for reading.
[[nodiscard]] bool FileReadable(const std::string& path);
