// SPDX-License-Identifier: GPL-3.0-or-later
// The site filter: window captions, the columns kept per site class, shifted rows.
#include <gtest/gtest.h>

#include "analysis/FilterSitesUnit.h"
#include "analysis/MutHold.h"
#include "model/DatasetBuilders.h"
#include "support/RecordingServices.h"

namespace {

// Columns 4..9 are two codons (ATG AAA/AAG); column 2 holds a gap; row c starts at column 4.
struct CodingLocus {
  RecordingServices svc;
  TDataProj proj{svc};
  TDataSeq* ds = nullptr;
  CodingLocus() {
    ds = proj.DatasetAt(0);
    ds->dsName = "locus";
    AddRow(*ds, "a", "ACGATGAAATTT").regions.push_back(MakeRegion(4, 9, kRegCds, 1));
    AddRow(*ds, "b", "A-GATGAAGTTC").regions.push_back(MakeRegion(4, 9, kRegCds, 1));
    AddRow(*ds, "c", "ATGAAGTTT", 3).regions.push_back(MakeRegion(1, 6, kRegCds, 1));
  }
};

FilterSitesOptions Only(bool noncoding, bool p1, bool p2, bool p3) {
  FilterSitesOptions o;
  o.noncoding = noncoding;
  o.pos1 = p1;
  o.pos2 = p2;
  o.pos3 = p3;
  return o;
}

}  // namespace

TEST(FilterSites, CaptionsFollowTheCheckedBoxes) {
  EXPECT_EQ(FilterSitesLabel(FilterSitesOptions{}),
            "Noncoding sites and first second and third codon positions");
  EXPECT_EQ(FilterSitesLabel(Only(true, false, false, false)), "Noncoding sites");
  EXPECT_EQ(FilterSitesLabel(Only(false, false, true, true)), "Second and third codon positions");
  const FilterSitesOptions none = Only(false, false, false, false);
  EXPECT_EQ(FilterSiteFlags(none), kSiteAll);
  EXPECT_EQ(FilterSitesLabel(none), "All sites (coding + noncoding)");
  FilterSitesOptions deg = Only(false, false, false, false);
  deg.codonPositions = false;
  deg.deg1 = deg.deg2 = deg.deg4 = true;
  EXPECT_EQ(FilterSiteFlags(deg), kSiteDegen01 | kSiteDegen2 | kSiteDegen4);
  EXPECT_EQ(FilterSitesLabel(deg), "1-fold 2-fold and 4-fold degenerate codon positions");
}

TEST(FilterSites, CopiesKeepTheColumnsOfTheChosenClassesAndStayAligned) {
  CodingLocus f;
  // Noncoding columns 10..12 only: row c has not begun at columns 1..3, which are gapped
  // there, and gapped columns are removed.
  auto noncoding = FilteredCopy(*f.ds, 1, 0, &f.proj, {0}, true, kSiteNoncoding, 1, 0);
  EXPECT_EQ(noncoding->dsName, "locus");
  EXPECT_EQ(RowLetters(*noncoding), (std::vector<std::string>{"TTT", "TTC", "TTT"}));
  EXPECT_EQ(RowShifts(*noncoding), (std::vector<int>{0, 0, 0}));
  EXPECT_TRUE(f.ds->mutHolders.empty());  // the simple scan's tables are not left behind

  // Third codon positions: columns 6 and 9.
  auto third = FilteredCopy(*f.ds, 1, 0, &f.proj, {0}, true, kSiteThird, 1, 0);
  EXPECT_EQ(RowLetters(*third), (std::vector<std::string>{"GA", "GG", "GG"}));
  EXPECT_EQ(RowShifts(*third), (std::vector<int>{0, 0, 0}));

  // Indels included, within the region 2..10: columns 2, 3 and 10 stay, and one removed
  // column (1) lies before row c's first letter, so its shift drops from 3 to 2.
  auto region = FilteredCopy(*f.ds, 2, 10, &f.proj, {0}, true, kSiteNoncoding, 1, 1);
  EXPECT_EQ(RowLetters(*region), (std::vector<std::string>{"CGT", "-GT", "T"}));
  EXPECT_EQ(RowShifts(*region), (std::vector<int>{0, 0, 2}));
}

TEST(FilterSites, RunCopiesTheSelectedDatasetsIntoANewProject) {
  CodingLocus f;
  f.proj.NewDataset();
  TDataSeq& other = *f.proj.DatasetAt(1);
  AddRow(other, "x", "AC");
  other.dsSelected = false;
  f.ds->Select(-1);
  TGroup g;
  g.grpName = "North";
  f.proj.AddGroup(g);

  const FilterSitesResult r = RunFilterSites(f.proj, Only(true, false, false, false), f.svc);
  EXPECT_EQ(r.caption, "Noncoding sites");
  ASSERT_NE(r.project, nullptr);
  ASSERT_EQ(r.project->DatasetCount(), 1);
  EXPECT_EQ(r.project->GroupKeyByName("North"), f.proj.GroupKeyByName("North"));
  const TDataSeq& copy = *r.project->DatasetAt(0);
  EXPECT_EQ(RowLetters(copy), (std::vector<std::string>{"TTT", "TTC", "TTT"}));
  EXPECT_EQ(copy.SelectedCount(), 0);
}
