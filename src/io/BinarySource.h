// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file access for the binary formats: reading a file into memory, saving through a
// temporary file that replaces the target only when complete, and path pieces.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QSaveFile;

// Reads the whole file into out. False with a message naming the file when it cannot be
// opened or read; a file larger than maxBytes is refused before anything is allocated.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& out, std::string& error,
                                 std::uint64_t maxBytes = std::uint64_t{1} << 32);

// Reads at most count bytes from the start of a file (format detection, magic checks).
[[nodiscard]] bool ReadFilePrefix(const std::string& path, std::uint64_t count, std::string& out);

// Writes bytes to a temporary file beside path and renames it over path. When anything
// fails the previous file stays as it was and error says why.
[[nodiscard]] bool SaveFileAtomically(const std::string& path, std::string_view bytes,
                                      std::string& error);

// Bytes written one after another that may overwrite a stretch already written: sizes and
// offset tables of a binary file are known only once what they describe has been written.
class PatchableSink {
 public:
  virtual ~PatchableSink() = default;
  virtual void Put(std::string_view bytes) = 0;
  [[nodiscard]] virtual std::uint64_t Position() const = 0;
  // at + bytes.size() must not pass Position().
  virtual void Patch(std::uint64_t at, std::string_view bytes) = 0;
};

class StringPatchSink final : public PatchableSink {
 public:
  explicit StringPatchSink(std::string& out) : out_(out) {}
  void Put(std::string_view bytes) override { out_.append(bytes); }
  [[nodiscard]] std::uint64_t Position() const override { return out_.size(); }
  void Patch(std::uint64_t at, std::string_view bytes) override {
    out_.replace(static_cast<std::size_t>(at), bytes.size(), bytes);
  }

 private:
  std::string& out_;
};

// SaveFileAtomically for bytes made piece by piece: they go through a fixed buffer to a
// temporary file beside path, so memory does not grow with the file. Commit renames the
// temporary file over path; until then, and whenever anything fails, the previous file
// stays as it was (an uncommitted sink removes its temporary file).
class AtomicFileSink final : public PatchableSink {
 public:
  explicit AtomicFileSink(const std::string& path);
  ~AtomicFileSink() override;
  AtomicFileSink(const AtomicFileSink&) = delete;
  AtomicFileSink& operator=(const AtomicFileSink&) = delete;
  void Put(std::string_view bytes) override;
  [[nodiscard]] std::uint64_t Position() const override { return written_ + buffer_.size(); }
  void Patch(std::uint64_t at, std::string_view bytes) override;
  // False with the reason when the file could not be opened, written or renamed.
  [[nodiscard]] bool Commit(std::string& error);

 private:
  void Flush();
  void WriteOut(std::string_view bytes);
  void Fail(const std::string& what);
  std::string path_;
  std::unique_ptr<QSaveFile> file_;
  std::string buffer_;
  std::uint64_t written_ = 0;                                   // bytes handed to the file
  std::vector<std::pair<std::uint64_t, std::string>> patches_;  // of bytes already handed over
  std::string error_;
};

[[nodiscard]] bool FileExists(const std::string& path);
std::string FileNameOf(const std::string& path);        // "dir/a.b.ab1" -> "a.b.ab1"
std::string FileBaseNameOf(const std::string& path);    // "dir/a.b.ab1" -> "a.b"
std::string WithoutExtension(const std::string& path);  // "dir/a.b.ab1" -> "dir/a.b"
std::string FolderOf(const std::string& path);          // "dir/a.ab1" -> "dir" ("." if none)
