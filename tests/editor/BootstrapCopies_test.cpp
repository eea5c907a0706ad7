// SPDX-License-Identifier: GPL-3.0-or-later
// Bootstrap replicates of the current dataset: names, shapes, a fixed seed, the texts.
#include <gtest/gtest.h>

#include "common/PlatformRandom.h"
#include "editor/BootstrapCopies.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

TEST(BootstrapCopies, ReplicatesKeepTheShapeAndRepeatWithTheSeed) {
  RecordingServices svc;
  TDataProj proj(svc);
  TDataSeq& ds = *proj.DatasetAt(0);
  ds.dsName = "locus";
  // A CDS of two codons after three noncoding columns, and a row that starts at column 2.
  AddRow(ds, "a", "CCCATGAAATT").regions.push_back(MakeRegion(4, 9, kRegCds, 1));
  AddRow(ds, "b", "CCATGAAGTT", 1).regions.push_back(MakeRegion(3, 8, kRegCds, 1));

  for (const bool codons : {false, true}) {
    PlatformRandom rng(7), again(7);
    auto reps = BootstrapCurDseq(ds, 3, codons, rng, svc);
    auto same = BootstrapCurDseq(ds, 3, codons, again, svc);
    ASSERT_EQ(reps->DatasetCount(), 3);
    for (int k = 0; k < 3; ++k) {
      const TDataSeq& rep = *reps->DatasetAt(k);
      EXPECT_EQ(rep.dsName, "locus_" + std::to_string(k + 1));
      ASSERT_EQ(rep.Count(), 2);
      EXPECT_EQ(rep.AlignmentLength(true), 11) << "codons " << codons;
      EXPECT_EQ(rep.SeqAt(2)->seqName, "b");
      EXPECT_EQ(RowLetters(rep), RowLetters(*same->DatasetAt(k)));
    }
  }
  EXPECT_EQ(BootstrapQuestion(100, "locus"), "Generate 100 bootstrap replicates for locus?");
  EXPECT_EQ(BootstrapWindowCaption("loci.fas", "locus"), "Bootstrapped_loci.fas_[locus]");
}
