// SPDX-License-Identifier: GPL-3.0-or-later
// DNA polymorphism and Tajima's D on published sequences: the seven Opuntia rpl16 sequences
// of GenBank AF191658-AF191665 (Biopython tutorial alignment, tests/data/opuntia.aln).
//
// Expected values were computed independently of this program with DendroPy 4.5.2
// (dendropy.calculate.popgenstat: num_segregating_sites, average_number_of_pairwise_differences,
// nucleotide_diversity, wattersons_theta, tajimas_d) on the 146 columns of the 156-column
// alignment that hold no gap, which is what excluding indel regions leaves:
//   n = 7, S = 8, k = 3.0476190, pi = 0.0208741, theta_W = 3.2653061 (8 / a_7, a_7 = 2.45),
//   Tajima's D = -0.3502156; 6 distinct haplotypes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "analysis/DNApolDbox.h"
#include "analysis/NeutralityAnalysis.h"
#include "io/ByteSource.h"
#include "io/IOUnit.h"
#include "model/DataProjUnit.h"
#include "support/RecordingServices.h"

namespace {

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

struct OpuntiaProject {
  RecordingServices svc;
  TDataProj proj{svc};
  OpuntiaProject() {
    std::ifstream in(std::string(NODRIX_TEST_DATA) + "/opuntia.aln", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string bytes = text.str();
    ReadContext ctx(svc, "opuntia.aln");
    TDataSeq& ds = *proj.DatasetAt(0);
    EXPECT_TRUE(OpenClustal(MemorySource(bytes), ctx, ds));
    ds.dsName = "opuntia";
    InitAnalysisSelection(proj);
  }
};

TEST(PublishedAlignment, OpuntiaPolymorphismMatchesAnIndependentComputation) {
  OpuntiaProject p;
  ASSERT_EQ(p.proj.DatasetAt(0)->Count(), 7);
  const AnalysisOutput out = RunDNApolym(p.proj, FrameOptions{}, DNApolymOptions{}, p.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  const std::string& r = out.report;
  EXPECT_TRUE(Has(r, "Number of positions analysed: 146\r\n")) << r;
  EXPECT_TRUE(Has(r, "Number of haplotypes: 6\r\n"));
  EXPECT_TRUE(Has(r, "Number of sites segregating in the population: 8\r\n"));
  EXPECT_TRUE(Has(r,
                  "Nucleotide diversity (Pi):  all mutations at all sites\r\n"
                  "Per sequence: 3.04762  SD: "));
  EXPECT_TRUE(Has(r, "Per nucleotide: 0.02087  SD: "));
  EXPECT_TRUE(Has(r,
                  "Watterson Theta: all mutations in all sites\r\n"
                  "Per sequence: 3.26531  SD(no recomb.): "));
}

TEST(PublishedAlignment, OpuntiaTajimasDMatchesAnIndependentComputation) {
  OpuntiaProject p;
  NeutralityRunOptions options;
  options.tests.tajimaD = true;
  const AnalysisOutput out = RunNeutrality(p.proj, FrameOptions{}, options, p.svc);
  ASSERT_TRUE(out.error.empty()) << out.error;
  EXPECT_TRUE(Has(out.report, "Tajima D = -0.3502")) << out.report;
}

}  // namespace
