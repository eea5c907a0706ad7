// SPDX-License-Identifier: GPL-3.0-or-later
// The individuals page: table, sequence list, filters, toolbars and the IgridMenu commands.
#include "ui/editor/IndividualsPage.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>

#include "editor/EditorContext.h"
#include "editor/IndividualsCommands.h"
#include "editor/IndividualsCsv.h"
#include "io/ProjectFile.h"
#include "model/DataProjUnit.h"
#include "ui/editor/IndividualsModels.h"
#include "ui/editor/ProjectReportWindows.h"
#include "ui/editor/ProjectTree.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/grid/QSeqGrid3.h"
#include "ui/shell/CLXMain.h"

namespace {

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Latin1Of(const QString& text) {
  return text.toLatin1().toStdString();
}

// Refills a filter box, keeping the chosen item when it is still there.
void FillBox(QComboBox* box, const QStringList& items) {
  const QString chosen = box->currentText();
  box->clear();
  box->addItems(items);
  const int keep = box->findText(chosen);
  box->setCurrentIndex(keep >= 0 ? keep : 0);
}

QString AskFile(QWidget* parent, bool save, const QString& filter, const QString& suffix) {
  QFileDialog dialog(parent, save ? "Save" : "Open", {}, filter + ";;All files (*)");
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (!save) dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(suffix);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

constexpr const char* kCsvFilter = "Excell comma delimited (*.csv)";

}  // namespace

TIndividualsPage::TIndividualsPage(TSeqGridFrm& w, QWidget* parent) : QWidget(parent), window(w) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  auto* split = new QSplitter(Qt::Horizontal, this);

  auto* individuals = new QGroupBox("Individuals", split);
  auto* indLayout = new QVBoxLayout(individuals);
  IndivToolBar = new QToolBar(individuals);
  IndivToolBar->setObjectName("IndivToolBar");
  indLayout->addWidget(IndivToolBar);
  auto* filter = new QHBoxLayout;
  filter->addWidget(new QLabel("From group:", individuals));
  GrpBox = new QComboBox(individuals);
  GrpBox->setObjectName("GrpBox");
  filter->addWidget(GrpBox, 1);
  indLayout->addLayout(filter);
  IndivGrid = new QTableView(individuals);
  IndivGrid->setObjectName("IndivGrid");
  IndivGrid->verticalHeader()->hide();
  IndivGrid->verticalHeader()->setDefaultSectionSize(18);
  IndivGrid->horizontalHeader()->setStretchLastSection(true);
  IndivGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  IndivGrid->setSelectionMode(QAbstractItemView::ExtendedSelection);
  IndivGrid->setContextMenuPolicy(Qt::CustomContextMenu);
  individModel = new TIndividModel(this);
  IndivGrid->setModel(individModel);
  indLayout->addWidget(IndivGrid, 1);

  auto* sequences = new QGroupBox("Sequences", split);
  auto* seqLayout = new QVBoxLayout(sequences);
  auto* dsFilter = new QHBoxLayout;
  dsFilter->addWidget(new QLabel("From dataset:", sequences));
  DSbox = new QComboBox(sequences);
  DSbox->setObjectName("DSbox");
  dsFilter->addWidget(DSbox, 1);
  seqLayout->addLayout(dsFilter);
  SeqToolBar = new QToolBar(sequences);
  SeqToolBar->setObjectName("SeqToolBar");
  seqLayout->addWidget(SeqToolBar);
  SeqList = new QListView(sequences);
  SeqList->setObjectName("SeqList");
  SeqList->setUniformItemSizes(true);  // thousands of rows laid out without measuring each
  seqModel = new TSeqListModel(this);
  SeqList->setModel(seqModel);
  seqLayout->addWidget(SeqList, 1);
  SelectedLabel = new QLabel("Selected: 0", sequences);
  SelectedLabel->setObjectName("SelectedLabel");
  seqLayout->addWidget(SelectedLabel);
  split->addWidget(individuals);
  split->addWidget(sequences);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  layout->addWidget(split);

  BuildMenu();

  individModel->SetCellWriter([this](int individ, int column, const std::string& text) {
    if (window.SeqGrid->isLocked ||
        !EditCell(window.GetProject(), individModel->Columns(), individ, column, text))
      return false;
    window.SetModified(true);
    return true;
  });
  seqModel->SetLinker([this](const SeqListItem& item, int key) {
    if (window.SeqGrid->isLocked || !LinkSeq(window.GetProject(), item, key)) return false;
    window.SetModified(true);
    return true;
  });
  connect(seqModel, &TSeqListModel::linksChanged, this, &TIndividualsPage::UpdateSelectedCount);
  connect(IndivGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { CurrentIndividChanged(); });
  connect(GrpBox, &QComboBox::currentIndexChanged, this, [this] {
    if (!filling) FillIndividuals();
  });
  connect(DSbox, &QComboBox::currentIndexChanged, this, [this] {
    if (filling) return;
    allDatasetsAnswer = 0;  // a new choice of "All" asks again
    FillSequences();
  });
  connect(IndivGrid, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { IgridMenu->popup(IndivGrid->viewport()->mapToGlobal(at)); });
  IndivGrid->installEventFilter(this);
}

QAction* TIndividualsPage::MenuItem(QMenu* menu, const QString& caption, const char* name,
                                    void (TIndividualsPage::*handler)()) {
  auto* a = new QAction(caption, this);
  a->setObjectName(name);
  if (menu != nullptr) menu->addAction(a);
  connect(a, &QAction::triggered, this, [this, handler] {
    if (!window.MainForm().RefuseIfBusy()) (this->*handler)();
  });
  return a;
}

void TIndividualsPage::BuildMenu() {
  IgridMenu = new QMenu(this);
  IgridMenu->setObjectName("IgridMenu");
  QMenu* m = IgridMenu;
  MenuItem(m, "Go &to sequence editor", "GotoSeqEditor1", &TIndividualsPage::GotoSeqEditor1Click);
  m->addSeparator();
  MenuItem(m, "&Import individs...", "ImportIndivids1", &TIndividualsPage::ImportIndivids1Click);
  MenuItem(m, "&Export individs...", "ExportIndivids1", &TIndividualsPage::ExportIndivids1Click);
  MenuItem(m, "Individs to separate project...", "IndividsToProject1",
           &TIndividualsPage::IndividsToProject1Click);
  m->addSeparator();
  MenuItem(m, "&Add individual", "AddIndividual1", &TIndividualsPage::AddIndividual1Click);
  MenuItem(m, "&Delete selected", "DeleteSelected1", &TIndividualsPage::DeleteSelected1Click);
  MenuItem(m, "&Remove \"empty\" individuals", "RemoveEmpty1",
           &TIndividualsPage::RemoveEmpty1Click);
  m->addSeparator();
  MenuItem(m, "&Link seq(s) to individ(s)", "LinkSeqs1", &TIndividualsPage::LinkSeqs1Click);
  MenuItem(m, "&Create individ for each seq", "CreateIndivids1",
           &TIndividualsPage::CreateIndivids1Click);
  QMenu* reports = m->addMenu("Re&ports");
  reports->setObjectName("IgridReports1");
  MenuItem(reports, "Individuals report", "IgridIndividualsReport1",
           &TIndividualsPage::IndividualsReport1Click);
  MenuItem(reports, "Sequences report", "IgridSequencesReport1",
           &TIndividualsPage::SequencesReport1Click);
  m->addSeparator();
  MenuItem(m, "Add individ to &group", "AddToGroup1", &TIndividualsPage::AddToGroup1Click);
  MenuItem(m, "Remove &from group", "RemoveFromGroup1", &TIndividualsPage::RemoveFromGroup1Click);
  MenuItem(m, "&Sort  by name", "SortByName1", &TIndividualsPage::SortByName1Click);
  m->addSeparator();
  MenuItem(m, "Add c&olumn...", "AddColumn1", &TIndividualsPage::AddColumn1Click);
  MenuItem(m, "De&lete column", "DeleteColumn1", &TIndividualsPage::DeleteColumn1Click);

  // The page's toolbar: the commands used most, and the page's own report.
  QAction* report = MenuItem(nullptr, "Report", "PageReport1", &TIndividualsPage::PageReport1Click);
  report->setToolTip("Sequence-individual report of the project");
  for (const char* name : {"AddIndividual1", "DeleteSelected1", "ImportIndivids1",
                           "ExportIndivids1", "LinkSeqs1", "AddToGroup1", "RemoveFromGroup1"})
    IndivToolBar->addAction(Action(name));
  IndivToolBar->addAction(report);
  const std::pair<const char*, const char*> bulk[] = {{"Select all", "SelectAllSeqs1"},
                                                      {"Unselect all", "UnselectAllSeqs1"},
                                                      {"Invert selection", "InvertSeqs1"}};
  for (int i = 0; i < 3; ++i) {
    auto* a = new QAction(bulk[i].first, this);
    a->setObjectName(bulk[i].second);
    SeqToolBar->addAction(a);
    static const char* const questions[] = {"Select all sequences?", "Unselect all sequences?",
                                            "Invert selection?"};
    connect(a, &QAction::triggered, this, [this, i] { BulkTick(i, questions[i]); });
  }
}

QAction* TIndividualsPage::Action(const char* objectName) const {
  return findChild<QAction*>(objectName);
}

void TIndividualsPage::Rebuild() {
  const TDataProj& p = window.GetProject();
  filling = true;
  QStringList groups;
  for (const std::string& g : GroupFilterItems(p)) groups << Latin1(g);
  FillBox(GrpBox, groups);
  QStringList datasets{"All"};
  for (int d = 0; d < p.DatasetCount(); ++d) datasets << Latin1(p.DatasetAt(d)->dsName);
  FillBox(DSbox, datasets);
  filling = false;
  FillIndividuals();
  FillSequences();
}

void TIndividualsPage::FillIndividuals() {
  const TDataProj& p = window.GetProject();
  const int currentIndivid = individModel->IndividAtRow(IndivGrid->currentIndex().row());
  const int currentKey = currentIndivid >= 0 && currentIndivid < p.IndividCount()
                             ? p.Individs()[static_cast<std::size_t>(currentIndivid)].indKey
                             : -1;
  individModel->Reset(&p, std::max(0, GrpBox->currentIndex()));
  int row = 0;
  for (int r = 0; r < individModel->rowCount(); ++r)
    if (p.Individs()[static_cast<std::size_t>(individModel->IndividAtRow(r))].indKey == currentKey)
      row = r;
  if (individModel->rowCount() > 0)
    IndivGrid->setCurrentIndex(
        individModel->index(row, std::min(1, individModel->columnCount() - 1)));
  CurrentIndividChanged();
}

void TIndividualsPage::FillSequences() {
  const TDataProj& p = window.GetProject();
  const int dsFilter = DSbox->currentIndex() <= 0 ? kAllDatasets : DSbox->currentIndex() - 1;
  if (dsFilter == kAllDatasets && p.DatasetCount() >= 1001) {
    if (allDatasetsAnswer == 0)
      allDatasetsAnswer =
          window.MainForm().AskYesNo(
              "The project contains " + std::to_string(p.DatasetCount()) +
              " datasets.\r\nIt will take a long time to list all items from these datasets.\r\n"
              "Continue anyway?")
              ? 1
              : -1;
    if (allDatasetsAnswer < 0) {
      seqModel->Clear();
      UpdateSelectedCount();
      return;
    }
  }
  seqModel->Reset(&p, dsFilter);
  CurrentIndividChanged();
}

void TIndividualsPage::CurrentIndividChanged() {
  const TDataProj& p = window.GetProject();
  const int individ = individModel->IndividAtRow(IndivGrid->currentIndex().row());
  seqModel->SetIndivid(individ >= 0 && individ < p.IndividCount()
                           ? p.Individs()[static_cast<std::size_t>(individ)].indKey
                           : -1);
  UpdateSelectedCount();
}

void TIndividualsPage::UpdateSelectedCount() {
  SelectedLabel->setText(QString("Selected: %1").arg(seqModel->TickedCount()));
}

bool TIndividualsPage::eventFilter(QObject* watched, QEvent* event) {
  // Names edited in the table show in the project tree once the table is left.
  if (watched == IndivGrid && event->type() == QEvent::FocusOut)
    window.TreeView->Rebuild(window.GetProject());
  return QWidget::eventFilter(watched, event);
}

std::vector<int> TIndividualsPage::ChosenIndivids() const {
  std::vector<int> rows;
  for (const QModelIndex& i : IndivGrid->selectionModel()->selectedRows()) rows.push_back(i.row());
  if (rows.empty() && IndivGrid->currentIndex().isValid())
    rows.push_back(IndivGrid->currentIndex().row());
  std::sort(rows.begin(), rows.end());
  std::vector<int> out;
  for (int r : rows)
    if (const int i = individModel->IndividAtRow(r); i >= 0) out.push_back(i);
  return out;
}

void TIndividualsPage::RunOnProject(const std::function<bool(EditorContext&)>& command) {
  window.RunCommand(command, false);
  // The window renews the page only while it is shown.
  if (window.PageControl2->currentWidget() != this) Rebuild();
}

void TIndividualsPage::GotoSeqEditor1Click() {
  window.PageControl2->setCurrentIndex(0);
}

void TIndividualsPage::ImportFrom(const QString& path) {
  const std::string file = Latin1Of(path);
  RunOnProject([&file](EditorContext& ctx) {
    if (ctx.locked) return false;
    const int added = ImportIndividualsFile(ctx.project, file, ctx.services.messages);
    if (added > 0) ctx.modified = true;
    return added >= 0;
  });
}

void TIndividualsPage::ExportTo(const QString& path) {
  ExportIndividualsFile(window.GetProject(), std::max(0, GrpBox->currentIndex()), Latin1Of(path),
                        window.MainForm());
}

void TIndividualsPage::ImportIndivids1Click() {
  const QString path = AskFile(this, false, kCsvFilter, "csv");
  if (!path.isEmpty()) ImportFrom(path);
}

void TIndividualsPage::ExportIndivids1Click() {
  const QString path = AskFile(this, true, kCsvFilter, "csv");
  if (!path.isEmpty()) ExportTo(path);
}

bool TIndividualsPage::WriteIndividsProject(const QString& path,
                                            const std::vector<int>& individIndexes) {
  TMainForm& main = window.MainForm();
  auto extracted = ExtractIndividuals(window.GetProject(), main.GetServices(), individIndexes);
  if (extracted->DatasetCount() == 0) {
    main.Notify("The chosen individuals have no sequences: no project file was written.");
    return false;
  }
  return WriteProject(Latin1Of(path), *extracted, GridFileSettings{});
}

void TIndividualsPage::IndividsToProject1Click() {
  const std::vector<int> chosen = ChosenIndivids();
  bool agreed = false;
  window.RunCommand([&](EditorContext& ctx) { return agreed = AskExtractIndividuals(ctx, chosen); },
                    false);
  if (!agreed) return;
  const QString path = AskFile(this, true, "Nodrix data file (*.df)", "df");
  if (!path.isEmpty()) WriteIndividsProject(path, chosen);
}

void TIndividualsPage::AddIndividual1Click() {
  RunOnProject([](EditorContext& ctx) { return AddNumberedIndividual(ctx) >= 0; });
}

void TIndividualsPage::DeleteSelected1Click() {
  const std::vector<int> chosen = ChosenIndivids();
  RunOnProject([&](EditorContext& ctx) { return DeleteIndividuals(ctx, chosen) > 0; });
}

void TIndividualsPage::RemoveEmpty1Click() {
  RunOnProject([](EditorContext& ctx) { return RemoveEmptyIndividuals(ctx) > 0; });
}

void TIndividualsPage::LinkSeqs1Click() {
  RunOnProject([](EditorContext& ctx) { return AutolinkSequences(ctx) >= 0; });
}

void TIndividualsPage::CreateIndivids1Click() {
  const std::vector<SeqListItem> items = seqModel->Items();
  RunOnProject([&](EditorContext& ctx) { return CreateIndividForEachSeq(ctx, items) >= 0; });
}

void TIndividualsPage::IndividualsReport1Click() {
  ShowProjectReport(window, ProjectReport::Individuals);
}

void TIndividualsPage::SequencesReport1Click() {
  ShowProjectReport(window, ProjectReport::Sequences);
}

void TIndividualsPage::PageReport1Click() {
  ShowProjectReport(window, ProjectReport::IndividualsPage);
}

void TIndividualsPage::AddToGroup1Click() {
  const std::vector<int> chosen = ChosenIndivids();
  const std::optional<int> key = window.TreeView->SelectedGroupKey();
  const int group = key ? window.GetProject().GroupIndexByKey(*key) : -1;
  RunOnProject([&](EditorContext& ctx) { return AddIndividsToGroup(ctx, chosen, group) > 0; });
}

void TIndividualsPage::RemoveFromGroup1Click() {
  const std::vector<int> chosen = ChosenIndivids();
  RunOnProject([&](EditorContext& ctx) { return RemoveIndividsFromGroup(ctx, chosen) > 0; });
}

void TIndividualsPage::SortByName1Click() {
  RunOnProject(SortIndividuals);
}

void TIndividualsPage::AddColumn1Click() {
  QInputDialog dialog(this);
  dialog.setWindowTitle("New col. name");
  dialog.setLabelText("New col. name");
  dialog.setTextValue(Latin1(ProposedColumnName(window.GetProject())));
  dialog.setOkButtonText("Ok");
  if (dialog.exec() != QDialog::Accepted) return;
  const std::string name = Latin1Of(dialog.textValue());
  RunOnProject([&name](EditorContext& ctx) { return AddTableColumn(ctx, name); });
}

void TIndividualsPage::DeleteColumn1Click() {
  const int column = IndivGrid->currentIndex().column();
  RunOnProject([column](EditorContext& ctx) { return DeleteTableColumn(ctx, column); });
}

void TIndividualsPage::BulkTick(int how, const char* question) {
  if (window.SeqGrid->isLocked || !window.MainForm().AskYesNo(question)) return;
  seqModel->TickAll(static_cast<TSeqListModel::Bulk>(how));
}
