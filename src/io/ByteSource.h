// SPDX-License-Identifier: GPL-3.0-or-later
// ByteSource: the bytes a reader parses, from memory (tests, fuzzers, benchmarks) or a file.
#pragma once
#include <istream>
#include <memory>
#include <string>
#include <string_view>

class QFile;

// Text readers need the whole content at once (FASTA counts its records before reading them),
// so a source hands out one contiguous view that stays valid while the source lives.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  [[nodiscard]] virtual std::string_view Bytes() const = 0;
  // The reader will not look at the bytes before offset again. A mapped file gives their
  // memory back (the system keeps them in its file cache), so reading a large file costs
  // little more memory than what is built from it.
  virtual void Release(std::size_t /*offset*/) const {}
};

// Borrows bytes owned elsewhere (a test string, a fuzzer buffer) or owns a copy.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view borrowed) : view_(borrowed) {}
  explicit MemorySource(const char* borrowed) : view_(borrowed) {}
  // A temporary string would leave the view dangling: use Owning.
  explicit MemorySource(std::string&&) = delete;
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

// A whole file (mapped into memory where the system allows, else read) or stream. Open and
// ReadAll return false (and leave the source empty) when nothing can be read.
class FileSource final : public ByteSource {
 public:
  FileSource();
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  [[nodiscard]] bool Open(const std::string& path);
  [[nodiscard]] bool ReadAll(std::istream& in);
  [[nodiscard]] std::string_view Bytes() const override { return view_; }
  void Release(std::size_t offset) const override;

 private:
  std::unique_ptr<QFile> mapped_;  // keeps the mapping alive
  std::string bytes_;              // when the file could not be mapped
  std::string_view view_;
  mutable std::size_t released_ = 0;  // bytes of the mapping already given back
};

// A file counts as present for reading when it can be opened for reading.
[[nodiscard]] bool FileReadable(const std::string& path);
