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

bool SaveTextFile(const std::string& path, const std::string& text, Services& svc) {
  QSaveFile file(QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())));
  if (!file.open(QIODevice::WriteOnly)) {
    svc.messages.ReportError("Cannot write file " + path + ": " +
                             file.errorString().toLocal8Bit().toStdString());
    return false;
  }
  const char* data = text.data();
  qint64 left = static_cast<qint64>(text.size());
  while (left > 0) {
    const qint64 written = file.write(data, left);
    if (written <= 0) break;
    data += written;
    left -= written;
  }
  if (left > 0 || !file.commit()) {
    svc.messages.ReportError("Cannot write file " + path + ": " +
                             file.errorString().toLocal8Bit().toStdString());
    file.cancelWriting();
    return false;
  }
  return true;
}
