// SPDX-License-Identifier: GPL-3.0-or-later
// Atomic saving of text files and the read context's messages.
#include <QSaveFile>
#include <QString>

#include "io/IOUnit.h"

void ReadContext::ReportLine(int line, const std::string& what) const {
  services.messages.ReportError(fileName + ", line " + std::to_string(line) + ": " + what);
}

void ReadContext::Report(const std::string& what) const {
  services.messages.ReportError(fileName + ": " + what);
}

namespace {
// Collects pieces into one buffer and hands the file large blocks.
class FileSink final : public TextSink {
 public:
  explicit FileSink(QSaveFile& file) : file_(file) { buffer_.reserve(kBlock); }
  void Put(std::string_view text) override {
    if (failed_) return;
    if (buffer_.size() + text.size() > kBlock) Flush();
    if (text.size() >= kBlock)
      Write(text.data(), text.size());
    else
      buffer_.append(text);
  }
  bool Finish() {
    Flush();
    return !failed_;
  }

 private:
  static constexpr std::size_t kBlock = 1 << 20;
  void Flush() {
    Write(buffer_.data(), buffer_.size());
    buffer_.clear();
  }
  void Write(const char* data, std::size_t size) {
    while (!failed_ && size > 0) {
      const qint64 written = file_.write(data, static_cast<qint64>(size));
      if (written <= 0)
        failed_ = true;
      else {
        data += written;
        size -= static_cast<std::size_t>(written);
      }
    }
  }
  QSaveFile& file_;
  std::string buffer_;
  bool failed_ = false;
};

void ReportSaveError(const std::string& path, const QSaveFile& file, Services& svc) {
  svc.messages.ReportError("Cannot write file " + path + ": " +
                           file.errorString().toLocal8Bit().toStdString());
}
}  // namespace

bool SaveTextFile(const std::string& path, const std::function<void(TextSink&)>& produce,
                  Services& svc) {
  QSaveFile file(QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
  if (!file.open(QIODevice::WriteOnly)) {
    ReportSaveError(path, file, svc);
    return false;
  }
  FileSink sink(file);
  produce(sink);
  if (!sink.Finish() || !file.commit()) {
    ReportSaveError(path, file, svc);
    file.cancelWriting();
    return false;
  }
  return true;
}

bool SaveTextFile(const std::string& path, const std::string& text, Services& svc) {
  return SaveTextFile(
      path, [&](TextSink& sink) { sink.Put(text); }, svc);
}
