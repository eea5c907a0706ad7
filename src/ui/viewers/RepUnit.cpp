// SPDX-License-Identifier: GPL-3.0-or-later
// The text report window.
#include "ui/viewers/RepUnit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "common/ReportText.h"
#include "ui/shell/CLXMain.h"
#include "ui/viewers/ReportPrinting.h"

namespace {
QString Latin1(const std::string& s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
}  // namespace

TRepForm::TRepForm(TMainForm& mainForm, QWidget* parent) : TMDIChild(mainForm, parent) {
  setObjectName("RepForm");
  setWindowTitle("Report");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  toolbar = new QToolBar(this);
  toolbar->setIconSize(QSize(16, 16));
  QAction* save = toolbar->addAction("&Save...");
  save->setObjectName("Save1");
  QAction* copy = toolbar->addAction("&Copy");
  copy->setObjectName("Copy1");
  QAction* print = toolbar->addAction("&Print...");
  print->setObjectName("Print1");
  QAction* pdf = toolbar->addAction("&Export PDF...");
  pdf->setObjectName("ExportPdf1");
  layout->addWidget(toolbar);
  redit1 = new QPlainTextEdit(this);
  redit1->setObjectName("Redit1");
  redit1->setLineWrapMode(QPlainTextEdit::NoWrap);
  redit1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  layout->addWidget(redit1);
  connect(save, &QAction::triggered, this, &TRepForm::Save1Click);
  connect(copy, &QAction::triggered, this, &TRepForm::CopyToClipboard);
  connect(print, &QAction::triggered, this, &TRepForm::Print1Click);
  connect(pdf, &QAction::triggered, this, &TRepForm::ExportPdf1Click);
  redit1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(redit1, &QWidget::customContextMenuRequested, this,
          [this, save, copy, print, pdf](const QPoint& at) {
            QMenu menu(this);
            menu.addActions({save, copy, print, pdf});
            menu.exec(redit1->mapToGlobal(at));
          });
}

void TRepForm::AddLine(const std::string& line) {
  redit1->appendPlainText(Latin1(line));
}

void TRepForm::SetText(const std::string& text) {
  redit1->setPlainText(Latin1(text));
  // Wide enough for the longest line (the font is fixed-width, so characters give the width
  // without laying out every line), as tall as the text, within the main window.
  std::size_t longest = 0, lines = 0, length = 0;
  for (const char c : text) {
    if (c == '\n') {
      longest = std::max(longest, length);
      length = 0;
      ++lines;
    } else if (c != '\r') {
      length += c == '\t' ? 8 : 1;
    }
  }
  longest = std::max(longest, length);
  const QFontMetrics fm(redit1->font());
  const int chrome = 2 * redit1->frameWidth() + redit1->verticalScrollBar()->sizeHint().width() +
                     2 * static_cast<int>(redit1->document()->documentMargin()) + 4;
  const int width =
      static_cast<int>(std::min<std::size_t>(longest, 2000)) * fm.horizontalAdvance('M') + chrome;
  const int height = static_cast<int>(std::min<std::size_t>(lines + 2, 200)) * fm.lineSpacing() +
                     chrome + toolbar->sizeHint().height();
  MainForm().FitChildWindow(this, QSize(std::max(width, 420), std::max(height, 240)));
}

void TRepForm::Clear() {
  redit1->clear();
}

std::string TRepForm::Text() const {
  const QByteArray bytes = redit1->toPlainText().toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool TRepForm::insertStr(const std::string& text, int position) {
  const int length = static_cast<int>(redit1->document()->characterCount()) -
                     1;  // without the final paragraph mark
  if (position < 0 || position > length) return false;
  QTextCursor cursor(redit1->document());
  cursor.setPosition(position);
  cursor.insertText(Latin1(text));
  return true;
}

bool TRepForm::SaveToFile(const QString& path) const {
  return SaveBytes(path, WithCrLf(Text()));
}

bool TRepForm::ExportPdf(const QString& path) const {
  QTextDocument doc;
  doc.setDefaultFont(redit1->font());
  doc.setPlainText(redit1->toPlainText());
  return ExportDocumentToPdf(doc, path);
}

void TRepForm::CopyToClipboard() const {
  const QString selected = redit1->textCursor().selectedText();
  // Selections use the paragraph separator U+2029 for line ends.
  QApplication::clipboard()->setText(
      selected.isEmpty() ? redit1->toPlainText() : QString(selected).replace(QChar(0x2029), '\n'));
}

void TRepForm::Save1Click() {
  const QString path = QFileDialog::getSaveFileName(this, "Save", windowTitle() + ".txt",
                                                    "Text files (*.txt);;All files (*)");
  if (path.isEmpty()) return;
  if (!SaveToFile(path)) QMessageBox::warning(this, "Save", "Cannot write file " + path);
}

void TRepForm::Print1Click() {
  QTextDocument doc;
  doc.setDefaultFont(redit1->font());
  doc.setPlainText(redit1->toPlainText());
  PrintDocument(this, doc);
}

void TRepForm::ExportPdf1Click() {
  const QString path =
      QFileDialog::getSaveFileName(this, "Export PDF", windowTitle() + ".pdf", "PDF files (*.pdf)");
  if (path.isEmpty()) return;
  if (!ExportPdf(path)) QMessageBox::warning(this, "Export PDF", "Cannot write file " + path);
}
