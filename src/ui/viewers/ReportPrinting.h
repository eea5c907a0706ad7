// SPDX-License-Identifier: GPL-3.0-or-later
// Printing and PDF export shared by the report windows.
#pragma once
#include <QString>

class QTextDocument;
class QWidget;

// Asks for a printer and prints the document; false when cancelled or printing is unavailable.
bool PrintDocument(QWidget* parent, QTextDocument& document);
// Writes the document as a PDF file; false when the file cannot be written.
bool ExportDocumentToPdf(QTextDocument& document, const QString& path);
// Saves bytes through a temporary file renamed over `path`; false (old file kept) on failure.
bool SaveBytes(const QString& path, const std::string& bytes);
