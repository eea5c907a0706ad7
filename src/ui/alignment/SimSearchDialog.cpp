// SPDX-License-Identifier: GPL-3.0-or-later
// The similarity search window.
#include "ui/alignment/SimSearchDialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "editor/EditorContext.h"
#include "model/DataProjUnit.h"
#include "ui/editor/DialogButtons.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/shell/CLXMain.h"
#include "ui/viewers/RepUnit.h"

namespace {

template <typename T>
T* Named(T* w, const char* name) {
  w->setObjectName(name);
  return w;
}

}  // namespace

TSimSearchForm::TSimSearchForm(TMainForm& mainForm, QWidget* parent) : TMDIChild(mainForm, parent) {
  setObjectName("SimSearchForm");
  setWindowTitle(ToolKindCaption(ToolKind::SimSearchForm));
  auto* layout = new QVBoxLayout(this);

  auto* queryBox = Named(new QGroupBox("Query sequence", this), "QueryBox");
  auto* ql = new QVBoxLayout(queryBox);
  Memo1 = Named(new QPlainTextEdit(kSimSearchPlaceholder, queryBox), "Memo1");
  ql->addWidget(Memo1, 1);
  auto* fileRow = new QHBoxLayout;
  Button1 = Named(new QPushButton("Load from file =>", queryBox), "Button1");
  Edit1 = Named(new QLineEdit(queryBox), "Edit1");
  Edit1->setReadOnly(true);
  fileRow->addWidget(Button1);
  fileRow->addWidget(Edit1, 1);
  ql->addLayout(fileRow);
  layout->addWidget(queryBox, 1);

  auto* row = new QHBoxLayout;
  auto* seqBox = Named(new QGroupBox("Sequences", this), "SequencesBox");
  auto* sl = new QVBoxLayout(seqBox);
  AllSeq = Named(new QRadioButton("All", seqBox), "AllSeq");
  SelectedSeqDB = Named(new QRadioButton("Selected", seqBox), "SelectedSeqDB");
  SelectedSeqDB->setChecked(true);
  sl->addWidget(AllSeq);
  sl->addWidget(SelectedSeqDB);
  row->addWidget(seqBox);

  auto* outBox = Named(new QGroupBox("Output", this), "OutputBox");
  auto* ol = new QVBoxLayout(outBox);
  cbRep = Named(new QCheckBox("Report", outBox), "cbRep");
  cbMark = Named(new QCheckBox("Mark on sequence", outBox), "cbMark");
  cbMark->setChecked(true);
  ol->addWidget(cbRep);
  ol->addWidget(cbMark);
  row->addWidget(outBox);

  auto* methodBox = Named(new QGroupBox("Search method", this), "MethodBox");
  auto* ml = new QVBoxLayout(methodBox);
  auto* simRow = new QHBoxLayout;
  cbSim = Named(new QCheckBox("Similarity (%)", methodBox), "cbSim");
  cbSim->setChecked(true);
  edSim = Named(new QSpinBox(methodBox), "edSim");
  edSim->setRange(0, 100);
  edSim->setValue(100);
  simRow->addWidget(cbSim);
  simRow->addWidget(edSim);
  ml->addLayout(simRow);
  cbBlast = Named(new QCheckBox("BLAST", methodBox), "cbBlast");
  cbBlast->setToolTip("Local alignment score (Smith-Waterman) of each sequence");
  ml->addWidget(cbBlast);
  row->addWidget(methodBox);
  layout->addLayout(row);

  const OkCancelButtons buttons = AddOkCancelRow(this, layout, "Ok");
  OkButton = buttons.ok;
  CancelButton = buttons.cancel;
  connect(Button1, &QPushButton::clicked, this, &TSimSearchForm::Button1Click);
  connect(OkButton, &QPushButton::clicked, this, &TSimSearchForm::OkButtonClick);
  connect(CancelButton, &QPushButton::clicked, this, &TSimSearchForm::CancelButtonClick);
}

TSimSearchForm::~TSimSearchForm() = default;

SimSearchOptions TSimSearchForm::Options() const {
  SimSearchOptions o;
  o.allSeqs = AllSeq->isChecked();
  o.identity = cbSim->isChecked();
  o.minIdentity = edSim->value();
  o.mark = cbMark->isChecked();
  o.score = cbBlast->isChecked();
  return o;
}

void TSimSearchForm::Button1Click() {
  const QStringList filters = QString(kLoadVectFilter).split(";;");
  QString chosen = filters.front();
  const QString path =
      QFileDialog::getOpenFileName(this, "Load vector sequence", {}, kLoadVectFilter, &chosen);
  if (path.isEmpty()) return;
  LoadQueryFile(path, static_cast<int>(filters.indexOf(chosen)) + 1);
}

void TSimSearchForm::LoadQueryFile(const QString& path, int filterIndex) {
  std::unique_ptr<TSeq> loaded =
      LoadQuery(path.toLocal8Bit().toStdString(), filterIndex, MainForm().GetServices());
  // An unknown entry has been told and keeps the query.
  if (filterIndex < 1 || filterIndex > 5) return;
  querySeq = std::move(loaded);
  Edit1->setText(path);
  Memo1->setPlainText(querySeq ? QString::fromLatin1(querySeq->letters) : QString());
}

void TSimSearchForm::OkButtonClick() {
  TMainForm& main = MainForm();
  if (main.RefuseIfBusy()) return;
  const std::string query =
      SearchQuery(querySeq.get(), Memo1->toPlainText().toLatin1().toStdString());
  if (query.empty()) return;
  const SimSearchOptions opt = Options();
  SimSearchOutput out;
  if (TSeqGridFrm* editor = AsSeqGridFrm(main.CurrentEditor()); editor != nullptr)
    editor->RunCommand(
        [&](EditorContext& ctx) {
          TDataSeq* ds = ctx.project.CurrentDataset();
          if (ds == nullptr) return false;
          out = RunSimilaritySearch(*ds, query, opt, ctx.services);
          ctx.modified = out.marked > 0;
          return true;
        },
        opt.identity && opt.mark);
  if (cbRep->isChecked() && opt.identity) {
    auto* report = new TRepForm(main);
    report->SetText(out.report);
    main.AddChildWindow(report)->show();
  }
  CloseWindow();
}

void TSimSearchForm::CancelButtonClick() {
  CloseWindow();
}

void TSimSearchForm::CloseWindow() {
  if (parentWidget() != nullptr)
    parentWidget()->close();
  else
    close();
}

TSimSearchForm* NewSimSearchForm(TMainForm& mainForm) {
  if (auto* open = qobject_cast<TSimSearchForm*>(mainForm.RaiseToolWindow(ToolKind::SimSearchForm)))
    return open;
  auto* form = new TSimSearchForm(mainForm);
  mainForm.RegisterToolWindow(ToolKind::SimSearchForm, form);
  form->parentWidget()->resize(620, 460);
  return form;
}
