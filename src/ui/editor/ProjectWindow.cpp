// SPDX-License-Identifier: GPL-3.0-or-later
// TProjectWindow: dataset list and read-only sequence view of one project.
#include "ui/editor/ProjectWindow.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

#include "ui/editor/OpenCommands.h"
#include "ui/shell/CLXMain.h"

namespace {
// The view is a preview: a project of 30000 rows shows its first rows only.
constexpr int kRowsShown = 2000;
}  // namespace

TProjectWindow::TProjectWindow(TMainForm& mainForm, QWidget* parent)
    : TMDIChild(mainForm, parent),
      project(std::make_unique<TDataProj>(mainForm.GetServices())),
      target(std::make_unique<OpenWindow>(*project)) {
  setObjectName("ProjectWindow");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* split = new QSplitter(Qt::Horizontal, this);
  datasetList = new QListWidget(split);
  datasetList->setObjectName("DatasetList");
  sequenceView = new QPlainTextEdit(split);
  sequenceView->setObjectName("SequenceView");
  sequenceView->setReadOnly(true);
  sequenceView->setLineWrapMode(QPlainTextEdit::NoWrap);
  sequenceView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 4);
  layout->addWidget(split);
  connect(datasetList, &QListWidget::currentRowChanged, this, [this](int row) {
    if (refreshing || row < 0) return;
    project->SetCurrent(row);
    Refresh();
  });
  resize(640, 400);
}

TProjectWindow::~TProjectWindow() = default;

void TProjectWindow::Refresh() {
  refreshing = true;
  target->caption = windowTitle().toStdString();
  datasetList->clear();
  for (int d = 0; d < project->DatasetCount(); ++d) {
    const TDataSeq& ds = *project->DatasetAt(d);
    datasetList->addItem(QString::fromLatin1(ds.dsName) + QString(" (%1)").arg(ds.Count()));
  }
  if (project->DatasetCount() > 0) datasetList->setCurrentRow(project->CurrentIndex());
  QString text;
  if (const TDataSeq* ds = project->DatasetCount() > 0 ? project->DatasetAt(project->CurrentIndex())
                                                       : nullptr) {
    const int shown = std::min(ds->Count(), kRowsShown);
    for (int r = 1; r <= shown; ++r) {
      const TSeq& s = *ds->SeqAt(r);
      text += QString::fromLatin1(s.seqName) + '\t' + QString(s.columnShift, ' ') +
              QString::fromLatin1(s.letters) + '\n';
    }
    if (ds->Count() > shown) text += QString("... %1 more rows\n").arg(ds->Count() - shown);
  }
  sequenceView->setPlainText(text);
  refreshing = false;
}

void TProjectWindow::closeEvent(QCloseEvent* event) {
  if (modified && !MainForm().IsBusy() &&
      MainForm().AskYesNo("Save changes to " + windowTitle().toStdString() + "?")) {
    if (!SaveWindowInteractive(MainForm(), *this)) {
      event->ignore();  // a cancelled or failed save keeps the window and its data
      return;
    }
  }
  TMDIChild::closeEvent(event);
}

TProjectWindow* AsProjectWindow(QWidget* w) { return qobject_cast<TProjectWindow*>(w); }
