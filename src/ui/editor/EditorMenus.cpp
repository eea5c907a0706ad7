// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window's menus. An item without a handler stands for a window or command that
// does not exist yet: it is shown disabled, never as a silent no-op.
#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "alignment/AlignCommands.h"
#include "alignment/AsmContUnit.h"
#include "alignment/Haplotypes.h"
#include "common/PlatformRandom.h"
#include "editor/CleaningCommands.h"
#include "editor/ClipboardCommands.h"
#include "editor/DatasetCommands.h"
#include "editor/FindReplaceCommands.h"
#include "editor/IndividCommands.h"
#include "editor/IndividualsCommands.h"
#include "editor/NameCommands.h"
#include "editor/RegionCommands.h"
#include "editor/SequenceCommands.h"
#include "ui/alignment/SimSearchDialog.h"
#include "ui/editor/AnalyseMenu.h"
#include "ui/editor/ContigCommands.h"
#include "ui/editor/EditorColors.h"
#include "ui/editor/ImportGroupsCommand.h"
#include "ui/editor/OpenCommands.h"
#include "ui/editor/ProjectReportWindows.h"
#include "ui/editor/PropertyMenu.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/editor/TranslateUnit.h"
#include "ui/grid/QSeqGrid3.h"
#include "ui/shell/CLXMain.h"
#include "ui/shell/ValuePrompt.h"

QAction* TSeqGridFrm::Item(QMenu* menu, const QString& caption, const char* objectName,
                           std::function<void()> handler, const QKeySequence& key) {
  auto* action = new QAction(caption, this);
  action->setObjectName(objectName);
  if (!key.isEmpty()) action->setShortcut(key);
  // Two editor windows, and the main window, may use the same key: each window's keys work
  // only while focus is inside it.
  action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  menu->addAction(action);
  addAction(action);
  if (!handler) {
    action->setEnabled(false);
    return action;
  }
  connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] {
    if (!MainForm().RefuseIfBusy()) handler();
  });
  return action;
}

QAction* TSeqGridFrm::Command(QMenu* menu, const QString& caption, const char* objectName,
                              std::function<bool(EditorContext&)> command, bool edits,
                              const QKeySequence& key) {
  if (!command) return Item(menu, caption, objectName, {}, key);
  return Item(
      menu, caption, objectName,
      [this, command = std::move(command), edits] { RunCommand(command, edits); }, key);
}

namespace {

std::function<bool(EditorContext&)> Assign(const RegionAssignment& region) {
  return [region](EditorContext& c) { return AssignRegion(c, region) > 0; };
}

std::function<bool(EditorContext&)> OnIndivid(IndividOp op) {
  return [op](EditorContext& c) { return RunOnIndividual(c, op) > 0; };
}

std::function<bool(EditorContext&)> Unassign(RegionRemoval which) {
  return [which](EditorContext& c) { return RemoveRegionAssignments(c, which) > 0; };
}

}  // namespace

void TSeqGridFrm::CreateMenus() {
  CreateNewMenu();
  CreateFileMenu();
  CreateEditMenu();
  CreateViewMenu();
  CreateAlignMenu();
  QMenu* analyse = MenuBar->addMenu("&Analyse");
  analyse->setObjectName("Analyse1");
  FillAnalyseMenu(analyse, *this);
  CreateSequenceMenu();
  CreateDatasetMenu();
  CreateProjectMenu();
  CreateReportsMenu();
  CreateOptionsMenu();
  CreatePopupMenu();
}

void TSeqGridFrm::CreateNewMenu() {
  QMenu* m = MenuBar->addMenu("&New");
  m->setObjectName("SeqNew1");
  Item(m, "New &project", "Newproject1", [this] { MainForm().NewEditorWindow(); });
  Item(m, "New &dataset", "Newdataset1", [this] {
    GetProject().NewDataset();
    SetModified(true);
    UpdateAllBits();
  });
  Item(m, "New &sequence", "Newsequence1", [this] { AddNewSeq(); });
  Command(
      m, "New &individual", "Newindividual1",
      [](EditorContext& c) { return AddNumberedIndividual(c) >= 0; }, false);
  Item(m, "New &group", "Newgroup1", [this] {
    TGroup group;
    group.grpName = "Group" + std::to_string(GetProject().GroupCount() + 1);
    if (GetProject().AddGroup(group) < 0) return;
    SetModified(true);
    UpdateAllBits();
  });
}

void TSeqGridFrm::CreateFileMenu() {
  QMenu* m = MenuBar->addMenu("&File");
  m->setObjectName("SeqFile1");
  Item(m, "&Open...", "LoadSeq1", [this] { Open1Click(); });
  QMenu* filter = m->addMenu("Filter");
  filter->setObjectName("Filter1");
  Item(filter, "Open datasets with names already in the project", "Filter11",
       [this] { FilterOpen(1); });
  Item(filter, "Open all but datasets with names already in the project", "Filter21",
       [this] { FilterOpen(2); });
  Item(m, "&Save...", "SaveSeq1", [this] { Save1Click(); });
  Item(m, "Import groups...", "ImportGroups1", [this] { ImportGroups1Click(*this); });
  m->addSeparator();
  Item(m, "&Close", "CloseSeq1", [this] {
    if (QWidget* frame = parentWidget())
      frame->close();
    else
      close();
  });
}

void TSeqGridFrm::CreateEditMenu() {
  QMenu* m = MenuBar->addMenu("&Edit");
  m->setObjectName("Edit1");
  Item(
      m, "&Undo", "Undo1",
      [this] {
        if (SeqGrid->UndoEdit()) UpdateAllBits();
      },
      QKeySequence("Ctrl+Z"));
  m->addSeparator();
  QAction* copy = Command(m, "&Copy", "Copy1", CopySequences, false, QKeySequence("Ctrl+C"));
  QAction* paste = Command(m, "&Paste", "Paste1", PasteSequences, true, QKeySequence("Ctrl+V"));
  Command(m, "Paste as separate sequence", "Pasteasseparatesequence1", PasteAsSeparateSequences,
          true);
  Item(m, "As text from &windows clipboard", "Astextfromwindowsclipboard1",
       [this] { PasteText1Click(); });
  copy->setToolTip("Copy");
  paste->setToolTip("Paste to cursor");
  ToolBar2->insertAction(ToolBar2->actions().value(0), copy);
  ToolBar2->insertAction(ToolBar2->actions().value(1), paste);
  ToolBar2->insertSeparator(ToolBar2->actions().value(2));
  m->addSeparator();

  QMenu* find = m->addMenu("&Find");
  find->setObjectName("Find1");
  Item(
      find, "&Sequence...", "FindSeq1", [this] { FindSeq1Click(); }, QKeySequence("Ctrl+F"));
  Item(find, "Sequence &name...", "FindSeqName1", [this] { FindSeqName1Click(); });
  Item(find, "&Dataset name...", "FindDataSeq1", [this] { FindDataSeq1Click(); });
  QMenu* replace = m->addMenu("&Replace");
  replace->setObjectName("Replace1");
  Item(replace, "In &sequences...", "replaceSeq1", [this] { ReplaceSeq1Click(); });
  Item(replace, "In sequence &names...", "ReplaceSeqName1", [this] { ReplaceSeqName1Click(); });
  Item(replace, "In &dataset names...", "ReplaceDSName1", [this] { ReplaceDSName1Click(); });
  m->addSeparator();
  Item(m, "&Similarity search...", "Similaritysearch1", [this] { NewSimSearchForm(MainForm()); });
  Item(m, "So&rt by seq. name", "Sortbyseqname1", [this] { SortSeq(); });

  QMenu* add = m->addMenu("&Add");
  add->setObjectName("Add1");
  Command(add, "Prefix seq name with dataset name", "Prefixseqnamewithdatasetname1",
          PrefixSeqNamesWithDatasetName, false);
  Command(add, "Prefix sequence names with @", "Prefixsequencenameswith1", PrefixSeqNamesWithAt,
          false);
  Command(add, "Append sequence names with @", "Appendsequencenameswith1", AppendSeqNamesWithAt,
          false);
  Command(add, "Prefix dataset names with @", "Prefixdatasetnameswith1", PrefixDatasetNamesWithAt,
          false);
  Command(add, "Append dataset names with @", "Appenddatasetnameswith1", AppendDatasetNamesWithAt,
          false);
  Command(add, "Add NNN to make seq length equal", "AddNNN1", PadWithNs, true);
  Command(add, "Add \"---\" to make seq length equal", "AddGaps1", PadWithGapLetters, true);

  QMenu* del = m->addMenu("&Delete");
  del->setObjectName("Delete1");
  Command(
      del, "&All before 1st \"_\" in sequence names", "Allbefore1stinseqnames1",
      [](EditorContext& c) { return CutSequenceNames(c, NameCut::BeforeFirstUnderscore) > 0; },
      false);
  Command(
      del, "All after last \"_\" in sequence names", "Allafterlastinseqnames1",
      [](EditorContext& c) { return CutSequenceNames(c, NameCut::AfterLastUnderscore) > 0; },
      false);
  Command(
      del, "All after 1st space in sequence names", "Allafter1stspaceinseqnames1",
      [](EditorContext& c) { return CutSequenceNames(c, NameCut::AfterFirstSpace) > 0; }, false);
  Command(
      del, "All before 1st \"_\" in dataset names", "Allbefore1stindsnames1",
      [](EditorContext& c) { return CutDatasetNames(c, NameCut::BeforeFirstUnderscore) > 0; },
      false);
  Command(
      del, "All after last \"_\" in dataset names", "Allafterlastindsnames1",
      [](EditorContext& c) { return CutDatasetNames(c, NameCut::AfterLastUnderscore) > 0; }, false);
  Command(del, "&Whitespaces from seq. names", "Whitespacesfromseqnames1", WhitespacesFromSeqNames,
          false);
  Command(del, "Prefix from seq name (before '_')", "Prefixfromseqname1", PrefixFromSeqNames,
          false);
  Command(
      del, "NNNN at the beginning of sequences", "NNNNatthebeginning1",
      [](EditorContext& c) { return DeleteLeadingNs(c) > 0; }, true);
  Command(
      del, "NNNN at the end of sequences", "NNNNattheend1",
      [](EditorContext& c) { return DeleteTrailingNs(c) > 0; }, true);
}

void TSeqGridFrm::CreateViewMenu() {
  QMenu* m = MenuBar->addMenu("&View");
  m->setObjectName("View1");
  Item(m, "&Standard view", "Standardview1", [this] { SetStandardView(false); });
  Item(m, "&Dotted view", "Dottedview1", [this] { SetStandardView(true); });
  Item(m, "Outline", "Outline1", [this] { SeqGrid->ZoomFit(); });
  m->addSeparator();
  Item(m, "Zoom in (&+)", "Zoomin1", [this] { SeqGrid->ZoomIn(); });
  Item(m, "Zoom out (&-)", "Zoomout1", [this] { SeqGrid->ZoomOut(); });
  Item(m, "M&ax zoom", "Maxzoom1", [this] { SeqGrid->ZoomMax(); });
  Item(m, "M&in zoom", "Minzoom1", [this] { SeqGrid->ZoomFit(); });
  m->addSeparator();
  Command(m, "&Hide/show sequences", "Hideshowsequences1", ToggleHideSequences, false);
  Command(m, "Show a&ll sequences", "Showallsequences1", ShowAllSequences, false);
  m->addSeparator();
  Item(m, "Show f&unctional regions...", "Showfunctionalregions1",
       [this] { ShowFunctionalRegions1Click(*this); });
  Item(m, "Show restriction sites...", "Showrestrictionsites1",
       [this] { ShowRestrictionSites1Click(*this); });
}

void TSeqGridFrm::CreateAlignMenu() {
  // Assembly is not part of this build yet. The aligners come from the program's folder or
  // PATH.
  QMenu* m = MenuBar->addMenu("A&lign");
  m->setObjectName("SeqAlign1");
  const auto defaultSetup = [](bool (*command)(EditorContext&, const AlignSetup&)) {
    return [command](EditorContext& c) { return command(c, AlignSetup{}); };
  };
  // The batch commands leave an "aln_" copy of every dataset they align in the output folder.
  const auto batch = [this](bool (*command)(EditorContext&, const AlignSetup&)) {
    return [this, command](EditorContext& c) {
      const std::optional<std::string> folder = OutputFolder();
      if (!folder) return false;
      AlignSetup setup;
      setup.outFolder = *folder;
      return command(c, setup);
    };
  };
  Command(m, "A&lign sequences", "Alignsequences1", defaultSetup(AlignSequences), true,
          QKeySequence("Ctrl+9"));
  Command(m, "Align selected &datasets", "Alignselecteddatasets1", batch(AlignSelectedDatasets),
          true);
  Command(m, "Align datasets from current to end of project", "Aligndatasetsfromcurrent1",
          batch(AlignDatasetsFromCurrent), true);
  Command(m, "Align...", "Align1", AlignTreeGuided, true);
  Command(m, "Global alignment", "Align2", defaultSetup(GlobalAlignment), true);
  Item(m, "Realign too polymorphic datasets", "Realigntoopolymorphic1", [this] {
    const auto value = ValuePrompt::Ask(this, "Realign too polymorphic datasets",
                                        "Enter max nucl. differences per 100 bases", 1, 0, 100);
    if (!value) return;
    RunCommand([v = *value](EditorContext& c) { return RealignPolymorphicDatasets(c, {}, v); },
               true);
  });
  Command(m, "Local alignment", "Local1", LocalAlignment, true);
  Command(m, "Pairwise local alignment", "Pairwiselocalalignment1", PairwiseLocalAlignment, true);
  QMenu* gaps = m->addMenu("Copy gaps");
  gaps->setObjectName("Copygaps1");
  Command(
      gaps, "from current to selected seq", "Copygapsfromcurrent1",
      [](EditorContext& c) { return CopyGapsFromCurrent(c, false); }, true);
  Item(gaps, "from alignment in a file", "Copygapsfromfile1", [this] {
    const QStringList filters = OpenDialogFilters();
    QString selected = filters.front();
    const QString path = QFileDialog::getOpenFileName(this, "Copy gaps from alignment in a file",
                                                      {}, filters.join(";;"), &selected);
    if (path.isEmpty()) return;
    // The first entry detects the format from the content.
    const int code = static_cast<int>(filters.indexOf(selected)) + 1;
    RunCommand([p = path.toStdString(),
                code](EditorContext& c) { return CopyGapsFromFile(c, p, code) > 0; },
               true);
  });
  Command(
      gaps, "copy shiftToRight", "CopyshiftToRight1",
      [](EditorContext& c) { return CopyGapsFromCurrent(c, true); }, true);
  Item(m, "Extend seq with seq from file", "Extendseqwithseqfromfile1", [this] {
    const QString path =
        QFileDialog::getOpenFileName(this, "Extend seq with seq from file", {},
                                     "Fasta (*.fas *.fasta *.fa *.fst *.txt);;All files (*)");
    if (path.isEmpty()) return;
    RunCommand([p = path.toStdString()](EditorContext& c) { return ExtendFromFile(c, p) > 0; },
               true);
  });
  Command(m, "Quickly align left seq ends", "Quicklyalignleftseqends1", AlignLeftEnds, true);
  m->addSeparator();
  Command(m, "Find overlaps", "Findoverlaps1", FindOverlaps, true, QKeySequence("Ctrl+O"));
  // Shown whether or not phred and phrap are installed: without them the command says which
  // is missing and where it was looked for.
  Item(m, "&Assemble contigs", "Assemblecontigs1", [this] {
    if (!SeqGrid->isLocked) Assemblecontigs1Click(*this);
  });
  Command(
      m, "Create consensus", "Createconsensus1",
      [](EditorContext& c) { return CreateConsensus(c) > 0; }, false);
}

void TSeqGridFrm::CreateSequenceMenu() {
  QMenu* m = MenuBar->addMenu("&Sequence");
  m->setObjectName("Sequence1");
  Item(
      m, "Pr&operties", "Properties1", [this] { Properties1Click(*this); }, QKeySequence("Ctrl+P"));
  Item(m, "Set ploidy of all seq", "Setploidyofallseq1", [this] { SetPloidy1Click(); });
  Item(m, "Add &new", "Addnew1", [this] { AddNewSeq(); });
  m->addSeparator();
  CreateRegionMenu(m);
  // The sequence of the current row's individual, in every dataset.
  QMenu* individ = m->addMenu("Seq @ individ in all datasets");
  individ->setObjectName("Seqatindivid1");
  Command(individ, "CDS is in UpperCase", "CDSisinUpperCase1",
          OnIndivid(IndividOp::CdsFromUpperCase), true);
  Command(individ, "Entire seq is CDS", "EntireseqisCDS1", OnIndivid(IndividOp::WholeSeqIsCds),
          true);
  Command(individ, "Copy &from curent to selected seq.", "Copyfromcurenttoselectedseq1",
          OnIndivid(IndividOp::CopyRegionsToSelected), true);
  Command(individ, "Singleton inserts", "IndividSingletoninserts1",
          OnIndivid(IndividOp::SingletonInserts), true);
  Command(individ, "Add gaps to restore ORF", "AddgapstorestoreORF1",
          OnIndivid(IndividOp::RestoreOrf), true);
  Command(individ, "Mask stop codons with \"nnn\"", "Maskstopcodons1",
          OnIndivid(IndividOp::MaskStopCodons), true);

  QMenu* remove = m->addMenu("Remove");
  remove->setObjectName("SeqRemove1");
  Command(
      remove, "Selected sequences", "Selectedsequences1",
      [](EditorContext& c) { return DeleteSelectedSequences(c) > 0; }, true);
  Command(
      remove, "Empty sequences", "Emptysequences1",
      [](EditorContext& c) { return RemoveEmptySequences(c) > 0; }, true);
  Item(remove, "Short sequences...", "Shortsequences1", [this] { ShortSequences1Click(); });
  Command(
      remove, "1st sequence", "N1stsequence1",
      [](EditorContext& c) { return RemoveFirstSequence(c) > 0; }, true);
  remove->addSeparator();
  Command(remove, "Chromatogram", "Chromatogram1", RemoveChromatograms, true);
  Command(remove, "Base &quality values", "Basequalityvalues1", RemoveBaseQualities, true);
  Command(remove, "Gaps from selected sequences", "Gapsfromselectedsequences1",
          RemoveGapsFromSelected, true);
  Command(remove, "Change gap Ns => '-'", "ChangegapNs1", ChangeGapNsToDashes, true);
  Command(
      remove, "Singleton inserts", "Singletoninserts1",
      [](EditorContext& c) { return RemoveSingletonInsertsOfSelected(c) > 0; }, true);
  Command(
      remove, "Gaps shared by all seq in alignment", "Gapssharedbyallseq1",
      [](EditorContext& c) { return RemoveSharedGaps(c) > 0; }, true);

  QMenu* shift = m->addMenu("Shift to...");
  shift->setObjectName("Shiftto1");
  Command(shift, "&Beginning", "ShiftBeginning1", ShiftToBeginning, true);
  Command(shift, "&End", "ShiftEnd1", ShiftToEnd, true);
  Item(shift, "Left (&<)", "ShiftLeft1", [this] { SeqGrid->ShiftSelection(false, false); });
  Item(shift, "Right (&>)", "ShiftRight1", [this] { SeqGrid->ShiftSelection(true, false); });
  Command(shift, "&Cursor", "ShiftCursor1", ShiftToCursor, true);
  Command(shift, "Top of the dataset", "Topofthedataset1", ShiftToTop, true,
          QKeySequence("Ctrl+;"));
  Command(shift, "Bottom of the dataset", "Bottomofthedataset1", ShiftToBottom, true);

  QMenu* type = m->addMenu("Change seq type");
  type->setObjectName("Changeseqtype1");
  Command(
      type, "DNA", "TypeDNA1", [](EditorContext& c) { return SetSequenceType(c, kSeqDna); }, false);
  Command(
      type, "RNA", "TypeRNA1", [](EditorContext& c) { return SetSequenceType(c, kSeqRna); }, false);
  Command(
      type, "Protein", "TypeProtein1",
      [](EditorContext& c) { return SetSequenceType(c, kSeqProtein1); }, false);
  Command(
      type, "SNPs", "TypeSNPs1", [](EditorContext& c) { return SetSequenceType(c, kSeqSnp); },
      false);
  m->addSeparator();

  Command(m, "S&elect / unselect", "Selectunselect1", ToggleSelectCurrent, false,
          QKeySequence("Ctrl+S"));
  Command(m, "Select &all", "Selectall1", SelectAllRows, false, QKeySequence("Ctrl+A"));
  Command(m, "U&nselect all", "Unselectall1", UnselectAllRows, false, QKeySequence("Ctrl+U"));
  Command(m, "&Invert selection", "Invertselection1", InvertRowSelection, false);
  Command(m, "Select from current to last seq", "Selectfromcurrenttolast1", SelectFromCurrentToLast,
          false);
  m->addSeparator();
  Command(m, "&Reverse", "Reverse1", ReverseSequences, true);
  Command(m, "Co&mplement", "Complement1", ComplementSequences, true);
  Command(m, "Reverse-Comp&lement", "ReverseComplement1", ReverseComplementSequences, true,
          QKeySequence("Ctrl+R"));
  Command(m, "Rev.-Compl. alignment", "RevComplalignment1", ReverseComplementAlignment, true);
  Command(m, "To &uppercase", "Touppercase1", UpperCaseSequences, true);
  Command(m, "To &lowercase", "Tolowercase1", LowerCaseSequences, true);
  m->addSeparator();
  Item(
      m, "&Translate...", "Translate1", [this] { Translate1Click(*this); }, QKeySequence("Ctrl+T"));
  Item(
      m, "Show contig", "Showcontig1", [this] { Showcontig1Click(*this); }, QKeySequence("Ctrl+K"));
  Command(m, "Assign base quality", "Assignbasequality1", AssignBaseQuality, false);
  Item(m, "&Resolve ambiguous sites", "Resolveambiguoussites1",
       [this] { Resolveambiguoussites1Click(); });
}

void TSeqGridFrm::CreateRegionMenu(QMenu* sequence) {
  QMenu* m = sequence->addMenu("Functional regions");
  m->setObjectName("Functionalregions1");
  QMenu* cds = m->addMenu("Assign coding (CDS)");
  cds->setObjectName("AssignCDS1");
  Command(cds, "&1st codon position", "CDS1stcodonposition1", Assign(kAssignCds1), true);
  Command(cds, "&2nd codon position", "CDS2ndcodonposition1", Assign(kAssignCds2), true);
  Command(cds, "&3rd codon position", "CDS3rdcodonposition1", Assign(kAssignCds3), true);
  Command(m, "Assign &non-coding region", "Assignnoncodingregion1", Assign(kAssignNoncoding), true);
  QMenu* other = m->addMenu("Assign other region");
  other->setObjectName("Assignotherregion1");
  Command(other, "&Intron", "AssignIntron1", Assign(kAssignIntron), true);
  QMenu* orf = other->addMenu("&ORF");
  orf->setObjectName("AssignORF1");
  Command(orf, "1st codon position", "ORF1st1", Assign(kAssignOrf1), true);
  Command(orf, "2nd codon position", "ORF2nd1", Assign(kAssignOrf2), true);
  Command(orf, "3rd codon position", "ORF3rd1", Assign(kAssignOrf3), true);
  QMenu* exon = other->addMenu("&Exon");
  exon->setObjectName("AssignExon1");
  Command(exon, "1st codon position", "Exon1st1", Assign(kAssignExon1), true);
  Command(exon, "2nd codon position", "Exon2nd1", Assign(kAssignExon2), true);
  Command(exon, "3rd codon position", "Exon3rd1", Assign(kAssignExon3), true);
  Command(other, "Gene", "AssignGene1", Assign(kAssignGene), true);
  Command(other, "&Vector", "AssignVector1", Assign(kAssignVector), true);
  Command(other, "&Repeat", "AssignRepeat1", Assign(kAssignRepeat), true);
  Command(other, "&Heterozyg. SNP", "AssignHetSNP1", Assign(kAssignHetSnp), true);
  Command(other, "Heterozyg. indel", "AssignHetIndel1", Assign(kAssignHetIndel), true);
  Command(other, "Misc. function", "AssignMisc1", Assign(kAssignMisc), true);
  Item(other, "&SNP", "AssignSNP1", [this] { AssignSNP1Click(); });
  Item(other, "Indel or &gap", "AssignIndel1", [this] { AssignIndel1Click(); });

  QMenu* unassign = m->addMenu("&Remove region assignment");
  unassign->setObjectName("Removeregionassignment1");
  Command(unassign, "All regions", "UnassignAll1", Unassign(RegionRemoval::All), true);
  Command(unassign, "Exons", "UnassignExons1", Unassign(RegionRemoval::Exons), true);
  Command(unassign, "Introns", "UnassignIntrons1", Unassign(RegionRemoval::Introns), true);
  Command(unassign, "Genes", "UnassignGenes1", Unassign(RegionRemoval::Genes), true);
  Command(unassign, "CDS", "UnassignCDS1", Unassign(RegionRemoval::Cds), true);
  Command(unassign, "Misc", "UnassignMisc1", Unassign(RegionRemoval::Misc), true);

  QMenu* remove = m->addMenu("Remove");
  remove->setObjectName("RegionRemove1");
  const auto splice = [this](int kind, bool allBut) {
    return [this, kind, allBut] { SpliceOutFReg(kind, allBut); };
  };
  Item(remove, "Delete all non-coding", "Deleteallnoncoding1", splice(kRegCds, true));
  Item(remove, "Delete all coding", "Deleteallcoding1", splice(kRegCds, false));
  QMenu* other2 = remove->addMenu("Other");
  other2->setObjectName("RemoveOther1");
  Item(other2, "Delete &CDS", "DeleteCDS1", splice(kRegCds, false));
  Item(other2, "Delete &ORF", "DeleteORF1", splice(kRegOrf, false));
  Item(other2, "Delete &exons", "Deleteexons1", splice(kRegExon, false));
  Item(other2, "Delete &non-coding", "Deletenoncoding1", splice(kRegNoncoding, false));
  Item(other2, "Delete &introns", "Deleteintrons1", splice(kRegIntron, false));
  Item(other2, "Delete rRNA", "DeleterRNA1", splice(kRegRRna, false));
  Item(other2, "Delete tRNA", "DeletetRNA1", splice(kRegTRna, false));
  Item(other2, "Delete &vector", "Deletevector1", splice(kRegVector, false));
  Item(other2, "Delete &repeats", "Deleterepeats1", splice(kRegRepeat, false));
  Item(other2, "Delete &misc. reg.", "Deletemiscreg1", splice(kRegMisc, false));
  Item(other2, "Delete unknown reg.", "Deleteunknownreg1", splice(kRegUnknown, false));

  m->addSeparator();
  Command(
      m, "Splice CDS", "SpliceCDS1", [](EditorContext& c) { return SpliceRegions(c, kRegCds); },
      true);
  Command(
      m, "Splice exons", "Spliceexons1",
      [](EditorContext& c) { return SpliceRegions(c, kRegExon); }, true);
  Command(m, "Merge overlapping", "Mergeoverlapping1", MergeOverlappingRegions, true);
  Command(
      m, "Merge CDS split by NNNN", "MergeCDSsplitbyNNNN1",
      [](EditorContext& c) { return MergeCdsSplitByNs(c) > 0; }, true);
  Command(
      m, "Turn all CDSs ===>", "TurnallCDSs1",
      [](EditorContext& c) { return TurnAllCdsForward(c) > 0; }, true);
}

void TSeqGridFrm::CreateDatasetMenu() {
  QMenu* m = MenuBar->addMenu("&Dataset");
  m->setObjectName("Dataset1");
  Item(m, "Dataset properties...", "Datasetproperties1",
       [this] { DatasetProperties1Click(*this); });
  Item(m, "Datasets...", "Datasets1", [this] { Datasets1Click(*this); });
  Item(m, "Add &new", "DatasetAddnew1", [this] {
    GetProject().NewDataset();
    SetModified(true);
    UpdateAllBits();
  });
  m->addSeparator();
  Command(m, "Select all", "DatasetSelectall1", SelectAllDatasets, false);
  Command(m, "Unselect all", "DatasetUnselectall1", UnselectAllDatasets, false);
  Command(m, "Invert selection", "DatasetInvertselection1", InvertDatasetSelection, false);
  m->addSeparator();
  QMenu* remove = m->addMenu("Remove");
  remove->setObjectName("DatasetRemove1");
  Command(
      remove, "Remove current dataset", "Removecurrentdataset1",
      [](EditorContext& c) { return RemoveCurrentDataset(c) > 0; }, false);
  Command(
      remove, "Remove all from current to end", "Removeallfromcurrenttoend1",
      [](EditorContext& c) { return RemoveDatasetsFromCurrentToEnd(c) > 0; }, false);
  Command(
      remove, "Remove all from current to start", "Removeallfromcurrenttostart1",
      [](EditorContext& c) { return RemoveDatasetsFromCurrentToStart(c) > 0; }, false);
  m->addSeparator();
  Item(
      m, "&Bootstrap", "Bootstrap1", [this] { RunAnalyseItem(BootstrapItem(), *this); },
      QKeySequence("Ctrl+B"));
  Command(
      m, "Split into separate datasets", "Splitintoseparatedatasets1",
      [](EditorContext& c) { return SplitIntoDatasets(c) > 0; }, false);
  Item(m, "SaveConcat4Arlequin", "SaveConcat4Arlequin1", [this] {
    constexpr int kArlequinEntry = 12;
    const QString chosen = QFileDialog::getSaveFileName(this, "Save As", {},
                                                        SaveDialogFilters().at(kArlequinEntry - 1));
    if (!chosen.isEmpty()) (void)SaveWindowAs(MainForm(), *this, kArlequinEntry, chosen);
  });
  Command(
      m, "Reconstruct haplotypes", "Reconstructhaplotypes1",
      [](EditorContext& c) { return ReconstructHaplotypesCommand(c) >= 0; }, false);
}

void TSeqGridFrm::CreateProjectMenu() {
  QMenu* m = MenuBar->addMenu("&Project");
  m->setObjectName("Project1");
  Item(m, "Project properties...", "Projectproperties1",
       [this] { ProjectProperties1Click(*this); });
  Item(m, "&Concatenate seq...", "Concatenateseq1", [this] { Concatenateseq1Click(); });
  Item(m, "&Filter sites...", "Filtersites1", [this] { RunAnalyseItem(FilterSitesItem(), *this); });
  Item(m, "Split long sequences", "Splitlongsequences1", [this] { Splitlongsequences1Click(); });
  Item(m, "Create sub-samples...", "Createsubsamples1",
       [this] { RunAnalyseItem(SubsamplesItem(), *this); });
  m->addSeparator();
  QMenu* remove = m->addMenu("Remove from project");
  remove->setObjectName("Removefromproject1");
  Item(remove, "Short sequences...", "ProjShortsequences1", [this] { ProjShortSequences1Click(); });
  Item(remove, "Long sequences...", "ProjLongsequences1", [this] { ProjLongSequences1Click(); });
  Item(remove, "Datasets with too few seq...", "Datasetswithtoofewseq1",
       [this] { DatasetsWithFewSeq1Click(); });
  Item(remove, "Datasets with too many seq...", "Datasetswithtoomanyseq1",
       [this] { DatasetsWithManySeq1Click(); });
  Command(
      remove, "All datasets after current", "Alldatasetsaftercurrent1",
      [](EditorContext& c) { return RemoveDatasetsAfterCurrent(c) > 0; }, false);
  Command(
      remove, "All datasets before current", "Alldatasetsbeforecurrent1",
      [](EditorContext& c) { return RemoveDatasetsBeforeCurrent(c) > 0; }, false);
  remove->addSeparator();
  Command(
      remove, "Functional region assignments", "Functionalregionassignments1",
      [](EditorContext& c) { return RemoveAnnotationsInProject(c, AnnotationRemoval::All); }, true);
  Command(
      remove, "All coding (CDS) regions", "AllcodingCDSregions1",
      [](EditorContext& c) { return RemoveAnnotationsInProject(c, AnnotationRemoval::Coding); },
      true);
  Command(
      remove, "All but coding regions", "Allbutcodingregions1",
      [](EditorContext& c) { return RemoveAnnotationsInProject(c, AnnotationRemoval::NonCoding); },
      true);
  Command(
      remove, "Gaps shared by all seq in alignment", "ProjGapssharedbyallseq1",
      [](EditorContext& c) { return RemoveSharedGapsInProject(c) > 0; }, true);
  Command(remove, "Cut ends to make seq equal length", "Cutendstomakeseqequallength1",
          CutEndsToEqualLength, true);
  Command(
      remove, "Leave 1seq per individ per dataset", "Leave1seqperindivid1",
      [](EditorContext& c) {
        auto rng = PlatformRandom::FromClock();
        return LeaveOneSequencePerIndivid(c, rng) > 0;
      },
      false);
  Command(
      remove, "Leave 1seq per group per dataset", "Leave1seqpergroup1",
      [](EditorContext& c) {
        auto rng = PlatformRandom::FromClock();
        return LeaveOneSequencePerGroup(c, rng) > 0;
      },
      false);
  m->addSeparator();
  Item(m, "RevCompl all to +Forward", "RevComplalltoForward1",
       [this] { RevComplAllToForward1Click(); });
  Command(m, "Sort seq by name in all datasets", "Sortseqbynameinalldatasets1",
          SortAllDatasetsByName, false);
  QMenu* consensus = m->addMenu("Create consensus for all datasets");
  consensus->setObjectName("Createconsensusforalldatasets1");
  Command(
      consensus, "In the same project", "Consensusinthesameproject1",
      [](EditorContext& c) { return ConsensusInSameProject(c) >= 0; }, false);
  Item(consensus, "In a new project", "Consensusinanewproject1",
       [this] { Inthenewproject1Click(*this); });
}

void TSeqGridFrm::CreateReportsMenu() {
  QMenu* m = MenuBar->addMenu("&Reports");
  m->setObjectName("Reports1");
  Item(m, "Datasets report", "Datasetsreport1",
       [this] { ShowProjectReport(*this, ProjectReport::Datasets); });
  Item(m, "Individuals report", "Individualsreport1",
       [this] { ShowProjectReport(*this, ProjectReport::Individuals); });
  Item(m, "Sequences report", "Sequencesreport1",
       [this] { ShowProjectReport(*this, ProjectReport::Sequences); });
  Item(m, "Functional regions", "Functionalregionsreport1", [this] { Functionalregions3Click(); });
  Item(m, "Coding regions", "Codingregionsreport1", [this] { CDS2Click(); });
  Item(m, "SNPs report", "SNPsreport1", [this] { SNPsreport1Click(); });
}

void TSeqGridFrm::CreateOptionsMenu() {
  QMenu* m = MenuBar->addMenu("&Options");
  m->setObjectName("SeqOptions1");
  QMenu* colors = m->addMenu("&Colors");
  colors->setObjectName("SeqColors1");
  for (const EditorColorItem& item : EditorColorItems()) {
    const int slot = item.slot;
    const QByteArray name = QString("EditorColor%1").arg(slot).toLatin1();
    Item(colors, item.caption, name.constData(), [this, slot] { ColorItemClick(slot); });
  }
  Item(m, "&Font...", "Font1", [this] { Font1Click(); });
}
