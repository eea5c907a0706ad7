// SPDX-License-Identifier: GPL-3.0-or-later
// Report printing and saving.
#include "ui/viewers/ReportPrinting.h"

#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QTextDocument>
#include <string>

bool PrintDocument(QWidget* parent, QTextDocument& document) {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  document.print(&printer);
  return true;
}

bool ExportDocumentToPdf(QTextDocument& document, const QString& path) {
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    document.print(&printer);
  }
  const QFileInfo written(path);
  return written.exists() && written.size() > 0;
}

bool SaveBytes(const QString& path, const std::string& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
      static_cast<qint64>(bytes.size())) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}
