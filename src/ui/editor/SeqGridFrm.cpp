// SPDX-License-Identifier: GPL-3.0-or-later
// TSeqGridFrm: layout, published operations, display renewal and closing.
#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/RegionCommands.h"
#include "editor/SequenceCommands.h"
#include "ui/editor/IndividualsPage.h"
#include "ui/editor/OpenCommands.h"
#include "ui/editor/ProjectTree.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/grid/QChromBox.h"
#include "ui/grid/QSeqGrid3.h"
#include "ui/shell/CLXMain.h"

namespace {

QSlider* MakeSlider(Qt::Orientation orientation, const char* name, const QString& hint, int min,
                    int max, int start, QWidget* parent) {
  auto* s = new QSlider(orientation, parent);
  s->setObjectName(name);
  s->setToolTip(hint);
  s->setRange(min, max);
  s->setValue(start);
  return s;
}

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The status bar's words for a sequence kind.
QString SeqTypeText(int seqType) {
  switch (seqType) {
    case kSeqDna:
    case kSeqCDna:
      return "DNA";
    case kSeqRna:
      return "RNA";
    case kSeqProtein1:
    case kSeqProtein3:
      return "Protein";
    case kSeqSnp:
      return "SNPs";
    default:
      return "Misc. sites";
  }
}

}  // namespace

TSeqGridFrm::TSeqGridFrm(TMainForm& mainForm, QWidget* parent) : TMDIChild(mainForm, parent) {
  setObjectName("SeqGridFrm");
  SeqGrid = new TSeqGrid3(mainForm.GetServices(), this);
  SeqGrid->setObjectName("SeqGrid");
  target = std::make_unique<OpenWindow>(SeqGrid->Project());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  MenuBar = new QMenuBar(this);
  MenuBar->setObjectName("MainMenu");
  // Inside a child window the menus stay with the window, also on systems with a global bar.
  MenuBar->setNativeMenuBar(false);
  layout->setMenuBar(MenuBar);

  auto* split = new QSplitter(Qt::Horizontal, this);
  split->setObjectName("Splitter1");
  auto* left = new QWidget(split);
  left->setObjectName("Panel1");
  auto* leftLayout = new QVBoxLayout(left);
  leftLayout->setContentsMargins(2, 2, 2, 2);
  ToolBar1 = new QToolBar(left);
  ToolBar1->setObjectName("ToolBar1");
  ToolBar1->setIconSize(QSize(16, 16));
  leftLayout->addWidget(ToolBar1);
  TreeView = new TProjectTree(left);
  TreeView->setObjectName("TreeView");
  TreeView->setToolTip("Browse items in the project");
  leftLayout->addWidget(TreeView, 1);

  PageControl2 = new QTabWidget(split);
  PageControl2->setObjectName("PageControl2");
  auto* seqPage = new QWidget(PageControl2);
  seqPage->setObjectName("SeqPage");
  BuildSequencePage(seqPage);
  PageControl2->addTab(seqPage, "Sequences");
  IndividPage = new TIndividualsPage(*this, PageControl2);
  IndividPage->setObjectName("IndividPage");
  PageControl2->addTab(IndividPage, "Individuals");
  split->addWidget(left);
  split->addWidget(PageControl2);
  split->setStretchFactor(0, 1);
  split->setStretchFactor(1, 4);
  split->setSizes({170, 680});
  layout->addWidget(split, 1);
  BuildStatusBars();

  // The window's timer blinks the grid's cursor.
  SeqGrid->SetBlinking(false);
  CursorTimer = new QTimer(this);
  CursorTimer->setObjectName("CursorTimer");
  CursorTimer->setInterval(1000);
  connect(CursorTimer, &QTimer::timeout, SeqGrid, &TSeqGrid3::BlinkCursor);
  CursorTimer->start();

  connect(SeqGrid, &TSeqGrid3::contentChanged, this, [this] {
    SetModified(true);
    UpdateStatusBars();
  });
  connect(SeqGrid, &TSeqGrid3::cursorMoved, this, &TSeqGridFrm::UpdateSeqStatus);
  connect(SeqGrid, &TSeqGrid3::lockChanged, this, [this] { UpdateStatusBars(); });
  connect(ChromBox, &TChromBox::letterClicked, this, [this](int pos) {
    TDataSeq* ds = SeqGrid->Dataset();
    if (ds == nullptr || ds->SeqAt(ds->currentRow) == nullptr) return;
    ds->cursorPos = std::max(1, pos);
    SeqGrid->Refresh(false);
    ChromBox->update();
    UpdateSeqStatus();
  });
  connect(TreeView, &TProjectTree::datasetChosen, this, &TSeqGridFrm::ShowDataset);
  connect(TreeView, &TProjectTree::sequenceChosen, this, &TSeqGridFrm::ShowRow);
  connect(TreeView, &TProjectTree::selectionFlagsChanged, this, [this] {
    SetModified(true);
    SeqGrid->Refresh(false);  // enabled flags show in the grid
  });
  connect(TreeView, &TProjectTree::projectChanged, this, [this] {
    SetModified(true);
    UpdateAllBits();
  });
  connect(PageControl2, &QTabWidget::currentChanged, this, [this](int page) {
    if (PageControl2->widget(page) == IndividPage) IndividPage->Rebuild();
  });

  CreateMenus();
  // The tree's toolbar makes new items; the sequence toolbar shifts rows and blocks.
  const std::pair<const char*, QStyle::StandardPixmap> treeButtons[] = {
      {"Newdataset1", QStyle::SP_FileDialogNewFolder},
      {"Newindividual1", QStyle::SP_FileIcon},
      {"Newgroup1", QStyle::SP_DirIcon}};
  for (const auto& [name, icon] : treeButtons) {
    QAction* a = Action(name);
    a->setIcon(style()->standardIcon(icon));
    ToolBar1->addAction(a);
  }
  auto* deleteNode = new QAction(style()->standardIcon(QStyle::SP_TrashIcon), "Delete", this);
  deleteNode->setObjectName("DeleteNode1");
  deleteNode->setToolTip("Delete the chosen item of the project tree");
  connect(deleteNode, &QAction::triggered, this, [this] {
    if (!MainForm().RefuseIfBusy()) TreeView->DeleteNode(TreeView->currentItem());
  });
  ToolBar1->addAction(deleteNode);
  ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolBar2->addSeparator();
  for (const char* name : {"ShiftLeft1", "ShiftRight1"}) ToolBar2->addAction(Action(name));
  resize(860, 560);
  UpdateAllBits();
}

TSeqGridFrm::~TSeqGridFrm() = default;

void TSeqGridFrm::BuildSequencePage(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  ToolBar2 = new QToolBar(page);
  ToolBar2->setObjectName("ToolBar2");
  ToolBar2->setIconSize(QSize(16, 16));
  ZoomSlider = MakeSlider(Qt::Horizontal, "ZoomSlider", "Zoom in/out into the sequence dataset", 0,
                          20, 10, ToolBar2);
  ZoomSlider->setMaximumWidth(160);
  ToolBar2->addWidget(ZoomSlider);
  layout->addWidget(ToolBar2);

  auto* split = new QSplitter(Qt::Vertical, page);
  split->setObjectName("Splitter2");
  GridBox = new QGroupBox("Dataset: ", split);
  GridBox->setObjectName("GridBox");
  auto* gridLayout = new QHBoxLayout(GridBox);
  gridLayout->setContentsMargins(2, 2, 2, 2);
  rowheightSlider =
      MakeSlider(Qt::Vertical, "rowheightSlider", "Adjust row height", 10, 100, 10, GridBox);
  gridLayout->addWidget(rowheightSlider);
  auto* column = new QVBoxLayout;
  NameWidthSlider = MakeSlider(Qt::Horizontal, "NameWidthSlider",
                               "Adjust width of the first column", 1, 400, 10, GridBox);
  NameWidthSlider->setMaximumWidth(240);
  column->addWidget(NameWidthSlider);
  column->addWidget(SeqGrid, 1);
  gridLayout->addLayout(column, 1);
  // The grid's own horizontal bar walks the alignment columns.
  ScrollBar1 = SeqGrid->horizontalScrollBar();
  ScrollBar1->setObjectName("ScrollBar1");

  ChromGroup = new QGroupBox("Sequence:", split);
  ChromGroup->setObjectName("ChromGroup");
  auto* chromLayout = new QHBoxLayout(ChromGroup);
  chromLayout->setContentsMargins(2, 2, 2, 2);
  ChromBox = new TChromBox(SeqGrid, ChromGroup);
  ChromBox->setObjectName("ChromBox");
  chromLayout->addWidget(ChromBox, 1);
  auto* scales = new QVBoxLayout;
  XScale =
      MakeSlider(Qt::Horizontal, "XScale", "Horizontal scale of the trace", 1, 50, 5, ChromGroup);
  YScale = MakeSlider(Qt::Vertical, "YScale", "Vertical scale of the trace", 1, 20, 10, ChromGroup);
  XScale->setMaximumWidth(90);
  scales->addWidget(XScale);
  scales->addWidget(YScale, 1, Qt::AlignHCenter);
  chromLayout->addLayout(scales);
  ChromBox->SetXScalePosition(XScale->value());
  ChromBox->SetYScalePosition(YScale->value());
  split->addWidget(GridBox);
  split->addWidget(ChromGroup);
  split->setStretchFactor(0, 4);
  split->setStretchFactor(1, 1);
  split->setSizes({380, 120});
  layout->addWidget(split, 1);

  StatusBar2 = new QStatusBar(page);
  StatusBar2->setObjectName("StatusBar2");
  StatusBar2->setSizeGripEnabled(false);
  for (std::size_t i = 0; i < seqPanels.size(); ++i) {
    seqPanels[i] = new QLabel(StatusBar2);
    seqPanels[i]->setObjectName(QString("SeqPanel%1").arg(i));
    seqPanels[i]->setMinimumWidth(i == 1 || i == 3 ? 90 : 40);
    StatusBar2->addWidget(seqPanels[i]);
  }
  layout->addWidget(StatusBar2);

  // The zoom and row sliders start where the grid is; moving them sets the grid.
  connect(ZoomSlider, &QSlider::valueChanged, SeqGrid, &TSeqGrid3::SetZoomPosition);
  connect(rowheightSlider, &QSlider::valueChanged, SeqGrid, &TSeqGrid3::SetRowHeight);
  connect(NameWidthSlider, &QSlider::valueChanged, SeqGrid, &TSeqGrid3::SetNameColumnWidth);
  connect(XScale, &QSlider::valueChanged, ChromBox, &TChromBox::SetXScalePosition);
  connect(YScale, &QSlider::valueChanged, ChromBox, &TChromBox::SetYScalePosition);
}

void TSeqGridFrm::BuildStatusBars() {
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  for (std::size_t i = 0; i < statusPanels.size(); ++i) {
    statusPanels[i] = new QLabel(StatusBar1);
    statusPanels[i]->setObjectName(QString("Panel%1").arg(i));
    // Panels 4..8 carry nothing here; they keep the lock state in the last panel.
    if (i >= 4 && i <= 8) statusPanels[i]->hide();
    if (i == 9)
      StatusBar1->addPermanentWidget(statusPanels[i]);
    else
      StatusBar1->addWidget(statusPanels[i]);
  }
  layout()->addWidget(StatusBar1);
}

TSeqGridFrm* AsSeqGridFrm(QWidget* w) {
  return qobject_cast<TSeqGridFrm*>(w);
}

TDataProj& TSeqGridFrm::GetProject() {
  return SeqGrid->Project();
}

const TDataProj& TSeqGridFrm::GetProject() const {
  return SeqGrid->Project();
}

void TSeqGridFrm::AdoptProject(std::unique_ptr<TDataProj> project) {
  SeqGrid->SetProject(std::move(project));
  // The dispatcher's target refers to the project, so it follows the new one.
  target = std::make_unique<OpenWindow>(SeqGrid->Project());
  UpdateAllBits();
}

OpenWindow& TSeqGridFrm::Target() {
  target->caption = windowTitle().toStdString();
  target->gridLocked = SeqGrid->isLocked;
  return *target;
}

GridFileSettings TSeqGridFrm::GridSettings() const {
  GridFileSettings g = target->grid;  // keeps what only the file block carries
  g.currentDataset = std::max(GetProject().CurrentIndex(), 0);
  g.letterMargin = SeqGrid->letterMargin;
  g.textMargin = SeqGrid->textMargin;
  g.bigStep = SeqGrid->bigStep;
  g.cursorPenWidth = SeqGrid->cursorPenWidth;
  for (std::size_t i = 0; i < g.colours.size(); ++i)
    g.colours[i] = static_cast<std::uint32_t>(SeqGrid->colorScheme[i]);
  return g;
}

void TSeqGridFrm::ApplyGridSettings() {
  GridFileSettings& g = target->grid;
  if (!g.readFromFile) return;
  // Values a damaged block could carry are kept within what the grid can draw with.
  SeqGrid->letterMargin = std::clamp(g.letterMargin, 0, 50);
  SeqGrid->textMargin = std::clamp(g.textMargin, 0, 50);
  SeqGrid->bigStep = std::clamp(g.bigStep, 1, 100000);
  SeqGrid->cursorPenWidth = std::clamp(g.cursorPenWidth, 1, 10);
  g.readFromFile = false;
}

bool TSeqGridFrm::IsModified() const {
  return SeqGrid->modified;
}

void TSeqGridFrm::SetModified(bool on) {
  SeqGrid->modified = on;
}

QAction* TSeqGridFrm::Action(const char* objectName) const {
  return findChild<QAction*>(objectName);
}

void TSeqGridFrm::AddDataSeq(std::unique_ptr<TDataSeq> dataset) {
  if (!dataset) return;
  const int dsNumber = GetProject().AddDataset(dataset, false);
  if (dsNumber < 0) return;
  GetProject().SetCurrent(GetProject().IndexByNumber(dsNumber));
  SetModified(true);
  UpdateAllBits();
  SeqGrid->Refresh(false);
}

void TSeqGridFrm::AddSequence(std::unique_ptr<TSeq> seq) {
  if (!seq) return;
  if (GetProject().DatasetCount() == 0) GetProject().NewDataset();
  TDataSeq* ds = GetProject().CurrentDataset();
  if (ds == nullptr || ds->AddSeq(seq, true) < 0) return;
  SetModified(true);
  UpdateAllBits();
  SeqGrid->Refresh(false);
}

void TSeqGridFrm::AddNewSeq() {
  // A new window has no dataset yet: the row needs one.
  if (GetProject().DatasetCount() == 0 && !SeqGrid->isLocked) GetProject().NewDataset();
  RunCommand(AddNewSequence, false);
}

void TSeqGridFrm::SortSeq() {
  RunCommand(SortCurrentByName, false);
}

void TSeqGridFrm::SpliceOutFReg(int kind, bool allBut) {
  RunCommand([kind, allBut](EditorContext& ctx) { return DeleteRegionLetters(ctx, kind, allBut); },
             true);
}

void TSeqGridFrm::ShowCursorColumn() {
  TDataSeq* ds = SeqGrid->Dataset();
  const TSeq* s = ds != nullptr ? ds->SeqAt(ds->currentRow) : nullptr;
  if (s == nullptr) return;
  const int column = ds->cursorPos + s->columnShift;
  if (column >= ds->firstVisibleCol && column <= ds->lastVisibleCol) return;
  const int width = std::max(1, ds->lastVisibleCol - ds->firstVisibleCol + 1);
  ds->firstVisibleCol = std::max(1, column - width / 2);
  SeqGrid->Refresh(false);
}

bool TSeqGridFrm::SeqEmpty() const {
  const TDataSeq* ds = SeqGrid->Dataset();
  return ds == nullptr || ds->Count() == 0;
}

bool TSeqGridFrm::GetIndivid(int index, TIndivid& out) const {
  return GetProject().GetIndivid(index, out);
}

int TSeqGridFrm::IndivCount() const {
  return GetProject().IndividCount();
}

QString TSeqGridFrm::DatasetCaption() const {
  QString caption = "Dataset: ";
  const TDataSeq* ds = SeqGrid->Dataset();
  if (ds == nullptr) return caption;
  if (MainForm().Settings().showDatasetNumber)
    caption += QString("[%1] ").arg(std::max(GetProject().CurrentIndex(), 0) + 1);
  return caption + Latin1(ds->dsName);
}

QString TSeqGridFrm::StatusPanelText(int panel) const {
  if (panel < 0 || panel >= static_cast<int>(statusPanels.size())) return {};
  return statusPanels[static_cast<std::size_t>(panel)]->text();
}

QString TSeqGridFrm::SeqStatusPanelText(int panel) const {
  if (panel < 0 || panel >= static_cast<int>(seqPanels.size())) return {};
  return seqPanels[static_cast<std::size_t>(panel)]->text();
}

void TSeqGridFrm::UpdateAllBits() {
  if (updating) return;
  updating = true;
  SeqGrid->colorScheme = MainForm().Colors();
  GridBox->setTitle(DatasetCaption());
  TreeView->Rebuild(GetProject());
  if (PageControl2->currentWidget() == IndividPage) IndividPage->Rebuild();
  UpdateStatusBars();
  SeqGrid->Refresh(false);
  ChromBox->update();
  updating = false;
}

void TSeqGridFrm::UpdateStatusBars() {
  const TDataProj& p = GetProject();
  statusPanels[0]->setText(QString("Datasets: %1").arg(p.DatasetCount()));
  statusPanels[1]->setText(QString("Sequences: %1").arg(p.TotalSeqCount()));
  statusPanels[2]->setText(QString("Individs: %1").arg(p.IndividCount()));
  statusPanels[3]->setText(QString("Groups: %1").arg(p.GroupCount() - 1));
  statusPanels[9]->setText(SeqGrid->isLocked ? "Locked" : "UnLocked");
  UpdateSeqStatus();
}

void TSeqGridFrm::UpdateSeqStatus() {
  const TDataSeq* ds = SeqGrid->Dataset();
  const TSeq* s = ds != nullptr ? ds->SeqAt(ds->currentRow) : nullptr;
  if (s == nullptr) {
    for (QLabel* l : seqPanels) l->clear();
    return;
  }
  const int pos = ds->cursorPos;
  int shownPos = pos;
  // A SNP row stores the genomic position of each of its sites.
  if (s->seqType == kSeqSnp && pos >= 1) {
    const auto at = static_cast<std::size_t>(pos - 1);
    if (at < s->polySitePos.size())
      shownPos = s->polySitePos[at];
    else if (at < s->peakPos.size())
      shownPos = s->peakPos[at];
  }
  const int quality = pos >= 1 && static_cast<std::size_t>(pos) <= s->quality.size()
                          ? s->quality[static_cast<std::size_t>(pos - 1)]
                          : 0;
  seqPanels[0]->setText(SeqTypeText(s->seqType));
  seqPanels[1]->setText(QString("Pos: %1").arg(shownPos));
  seqPanels[2]->setText(QString("Q: %1").arg(quality));
  seqPanels[3]->setText(QString("Seq: %1").arg(ds->currentRow));
  seqPanels[4]->setText(SeqGrid->insertMode ? "Insert" : "Overwrite");
  seqPanels[5]->setText(s->reversed ? "R" : "F");
  seqPanels[6]->setText(s->plusStrand ? "+" : "-");
}

void TSeqGridFrm::ShowDataset(int index) {
  if (index < 0 || index >= GetProject().DatasetCount()) return;
  GetProject().SetCurrent(index);
  UpdateAllBits();
}

void TSeqGridFrm::ShowRow(int dsIndex, int row) {
  if (dsIndex < 0 || dsIndex >= GetProject().DatasetCount()) return;
  GetProject().SetCurrent(dsIndex);
  TDataSeq* ds = GetProject().CurrentDataset();
  if (ds != nullptr && ds->SeqAt(row) != nullptr) ds->currentRow = row;
  UpdateAllBits();
}

void TSeqGridFrm::KeepWithProject(QWidget* dependent) {
  std::erase_if(dependents, [](const QPointer<QWidget>& w) { return w.isNull(); });
  if (dependent != nullptr &&
      std::find(dependents.begin(), dependents.end(), dependent) == dependents.end())
    dependents.emplace_back(dependent);
}

void TSeqGridFrm::closeEvent(QCloseEvent* event) {
  if (MainForm().IsBusy()) {
    event->ignore();
    return;
  }
  if (IsModified()) {
    switch (MainForm().AskYesNoCancel("Would you like to save the project " +
                                      windowTitle().toStdString() + " ?")) {
      case YesNoCancel::Cancel:
        event->ignore();
        return;
      case YesNoCancel::Yes:
        if (!SaveWindowToItsFile(MainForm(), *this)) {
          event->ignore();  // a cancelled or failed save keeps the window and its data
          return;
        }
        break;
      case YesNoCancel::No:
        break;
    }
  }
  // Dialogs holding this project must not outlive it.
  for (const QPointer<QWidget>& w : dependents) {
    if (w.isNull()) continue;
    QWidget* frame = w->parentWidget() != nullptr ? w->parentWidget() : w.data();
    if (!frame->close()) {
      event->ignore();
      return;
    }
  }
  TMDIChild::closeEvent(event);
}
