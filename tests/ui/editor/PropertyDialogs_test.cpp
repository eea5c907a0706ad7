// SPDX-License-Identifier: GPL-3.0-or-later
// The property dialogs of the editor window: "OK" writes exactly their fields, "Cancel" leaves
// the project byte for byte as it was; the datasets list and the region kinds shown.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>

#include "EditorFixture.h"
#include "editor/DatasetList.h"
#include "io/ProjectFile.h"
#include "ui/editor/FRtypeBox.h"
#include "ui/editor/PropertyDialogs.h"
#include "ui/editor/RegionGridModel.h"
#include "ui/editor/SeqPropDialog.h"
#include "ui/editor/ShowFRegForm.h"
#include "ui/grid/QChromBox.h"

namespace {

// The project as its file would hold it: equal bytes, equal project.
std::string Snapshot(const TDataProj& project) {
  std::string bytes, error;
  EXPECT_TRUE(BuildProjectFile(project, GridFileSettings{}, bytes, error)) << error;
  return bytes;
}

struct PropsFixture : EditorFixture {
  TSeqGridFrm* w = NewEditor("props");
  TDataProj& project = w->GetProject();
  PropsFixture() {
    AddDataset(project, "Adh", {{"a", "ACGTACGTAC"}, {"b", "AC--ACGTAC"}});
    TDataSeq& ds = AddDataset(project, "Ddc", {{"c", "GAATTCAAGG"}, {"d", "ACGT"}});
    TRegion cds;
    cds.regStart = 1;
    cds.regEnd = 6;
    cds.regType = kRegCds;
    cds.codonPos = 1;
    ds.SeqAt(1)->AddRegion(cds);
    TRegion intron = cds;
    intron.regStart = 7;
    intron.regEnd = 10;
    intron.regType = kRegIntron;
    ds.SeqAt(1)->AddRegion(intron);
    w->UpdateAllBits();
  }
  TDataSeq& Ds(int i) { return *project.DatasetAt(i); }
};

}  // namespace

TEST(TSeqPropDialog, OkWritesBothPagesAndTheNewIndividualCancelWritesNothing) {
  PropsFixture f;
  const std::string before = Snapshot(f.project);
  {
    // Everything changed, a region edited and one added, an individual asked for: Cancel.
    TSeqPropDialog d(*f.w);
    EXPECT_EQ(d.SeqNameEdit->text(), "c");
    EXPECT_EQ(d.FRgrid->model()->rowCount(), 2);
    d.SeqNameEdit->setText("renamed");
    d.OrganismEdit->setText("Mus");
    d.RegionModel().setData(d.RegionModel().index(0, kColEnd), "3", Qt::EditRole);
    d.AddClick();
    f.dialogs.answers = {true};
    d.Button3->click();
    EXPECT_EQ(d.cbIndivid->currentText(), "Individual_0");
    d.CancelButton->click();
  }
  EXPECT_EQ(f.project.IndividCount(), 0);
  EXPECT_EQ(Snapshot(f.project), before);
  EXPECT_FALSE(f.w->IsModified());

  TSeqPropDialog d(*f.w);
  EXPECT_FALSE(d.cbShowChrom->isEnabled());  // no trace
  EXPECT_EQ(d.seSeqPloidy->minimum(), 1);
  EXPECT_EQ(d.sePQL->minimum(), -1);
  d.SeqNameEdit->setText("d");  // row 2's name
  d.SeqTypeCB->setCurrentIndex(1);
  d.AccNEdit->setText("X1");
  d.cbForw->setChecked(false);
  d.seSeqPloidy->setValue(2);
  d.sePQR->setValue(9);
  f.dialogs.answers = {true};
  d.Button3->click();
  d.RegionModel().setData(d.RegionModel().index(1, kColComment), "second", Qt::EditRole);
  d.OkButton->click();

  const TSeq& s = *f.Ds(1).SeqAt(1);
  EXPECT_EQ(s.seqName, "d~1");
  EXPECT_EQ(f.Ds(1).RowByName("D~1"), 1);
  EXPECT_EQ(s.seqType, kSeqRna);
  EXPECT_EQ(s.accession, "X1");
  EXPECT_TRUE(s.reversed);
  EXPECT_EQ(s.ploidy, 2);
  EXPECT_EQ(s.poorQualityRight, 9);
  EXPECT_EQ(s.poorQualityLeft, -1);
  ASSERT_EQ(f.project.IndividCount(), 1);
  EXPECT_EQ(s.individId, f.project.Individs()[0].indKey);
  ASSERT_EQ(s.regions.size(), 2u);
  EXPECT_EQ(s.regions[1].regComment, "second");
  EXPECT_EQ(s.regions[0].regEnd, 6);
  EXPECT_EQ(f.Ds(1).SeqAt(2)->seqName, "d");
  EXPECT_EQ(f.Ds(0).SeqAt(1)->seqName, "a");
  EXPECT_TRUE(f.w->IsModified());
}

TEST(TSeqPropDialog, RegionGridRewritesOnlyTheEditedRowAndExplainsTheCell) {
  PropsFixture f;
  TSeqPropDialog d(*f.w);
  RegionGridModel& m = d.RegionModel();
  EXPECT_EQ(d.FRgrid->columnWidth(kColComment), 300);
  EXPECT_EQ(m.headerData(kColLeftLink, Qt::Horizontal, Qt::DisplayRole).toString(), "L-FR");
  EXPECT_FALSE(m.flags(m.index(0, kColStrand)) & Qt::ItemIsEditable);
  QSignalSpy changed(&m, &QAbstractItemModel::dataChanged);
  QSignalSpy reset(&m, &QAbstractItemModel::modelReset);
  EXPECT_TRUE(m.setData(m.index(1, kColStart), "0", Qt::EditRole));
  ASSERT_EQ(changed.size(), 1);
  EXPECT_EQ(changed[0][0].toModelIndex().row(), 1);
  EXPECT_EQ(changed[0][1].toModelIndex().row(), 1);
  EXPECT_EQ(reset.size(), 0);
  EXPECT_EQ(m.data(m.index(1, kColStart), Qt::DisplayRole).toString(), "1");

  d.FRgrid->setCurrentIndex(m.index(1, kColStart));
  EXPECT_EQ(d.Memo1->toPlainText(), "Func.Reg. starts at position: 1");

  // "Change type" opens the chooser on the region's own entry; "reverse" Exon gives -40.
  int askedIndex = -1;
  d.chooseType = [&](int startIndex, bool) {
    askedIndex = startIndex;
    return RegionTypeChoice(4, true);
  };
  d.ChangeTypeClick();
  EXPECT_EQ(askedIndex, 3);  // Intron, file code 3
  EXPECT_EQ(m.data(m.index(1, kColType), Qt::DisplayRole).toString(), "Exon");
  EXPECT_EQ(m.data(m.index(1, kColStrand), Qt::DisplayRole).toString(), "R");

  d.FRfilter->setCurrentIndex(4);  // Exon
  EXPECT_EQ(m.rowCount(), 1);
  d.AddClick();  // an exon, shown under the filter
  EXPECT_EQ(m.rowCount(), 2);
  d.FRgrid->selectionModel()->select(
      m.index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  d.RemoveClick();
  EXPECT_EQ(m.rowCount(), 1);
  EXPECT_EQ(m.data(m.index(0, kColName), Qt::DisplayRole).toString(), "F_reg3");
}

TEST(TFRtypeBox, OkGivesEntryTimesTenSignedByStrandCancelGivesNothing) {
  TFRtypeBox box(nullptr, 3);
  EXPECT_EQ(box.windowTitle(), "Region type");
  EXPECT_EQ(box.cbFRtype->count(), 24);
  EXPECT_TRUE(box.rbForward->isChecked());
  box.cbFRtype->setCurrentIndex(4);
  box.rbReverse->setChecked(true);
  box.OkButton->click();
  EXPECT_EQ(box.Result(), -40);
  TFRtypeBox cancelled(nullptr, 4);
  cancelled.CancelButton->click();
  EXPECT_EQ(cancelled.Result(), kRegionTypeCancelled);
}

TEST(TDatasetPropFrm, OkWritesTheDatasetFieldsCancelNothing) {
  PropsFixture f;
  const std::string before = Snapshot(f.project);
  {
    TDatasetPropFrm d(*f.w);
    EXPECT_EQ(d.dsNameEdit->text(), "Ddc");
    EXPECT_EQ(d.chrN->minimum(), -2);
    EXPECT_EQ(d.chrN->maximum(), 10000);
    d.dsNameEdit->setText("x");
    d.CancelButton->click();
  }
  EXPECT_EQ(Snapshot(f.project), before);

  TDatasetPropFrm d(*f.w);
  d.dsNameEdit->setText("Adh");
  d.dsComment->setText("note");
  d.chrN->setValue(-1);
  d.chrPos->setValue(2500);
  d.cbSelected->setChecked(false);
  d.OkButton->click();
  const TDataSeq& ds = f.Ds(1);
  EXPECT_EQ(ds.dsName, "Adh~1");
  EXPECT_EQ(f.project.IndexByName("ADH~1"), 1);
  EXPECT_EQ(ds.dsComment, "note");
  EXPECT_EQ(ds.chromosome, -1);
  EXPECT_EQ(ds.genePosition, 2500);
  EXPECT_FALSE(ds.dsSelected);
  EXPECT_EQ(f.Ds(0).dsName, "Adh");
  EXPECT_EQ(f.w->GridBox->title(), "Dataset: Adh~1");  // the window is renewed
}

TEST(TDProjProperties, ShowsWhatTheProjectHoldsAndOkWritesItsFields) {
  PropsFixture f;
  TDProjProperties d(*f.w);
  ASSERT_EQ(d.contents.size(), 4u);
  EXPECT_EQ(d.contents[0]->text(), "Datasets: 2");
  EXPECT_EQ(d.contents[3]->text(), "Sequences: 4");
  d.prNameEdit->setText("Flies");
  d.prComment->setText("c");
  d.Edit1->setText("flies.df");
  d.OkButton->click();
  EXPECT_EQ(f.project.projName, "Flies");
  EXPECT_EQ(f.project.projComment, "c");
  EXPECT_EQ(f.project.projFile, "flies.df");
}

TEST(TDatasetsForm, ButtonsTickAsTheirHintsSayOkWritesAndDeleteAsksTwice) {
  PropsFixture f;
  for (const char* name : {"Gpdh", "Pgi", "Sod"}) AddDataset(f.project, name, {});
  const std::string before = Snapshot(f.project);
  TDatasetsForm d(*f.w);
  ASSERT_EQ(d.clbDatasets->count(), 5);
  EXPECT_EQ(d.tbSelectAll->toolTip(), "Select all datasets");
  d.tbUnselectAll->click();
  EXPECT_EQ(d.Ticks(), std::vector<bool>(5, false));
  d.tbSelectAll->click();
  EXPECT_EQ(d.Ticks(), std::vector<bool>(5, true));
  d.tbUnselectAll->click();
  d.clbDatasets->setCurrentRow(2);
  d.tbSelToStart->click();
  EXPECT_EQ(d.Ticks(), (std::vector<bool>{true, true, true, false, false}));
  d.tbInvSel->click();
  EXPECT_EQ(Snapshot(f.project), before);  // nothing is written before "Ok"

  // Two ticked: the question names the count; No to the warning deletes nothing.
  f.dialogs.answers = {true, false};
  d.tbDeleteClick();
  EXPECT_EQ(f.dialogs.questions.front(), "Delete 2 selected datasets?");
  EXPECT_EQ(f.project.DatasetCount(), 5);
  f.dialogs.answers = {true, true};
  d.tbDeleteClick();
  EXPECT_EQ(f.project.DatasetCount(), 3);
  EXPECT_EQ(d.clbDatasets->count(), 3);
  EXPECT_EQ(d.clbDatasets->item(2)->text(), "Gpdh");

  d.tbUnselectAll->click();
  d.clbDatasets->item(1)->setCheckState(Qt::Checked);
  d.OkButton->click();
  EXPECT_EQ(DatasetTicks(f.project), (std::vector<bool>{false, true, false}));
}

TEST(TShowFRegForm, OneWindowWritesBothListsAndMarksGapsWhenShown) {
  PropsFixture f;
  f.w->Action("Showfunctionalregions1")->trigger();
  f.w->Action("Showfunctionalregions1")->trigger();
  auto* form = qobject_cast<TShowFRegForm*>(f.form->ToolWindow(ToolKind::ShowFRegForm));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(f.form->findChildren<TShowFRegForm*>().size(), 1);
  ASSERT_EQ(form->GridKinds->count(), 23);
  EXPECT_EQ(form->GridKinds->item(17)->text(), "Indel or gap");
  // The trace view's copy shows every kind; untick them all, tick Indel only in the grid.
  for (int i = 0; i < 23; ++i) form->TraceKinds->item(i)->setCheckState(Qt::Unchecked);
  form->GridKinds->item(17)->setCheckState(Qt::Checked);
  form->OkButton->click();
  DeleteClosedWindows();
  EXPECT_EQ(f.form->ToolWindow(ToolKind::ShowFRegForm), nullptr);
  EXPECT_TRUE(f.w->SeqGrid->regionDisplay[18].shown);
  EXPECT_FALSE(f.w->ChromBox->regionDisplay[1].shown);
  ASSERT_EQ(f.Ds(0).SeqAt(2)->regions.size(), 1u);  // "AC--ACGTAC"
  EXPECT_EQ(f.Ds(0).SeqAt(2)->regions[0].regType, kRegIndel);
  EXPECT_TRUE(f.w->IsModified());
}
