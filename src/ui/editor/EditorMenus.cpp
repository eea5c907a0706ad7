// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window's menus. An item without a handler stands for a window or command that
// does not exist yet: it is shown disabled, never as a silent no-op.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "editor/ClipboardCommands.h"
#include "ui/editor/AnalyseMenu.h"
#include "ui/editor/EditorColors.h"
#include "ui/editor/SeqGridFrmUnit.h"
#include "ui/grid/QSeqGrid3.h"
#include "ui/shell/CLXMain.h"

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
  Item(m, "New &individual", "Newindividual1");
  Item(m, "New &group", "Newgroup1");
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
  QAction* copy = Command(m, "&Copy", "Copy1", {}, false, QKeySequence("Ctrl+C"));
  QAction* paste = Command(m, "&Paste", "Paste1", {}, true, QKeySequence("Ctrl+V"));
  Command(m, "Paste as separate sequence", "Pasteasseparatesequence1", {}, true);
  Item(m, "As text from &windows clipboard", "Astextfromwindowsclipboard1");
  copy->setToolTip("Copy");
  paste->setToolTip("Paste to cursor");
  ToolBar2->insertAction(ToolBar2->actions().value(0), copy);
  ToolBar2->insertAction(ToolBar2->actions().value(1), paste);
  ToolBar2->insertSeparator(ToolBar2->actions().value(2));
  m->addSeparator();

  QMenu* find = m->addMenu("&Find");
  find->setObjectName("Find1");
  Item(find, "&Sequence...", "FindSeq1", {}, QKeySequence("Ctrl+F"));
  Item(find, "Sequence &name...", "FindSeqName1");
  Item(find, "&Dataset name...", "FindDataSeq1");
  QMenu* replace = m->addMenu("&Replace");
  replace->setObjectName("Replace1");
  Item(replace, "In &sequences...", "replaceSeq1");
  Item(replace, "In sequence &names...", "ReplaceSeqName1");
  Item(replace, "In &dataset names...", "ReplaceDSName1");
  m->addSeparator();
  Item(m, "&Similarity search...", "Similaritysearch1");
  Item(m, "So&rt by seq. name", "Sortbyseqname1", [this] { SortSeq(); });

  QMenu* add = m->addMenu("&Add");
  add->setObjectName("Add1");
  Item(add, "Prefix seq name with dataset name", "Prefixseqnamewithdatasetname1");
  Item(add, "Prefix sequence names with @", "Prefixsequencenameswith1");
  Item(add, "Append sequence names with @", "Appendsequencenameswith1");
  Item(add, "Prefix dataset names with @", "Prefixdatasetnameswith1");
  Item(add, "Append dataset names with @", "Appenddatasetnameswith1");
  Item(add, "Add NNN to make seq length equal", "AddNNN1");
  Item(add, "Add \"---\" to make seq length equal", "AddGaps1");

  QMenu* del = m->addMenu("&Delete");
  del->setObjectName("Delete1");
  Item(del, "&All before 1st \"_\" in sequence names", "Allbefore1stinseqnames1");
  Item(del, "All after last \"_\" in sequence names", "Allafterlastinseqnames1");
  Item(del, "All after 1st space in sequence names", "Allafter1stspaceinseqnames1");
  Item(del, "All before 1st \"_\" in dataset names", "Allbefore1stindsnames1");
  Item(del, "All after last \"_\" in dataset names", "Allafterlastindsnames1");
  Item(del, "&Whitespaces from seq. names", "Whitespacesfromseqnames1");
  Item(del, "Prefix from seq name (before '_')", "Prefixfromseqname1");
  Item(del, "NNNN at the beginning of sequences", "NNNNatthebeginning1");
  Item(del, "NNNN at the end of sequences", "NNNNattheend1");
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
  Item(m, "&Hide/show sequences", "Hideshowsequences1");
  Item(m, "Show a&ll sequences", "Showallsequences1");
  m->addSeparator();
  Item(m, "Show f&unctional regions...", "Showfunctionalregions1");
  Item(m, "Show restriction sites...", "Showrestrictionsites1");
}

void TSeqGridFrm::CreateAlignMenu() {
  // Dataset alignment, gap copying and assembly are not part of this build yet.
  QMenu* m = MenuBar->addMenu("A&lign");
  m->setObjectName("SeqAlign1");
  Item(m, "A&lign sequences", "Alignsequences1", {}, QKeySequence("Ctrl+9"));
  Item(m, "Align selected &datasets", "Alignselecteddatasets1");
  Item(m, "Align datasets from current to end of project", "Aligndatasetsfromcurrent1");
  Item(m, "Realign too polymorphic datasets", "Realigntoopolymorphic1");
  QMenu* gaps = m->addMenu("Copy gaps");
  gaps->setObjectName("Copygaps1");
  Item(gaps, "from current to selected seq", "Copygapsfromcurrent1");
  Item(gaps, "from alignment in a file", "Copygapsfromfile1");
  Item(gaps, "copy shiftToRight", "CopyshiftToRight1");
  Item(m, "Extend seq with seq from file", "Extendseqwithseqfromfile1");
  Item(m, "Quickly align left seq ends", "Quicklyalignleftseqends1");
  m->addSeparator();
  Item(m, "Find overlaps", "Findoverlaps1", {}, QKeySequence("Ctrl+O"));
  Item(m, "Create consensus", "Createconsensus1");
}

void TSeqGridFrm::CreateSequenceMenu() {
  QMenu* m = MenuBar->addMenu("&Sequence");
  m->setObjectName("Sequence1");
  Item(m, "Pr&operties", "Properties1", {}, QKeySequence("Ctrl+P"));
  Item(m, "Set ploidy of all seq", "Setploidyofallseq1");
  Item(m, "Add &new", "Addnew1", [this] { AddNewSeq(); });
  m->addSeparator();
  CreateRegionMenu(m);

  QMenu* remove = m->addMenu("Remove");
  remove->setObjectName("SeqRemove1");
  Item(remove, "Selected sequences", "Selectedsequences1");
  Item(remove, "Empty sequences", "Emptysequences1");
  Item(remove, "Short sequences...", "Shortsequences1");
  Item(remove, "1st sequence", "N1stsequence1");
  remove->addSeparator();
  Item(remove, "Chromatogram", "Chromatogram1");
  Item(remove, "Base &quality values", "Basequalityvalues1");
  Item(remove, "Gaps from selected sequences", "Gapsfromselectedsequences1");
  Item(remove, "Change gap Ns => '-'", "ChangegapNs1");
  Item(remove, "Singleton inserts", "Singletoninserts1");
  Item(remove, "Gaps shared by all seq in alignment", "Gapssharedbyallseq1");

  QMenu* shift = m->addMenu("Shift to...");
  shift->setObjectName("Shiftto1");
  Item(shift, "&Beginning", "ShiftBeginning1");
  Item(shift, "&End", "ShiftEnd1");
  Item(shift, "Left (&<)", "ShiftLeft1", [this] { SeqGrid->ShiftSelection(false, false); });
  Item(shift, "Right (&>)", "ShiftRight1", [this] { SeqGrid->ShiftSelection(true, false); });
  Item(shift, "&Cursor", "ShiftCursor1");
  Item(shift, "Top of the dataset", "Topofthedataset1", {}, QKeySequence("Ctrl+;"));
  Item(shift, "Bottom of the dataset", "Bottomofthedataset1");

  QMenu* type = m->addMenu("Change seq type");
  type->setObjectName("Changeseqtype1");
  Item(type, "DNA", "TypeDNA1");
  Item(type, "RNA", "TypeRNA1");
  Item(type, "Protein", "TypeProtein1");
  Item(type, "SNPs", "TypeSNPs1");
  m->addSeparator();

  Item(m, "S&elect / unselect", "Selectunselect1", {}, QKeySequence("Ctrl+S"));
  Item(m, "Select &all", "Selectall1", {}, QKeySequence("Ctrl+A"));
  Item(m, "U&nselect all", "Unselectall1", {}, QKeySequence("Ctrl+U"));
  Item(m, "&Invert selection", "Invertselection1");
  Item(m, "Select from current to last seq", "Selectfromcurrenttolast1");
  m->addSeparator();
  Item(m, "&Reverse", "Reverse1");
  Item(m, "Co&mplement", "Complement1");
  Item(m, "Reverse-Comp&lement", "ReverseComplement1", {}, QKeySequence("Ctrl+R"));
  Item(m, "Rev.-Compl. alignment", "RevComplalignment1");
  Item(m, "To &uppercase", "Touppercase1");
  Item(m, "To &lowercase", "Tolowercase1");
  m->addSeparator();
  Item(m, "&Translate...", "Translate1", {}, QKeySequence("Ctrl+T"));
  Item(m, "Show contig", "Showcontig1", {}, QKeySequence("Ctrl+K"));
  Item(m, "Assign base quality", "Assignbasequality1");
  Item(m, "&Resolve ambiguous sites", "Resolveambiguoussites1");
}

void TSeqGridFrm::CreateRegionMenu(QMenu* sequence) {
  QMenu* m = sequence->addMenu("Functional regions");
  m->setObjectName("Functionalregions1");
  QMenu* cds = m->addMenu("Assign coding (CDS)");
  cds->setObjectName("AssignCDS1");
  Item(cds, "&1st codon position", "CDS1stcodonposition1");
  Item(cds, "&2nd codon position", "CDS2ndcodonposition1");
  Item(cds, "&3rd codon position", "CDS3rdcodonposition1");
  Item(m, "Assign &non-coding region", "Assignnoncodingregion1");
  QMenu* other = m->addMenu("Assign other region");
  other->setObjectName("Assignotherregion1");
  Item(other, "&Intron", "AssignIntron1");
  QMenu* orf = other->addMenu("&ORF");
  orf->setObjectName("AssignORF1");
  Item(orf, "1st codon position", "ORF1st1");
  Item(orf, "2nd codon position", "ORF2nd1");
  Item(orf, "3rd codon position", "ORF3rd1");
  QMenu* exon = other->addMenu("&Exon");
  exon->setObjectName("AssignExon1");
  Item(exon, "1st codon position", "Exon1st1");
  Item(exon, "2nd codon position", "Exon2nd1");
  Item(exon, "3rd codon position", "Exon3rd1");
  Item(other, "Gene", "AssignGene1");
  Item(other, "&Vector", "AssignVector1");
  Item(other, "&Repeat", "AssignRepeat1");
  Item(other, "&Heterozyg. SNP", "AssignHetSNP1");
  Item(other, "Heterozyg. indel", "AssignHetIndel1");
  Item(other, "Misc. function", "AssignMisc1");
  Item(other, "&SNP", "AssignSNP1");
  Item(other, "Indel or &gap", "AssignIndel1");

  QMenu* unassign = m->addMenu("&Remove region assignment");
  unassign->setObjectName("Removeregionassignment1");
  Item(unassign, "All regions", "UnassignAll1");
  Item(unassign, "Exons", "UnassignExons1");
  Item(unassign, "Introns", "UnassignIntrons1");
  Item(unassign, "Genes", "UnassignGenes1");
  Item(unassign, "CDS", "UnassignCDS1");
  Item(unassign, "Misc", "UnassignMisc1");

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
  Item(m, "Splice CDS", "SpliceCDS1");
  Item(m, "Splice exons", "Spliceexons1");
  Item(m, "Merge overlapping", "Mergeoverlapping1");
  Item(m, "Merge CDS split by NNNN", "MergeCDSsplitbyNNNN1");
  Item(m, "Turn all CDSs ===>", "TurnallCDSs1");
  m->addSeparator();
  Item(m, "CDS is in UpperCase", "CDSisinUpperCase1");
  Item(m, "Entire seq is CDS", "EntireseqisCDS1");
  Item(m, "Copy &from curent to selected seq.", "Copyfromcurenttoselectedseq1");
  Item(m, "Add gaps to restore ORF", "AddgapstorestoreORF1");
  Item(m, "Mask stop codons with \"nnn\"", "Maskstopcodons1");
}

void TSeqGridFrm::CreateDatasetMenu() {
  QMenu* m = MenuBar->addMenu("&Dataset");
  m->setObjectName("Dataset1");
  Item(m, "Dataset properties...", "Datasetproperties1");
  Item(m, "Datasets...", "Datasets1");
  Item(m, "Add &new", "DatasetAddnew1", [this] {
    GetProject().NewDataset();
    SetModified(true);
    UpdateAllBits();
  });
  m->addSeparator();
  Item(m, "Select all", "DatasetSelectall1");
  Item(m, "Unselect all", "DatasetUnselectall1");
  Item(m, "Invert selection", "DatasetInvertselection1");
  m->addSeparator();
  QMenu* remove = m->addMenu("Remove");
  remove->setObjectName("DatasetRemove1");
  Item(remove, "Remove current dataset", "Removecurrentdataset1");
  Item(remove, "Remove all from current to end", "Removeallfromcurrenttoend1");
  Item(remove, "Remove all from current to start", "Removeallfromcurrenttostart1");
  m->addSeparator();
  Item(m, "&Bootstrap", "Bootstrap1", {}, QKeySequence("Ctrl+B"));
  Item(m, "Split into separate datasets", "Splitintoseparatedatasets1");
  Item(m, "SaveConcat4Arlequin", "SaveConcat4Arlequin1");
  Item(m, "Reconstruct haplotypes", "Reconstructhaplotypes1");
}

void TSeqGridFrm::CreateProjectMenu() {
  QMenu* m = MenuBar->addMenu("&Project");
  m->setObjectName("Project1");
  Item(m, "Project properties...", "Projectproperties1");
  Item(m, "&Concatenate seq...", "Concatenateseq1");
  Item(m, "&Filter sites...", "Filtersites1");
  Item(m, "Split long sequences", "Splitlongsequences1");
  Item(m, "Create sub-samples...", "Createsubsamples1");
  m->addSeparator();
  QMenu* remove = m->addMenu("Remove from project");
  remove->setObjectName("Removefromproject1");
  Item(remove, "Short sequences...", "ProjShortsequences1");
  Item(remove, "Long sequences...", "ProjLongsequences1");
  Item(remove, "Datasets with too few seq...", "Datasetswithtoofewseq1");
  Item(remove, "Datasets with too many seq...", "Datasetswithtoomanyseq1");
  Item(remove, "All datasets after current", "Alldatasetsaftercurrent1");
  Item(remove, "All datasets before current", "Alldatasetsbeforecurrent1");
  remove->addSeparator();
  Item(remove, "Functional region assignments", "Functionalregionassignments1");
  Item(remove, "All coding (CDS) regions", "AllcodingCDSregions1");
  Item(remove, "All but coding regions", "Allbutcodingregions1");
  Item(remove, "Gaps shared by all seq in alignment", "ProjGapssharedbyallseq1");
  Item(remove, "Cut ends to make seq equal length", "Cutendstomakeseqequallength1");
  Item(remove, "Leave 1seq per individ per dataset", "Leave1seqperindivid1");
  Item(remove, "Leave 1seq per group per dataset", "Leave1seqpergroup1");
  m->addSeparator();
  Item(m, "RevCompl all to +Forward", "RevComplalltoForward1");
  Item(m, "Sort seq by name in all datasets", "Sortseqbynameinalldatasets1");
  QMenu* consensus = m->addMenu("Create consensus for all datasets");
  consensus->setObjectName("Createconsensusforalldatasets1");
  Item(consensus, "In the same project", "Consensusinthesameproject1");
  Item(consensus, "In a new project", "Consensusinanewproject1");
}

void TSeqGridFrm::CreateReportsMenu() {
  QMenu* m = MenuBar->addMenu("&Reports");
  m->setObjectName("Reports1");
  Item(m, "Datasets report", "Datasetsreport1");
  Item(m, "Individuals report", "Individualsreport1");
  Item(m, "Sequences report", "Sequencesreport1");
  Item(m, "Functional regions", "Functionalregionsreport1");
  Item(m, "Coding regions", "Codingregionsreport1");
  Item(m, "SNPs report", "SNPsreport1");
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
