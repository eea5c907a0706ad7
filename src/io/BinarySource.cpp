// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reading, atomic saving (QSaveFile) and path pieces for the binary formats.
#include "io/BinarySource.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace {

QString Q(const std::string& path) {
  return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
}

std::size_t LastSeparator(const std::string& path) {
  return path.find_last_of("/\\");
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& out, std::string& error,
                   std::uint64_t maxBytes) {
  QFile file(Q(path));
  if (!file.open(QIODevice::ReadOnly)) {
    error = "Cannot open " + path + ": " + file.errorString().toStdString();
    return false;
  }
  const qint64 size = file.size();
  if (size < 0 || static_cast<std::uint64_t>(size) > maxBytes) {
    error = path + " is " + std::to_string(size) + " bytes long, more than the " +
            std::to_string(maxBytes) + " bytes this format can address";
    return false;
  }
  out.assign(static_cast<std::size_t>(size), '\0');
  qint64 done = 0;
  while (done < size) {
    const qint64 got = file.read(out.data() + done, size - done);
    if (got <= 0) {
      error = "I/O Error reading " + path + ": " + file.errorString().toStdString();
      out.clear();
      return false;
    }
    done += got;
  }
  return true;
}

bool ReadFilePrefix(const std::string& path, std::uint64_t count, std::string& out) {
  QFile file(Q(path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.read(static_cast<qint64>(count));
  out.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return true;
}

namespace {
constexpr std::size_t kSinkBuffer = std::size_t{1} << 20;
}  // namespace

AtomicFileSink::AtomicFileSink(const std::string& path)
    : path_(path), file_(std::make_unique<QSaveFile>(Q(path))) {
  if (!file_->open(QIODevice::WriteOnly))
    Fail("I/O Error: cannot write " + path + ": " + file_->errorString().toStdString());
  else
    buffer_.reserve(kSinkBuffer);
}

AtomicFileSink::~AtomicFileSink() {
  if (file_->isOpen()) file_->cancelWriting();
}

void AtomicFileSink::Fail(const std::string& what) {
  if (error_.empty()) error_ = what;
}

void AtomicFileSink::Put(std::string_view bytes) {
  if (buffer_.size() + bytes.size() > kSinkBuffer) Flush();
  if (bytes.size() < kSinkBuffer)
    buffer_.append(bytes);
  else
    WriteOut(bytes);
}

void AtomicFileSink::Flush() {
  WriteOut(buffer_);
  buffer_.clear();
}

void AtomicFileSink::WriteOut(std::string_view bytes) {
  // After a failure nothing more is written, but positions keep counting for the caller.
  qint64 done = 0;
  const auto size = static_cast<qint64>(bytes.size());
  while (done < size && error_.empty()) {
    const qint64 put = file_->write(bytes.data() + done, size - done);
    if (put <= 0)
      Fail("I/O Error writing " + path_ + ": " + file_->errorString().toStdString());
    else
      done += put;
  }
  written_ += bytes.size();
}

void AtomicFileSink::Patch(std::uint64_t at, std::string_view bytes) {
  if (at >= written_) {
    buffer_.replace(static_cast<std::size_t>(at - written_), bytes.size(), bytes);
    return;
  }
  // A patch reaching into the buffer is split: the buffered part is patched at once.
  const std::uint64_t inFile = std::min<std::uint64_t>(bytes.size(), written_ - at);
  patches_.emplace_back(at, std::string(bytes.substr(0, static_cast<std::size_t>(inFile))));
  if (inFile < bytes.size()) buffer_.replace(0, bytes.size() - inFile, bytes.substr(inFile));
}

bool AtomicFileSink::Commit(std::string& error) {
  Flush();
  for (const auto& [at, bytes] : patches_) {
    if (!error_.empty()) break;
    if (!file_->seek(static_cast<qint64>(at)) ||
        file_->write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()))
      Fail("I/O Error writing " + path_ + ": " + file_->errorString().toStdString());
  }
  if (error_.empty() && !file_->commit())
    Fail("I/O Error: cannot replace " + path_ + ": " + file_->errorString().toStdString());
  if (!error_.empty()) {
    error = error_;
    return false;
  }
  return true;
}

bool SaveFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
  AtomicFileSink sink(path);
  sink.Put(bytes);
  return sink.Commit(error);
}

bool FileExists(const std::string& path) {
  const QFileInfo info(Q(path));
  return info.exists() && info.isFile();
}

std::string FileNameOf(const std::string& path) {
  const std::size_t sep = LastSeparator(path);
  return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string FileBaseNameOf(const std::string& path) {
  const std::string name = FileNameOf(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string WithoutExtension(const std::string& path) {
  const std::size_t sep = LastSeparator(path);
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (sep != std::string::npos && dot < sep) ||
      dot == (sep == std::string::npos ? 0 : sep + 1))
    return path;
  return path.substr(0, dot);
}

std::string FolderOf(const std::string& path) {
  const std::size_t sep = LastSeparator(path);
  if (sep == std::string::npos) return ".";
  if (sep == 0) return "/";
  return path.substr(0, sep);
}
