// SPDX-License-Identifier: GPL-3.0-or-later
// The open and save filter lists, in the order the dialogs show them.
#include "io/FormatTables.h"

#include <array>

namespace {

constexpr std::array<OpenFilter, kLastFormatCode> kOpenFilters{{
    {1, "Auto (*.*)", "*"},
    {2, "Nodrix data file (*.df/*.psf)", "*.df; *.psf"},
    {3, "MultiFasta (*.*)", "*.*"},
    {4, "Nexus (*.nex)", "*.nex"},
    {5, "GDE/Mega (*.gde/*.meg)", "*.gde; *.meg"},
    {6, "Fasta+GFF+Qual (*.*)", "*.*"},
    {7, "NBRF/PIR (*.nbrf/*.pir)", "*.pir; *.nbrf"},
    {8, "text files (*.txt)", "*.txt"},
    {9, "GenBank (*.gb)", "*.gb"},
    {10, "EMBL (*.emb)", "*.emb"},
    {11, "ABI (*.ab1)", "*.ab1"},
    {12, "SCF (*scf)", "*.scf"},
    {13, "Staden EXP (*.exp)", "*.exp"},
    {14, "Staden-assembled contigs (*.contigs)", "*.contigs"},
    {15, "Rescue corrupted *.psf or *.df file", "*.psf; *.df"},
    {16, "CSV file, genes in cols, individs in rows (*.csv)", "*.csv"},
    {17, "Output of Hudsons' ms", "*.ms"},
    {18, "Clustal alignment (*.aln)", "*.aln"},
    {19, "Phred (*.phd)", "*.phd; *.phd.1; *.phd.2"},
    {20, "Blast XML output [option -m7] (*.xml)", "*.xml"},
    {21, "Tab-delim sequences (Individs in cols) (*.*) ", "*.*"},
    {22, "Text file with dataset names (*.txt)", "*.txt"},
    {23, "Fasta; only seq with names = dataset names; ignore the rest (*.*)", "*.*"},
    {24, "Fasta; Each seq in separate dataset", "*.*"},
    {25, "Contig assembly (*.ace)", "*.ace"},
    {26, "SAM file", "*.*"},
    {27, "Maq mapview output (*.*)", "*.*"},
    {28, "Illumina Eland export (*.*)", "*.*"},
    {29, "Map Illumina reads to reference seq (*.*)", "*.*"},
    {30, "General feature format (*.gff; *.gff3)", "*.gff; *.gff3"},
    {31, "fastPhase output (*.out)", "*.out"},
    {32, "SNP table (*.csv)", "*.csv"},
    {33, "SNP table2 (*.csv)", "*.csv"},
    {34, "FastQ (*.fq)", "*.fq"},
    {35, "Phylip (*.phy)", "*.phy; *.phylip"},
    {36, "SDI snps (*.sdi)", "*.sdi"},
}};

using S = SaveScope;
constexpr std::array<SaveFilter, 25> kSaveFilters{{
    {1, "Nodrix data file (*.df)", "", S::Project, true},
    {2, "Nexus (*.nex)", ".nex", S::Dataset, false},
    {3, "Phylip (*.phy)", ".phy", S::Dataset, false},
    {4, "Mega (*.meg)", ".meg", S::Dataset, false},
    {5, "Fasta (*.fasta)", ".fasta", S::Dataset, false},
    {6, "Nodrix v2 (*.psf)", ".psf", S::Dataset, false},
    {7, "text file (*.txt)", "", S::Sequence, false},
    {8, "GenBank (*.gb)", "", S::Sequence, false},
    {9, "EMBL (*.emb)", "", S::Sequence, false},
    {10, "SCF (*.scf)", "", S::Sequence, false},
    {11, "Staden EXP (*.exp)", "", S::Sequence, false},
    {12, "Arlequin project file (*.arp)", ".arp", S::Project, true},
    {13, "Pol.sites ms-like style (*.ms)", ".ms", S::Dataset, false},
    {14, "Comma delimited (*.csv)", ".csv", S::Dataset, false},
    {15, "Structure input file (*.txt)", ".txt", S::Project, true},
    {16, "eXtended Multi-Fasta Alignment (*.xmfa)", ".xmfa", S::Project, true},
    {17, "Hey's HKA input file (*.hka)", ".hka", S::Project, true},
    {18, "Nielsen & Hey's IM (*.im)", ".im", S::Project, true},
    {19, "Hubisz and Nielsen's SweepFinder (*.sf)", ".sf", S::Dataset, false},
    {20, "Names of datasets (genes) only (*.txt)", ".txt", S::Project, true},
    {21, "Annotation into GFF file (*.gff)", ".gff", S::Dataset, false},
    {22, "For fastPhase (*.inp) ", ".inp", S::Dataset, false},
    {23, "For BayeScan (*.txt) ", ".txt", S::Project, true},
    {24, "For mlHKA (*.txt) ", ".txt", S::Project, true},
    // The older PHYLIP layout (name on a line of its own), for projects that rely on it.
    {25, "Phylip, names on lines of their own (*.phy)", ".phy", S::Dataset, false},
}};

}  // namespace

std::span<const OpenFilter> OpenFilters() {
  return kOpenFilters;
}

std::string_view OpenFilterCaption(int code) {
  if (code < 1 || code > kLastFormatCode) return {};
  return kOpenFilters[static_cast<std::size_t>(code - 1)].caption;
}

std::span<const SaveFilter> SaveFilters() {
  return kSaveFilters;
}

const SaveFilter* SaveFilterAt(int index) {
  if (index < 1 || index > static_cast<int>(kSaveFilters.size())) return nullptr;
  return &kSaveFilters[static_cast<std::size_t>(index - 1)];
}

std::string SaveFilterEntry(const SaveFilter& filter) {
  const std::string_view c = filter.caption;
  const auto open = c.rfind('(');
  const auto close = c.rfind(')');
  std::string entry(c);
  entry += '|';
  if (open != std::string_view::npos && close != std::string_view::npos && close > open)
    entry += c.substr(open + 1, close - open - 1);
  return entry;
}
