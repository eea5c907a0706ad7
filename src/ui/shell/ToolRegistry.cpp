// SPDX-License-Identifier: GPL-3.0-or-later
// Captions of the tool window kinds.
#include "ui/shell/ToolRegistry.h"

const char* ToolKindCaption(ToolKind kind) {
  switch (kind) {
    case ToolKind::NTestsDialog:
      return "Neutrality tests";
    case ToolKind::DataSamplingForm:
      return "Create sub-samples of the dataset";
    case ToolKind::BstrapDB:
      return "Generate bootstrap replicates";
    case ToolKind::CoalSimDialog:
      return "Coalescent simulations";
    case ToolKind::GCContentForm:
      return "Composition analysis";
    case ToolKind::DotPlotForm:
      return "Dotplot viewer";
    case ToolKind::FilterSitesForm:
      return "Filter sites";
    case ToolKind::ShowPolymSites:
      return "Find polymorphic sites";
    case ToolKind::NJTreeFrm:
      return "Neighbour-joining tree";
    case ToolKind::ShowFRegForm:
      return "Show functional regions";
    case ToolKind::RepForm:
      return "Report";
    case ToolKind::ConcatDialog:
      return "Concatenate sequences in the project";
    case ToolKind::TabReport:
      return "Table report";
    case ToolKind::RenzymForm:
      return "Restriction enzymes";
    case ToolKind::SeqPlanerForm:
      return "Sequencing plate planer";
    case ToolKind::GraphForm:
      return "Plot view";
    case ToolKind::SimSearchForm:
      return "Similarity search";
    case ToolKind::TranslateForm:
      return "Translate sequences";
    case ToolKind::TreeViewForm:
      return "View Tree";
    case ToolKind::DNApolymDbox:
      return "Analyse DNA polymorphism";
    case ToolKind::LDform:
      return "Analyse LD";
    case ToolKind::PopSubdivDbox:
      return "Analyse population subdivision";
    case ToolKind::RenameForm:
      return "Rename";
    case ToolKind::Count:
      break;
  }
  return "";
}
