// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "io/GroupsFile.h"
#include "model/DataProjUnit.h"
#include "support/RecordingServices.h"

namespace {

void AddRows(TDataProj& proj, const std::vector<std::string>& names) {
  proj.NewDataset();
  TDataSeq& ds = *proj.CurrentDataset();
  for (const std::string& n : names) {
    auto s = std::make_unique<TSeq>(n, "ACGT");
    (void)ds.AddSeq(s, true);
  }
}

}  // namespace

TEST(ImportGroups, AssignsInEveryDatasetCountsWhoJoinedAndListsUnknownNames) {
  RecordingServices svc;
  TDataProj proj(svc);
  AddRows(proj, {"a1", "a2", "b1", "o1"});
  AddRows(proj, {"a1", "b1", "b2"});  // a second locus of the same individuals
  // CR LF and LF, comma and tab; the line without a group and the one without a name are no
  // assignments; a1 is named twice and the later line wins.
  const GroupImport r = ImportGroups(
      proj, "a1,PopB\r\na2,PopA\nb1\tPopB\nb2,PopB\no1,Outgroups\nx9,PopA\na3,\n,PopA\na1,PopA\n");
  const std::vector<std::pair<std::string, int>> joined{{"PopA", 3}, {"PopB", 3}, {"Outgroups", 1}};
  EXPECT_EQ(r.joined, joined);
  EXPECT_EQ(r.unmatched, std::vector<std::string>{"x9"});
  const int popA = proj.GroupKeyByName("PopA");
  for (int d = 0; d < 2; ++d) {
    const TDataSeq& ds = *proj.DatasetAt(d);
    EXPECT_EQ(proj.GroupOfSeq(ds, ds.SeqAt(ds.RowByName("a1"))->seqId), popA);
    EXPECT_EQ(proj.GroupOfSeq(ds, ds.SeqAt(ds.RowByName("b1"))->seqId),
              proj.GroupKeyByName("PopB"));
  }
  const TDataSeq& first = *proj.DatasetAt(0);
  EXPECT_TRUE(proj.IsOutgroup(first, first.RowByName("o1")));
  EXPECT_EQ(GroupImportNotice(r),
            "3 sequences joined PopA\r\n3 sequences joined PopB\r\n1 sequence joined Outgroups\r\n"
            "1 name matches no sequence: x9\r\n");
}
