// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reading, atomic saving (QSaveFile) and path pieces for the binary formats.
#include "io/BinarySource.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

bool SaveFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
  QSaveFile file(Q(path));
  if (!file.open(QIODevice::WriteOnly)) {
    error = "I/O Error: cannot write " + path + ": " + file.errorString().toStdString();
    return false;
  }
  qint64 done = 0;
  const auto size = static_cast<qint64>(bytes.size());
  while (done < size) {
    const qint64 put = file.write(bytes.data() + done, size - done);
    if (put <= 0) {
      error = "I/O Error writing " + path + ": " + file.errorString().toStdString();
      file.cancelWriting();
      return false;
    }
    done += put;
  }
  if (!file.commit()) {
    error = "I/O Error: cannot replace " + path + ": " + file.errorString().toStdString();
    return false;
  }
  return true;
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
