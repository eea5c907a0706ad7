// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "alignment/AsmContUnit.h"
#include "editor/EditorCommandFixture.h"
#include "io/IoTestFiles.h"
#include "io/ProjectFile.h"

namespace {

const std::string kRead = "TTGACCATGGCATTACGGATCCAAGT";  // 26 letters

struct ShowFixture : CommandFixture {
  TestFolder dir{"showcontig"};
  ShowFixture() {
    AddDataset("here", {{"read", "--" + kRead}});
    Ds().SetCursor(8, 1);  // probe: letters 7..16 of the row
  }
  std::optional<ContigView> Show(ChosenSource chosen = {}) {
    return ShowContig(ctx, [chosen] { return chosen; });
  }
};

}  // namespace

TEST(ShowContig, MappingFileWithDatasetSuffixOpensTheReadsBehindTheRead) {
  ShowFixture f;
  const std::string sam = f.dir.Write(
      "reads.sam", "@SQ\tSN:chr1\tLN:100\nm1\t0\tchr1\t5\t60\t10M\t*\t0\t0\tACCATGGCAT\t*\n");
  f.Row(1).sourceFile = sam + "[chr1]";
  const std::optional<ContigView> view = f.Show();
  ASSERT_TRUE(view.has_value());
  ASSERT_NE(view->project, nullptr);
  EXPECT_TRUE(view->mapping);
  EXPECT_EQ(view->caption, "reads.sam");
  const TDataSeq& ds = *view->project->DatasetAt(view->datasetIndex);
  ASSERT_EQ(ds.Count(), 2);
  EXPECT_EQ(ds.SeqAt(1)->letters, kRead);  // without its gaps
  // The probe "CCATGGCATT" lies at 5 in the gapless read: the cursor goes one after.
  EXPECT_EQ(view->position, 6);
  EXPECT_EQ(view->row, 1);
}

TEST(ShowContig, ProjectFileShowsTheNamedDatasetAndTheReadsRow) {
  ShowFixture f;
  RecordingServices other;
  TDataProj saved(other);
  saved.NewDataset();
  saved.RenameDataset(0, "first");
  AddRow(*saved.DatasetAt(0), "read", "AAAA");
  saved.NewDataset();
  saved.RenameDataset(1, "locus");
  AddRow(*saved.DatasetAt(1), "x", "CCCC");
  AddRow(*saved.DatasetAt(1), "read", "CC" + kRead);
  const std::string path = f.dir.File("p.df");
  ASSERT_TRUE(WriteProject(path, saved, {}));
  f.Row(1).sourceFile = path + "[locus]";
  std::optional<ContigView> view = f.Show();
  ASSERT_TRUE(view.has_value());
  EXPECT_FALSE(view->mapping);
  EXPECT_EQ(view->caption, "p.df");
  EXPECT_EQ(view->datasetIndex, 1);
  EXPECT_EQ(view->row, 2);
  EXPECT_EQ(view->position, 8);
  // No such dataset: the first one, and row 1 when no row has the name's exact case.
  f.Row(1).sourceFile = path + "[nowhere]";
  f.Row(1).seqName = "READ";
  view = f.Show();
  ASSERT_TRUE(view.has_value());
  EXPECT_EQ(view->datasetIndex, 0);
  EXPECT_EQ(view->row, 1);
  EXPECT_EQ(view->position, 1);
}

TEST(ShowContig, MissingOrForeignFilesAndMissingSourcesAreReported) {
  ShowFixture f;
  EXPECT_FALSE(f.Show().has_value());
  f.Row(1).sourceFile = f.dir.File("gone.sam") + "[chr1]";
  EXPECT_FALSE(f.Show().has_value());
  const std::string text = f.dir.Write("plain.txt", "just text\n");
  EXPECT_FALSE(f.Show({text, false}).has_value());  // not asked: the read names a file
  f.Row(1).sourceFile.clear();
  EXPECT_FALSE(f.Show({text, false}).has_value());
  EXPECT_EQ(f.Row(1).sourceFile, text);  // the chosen file stays with the row
  EXPECT_EQ(f.Notices(),
            (std::vector<std::string>{
                "No source file information available for sequence read",
                "File " + f.dir.File("gone.sam") + " not found",
                "File " + f.dir.File("gone.sam") + " not found",
                "File " + text + "\r\ndoes not appear to have a correct Nodrix file format"}));
}

TEST(ShowContig, AReadShorterThanCursorPlusTenAndAFileOfThisWindow) {
  ShowFixture f;
  f.Ds().SetCursor(20, 1);  // 28 letters < 20 + 10: empty probe
  f.Row(1).sourceFile = "somewhere.sam";
  f.Ds().dsSourceFile = "somewhere.sam";
  const std::optional<ContigView> view = f.Show();
  ASSERT_TRUE(view.has_value());
  EXPECT_EQ(view->project, nullptr);
  EXPECT_EQ(view->row, 1);
  EXPECT_EQ(view->position, 1);
  EXPECT_EQ(ContigProbe(f.Row(1), 18), "ACGGATCCAA");
  EXPECT_EQ(SplitSourceFile("a[b]c[d]"), (std::pair<std::string, std::string>{"a[b]c", "d"}));
  EXPECT_EQ(SplitSourceFile("a]b["), (std::pair<std::string, std::string>{"a]b[", ""}));
}
