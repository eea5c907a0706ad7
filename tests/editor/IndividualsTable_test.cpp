// SPDX-License-Identifier: GPL-3.0-or-later
// The individuals table and its text file: import, export, cell edits, the sequence list.
#include <gtest/gtest.h>

#include "EditorCommandFixture.h"
#include "editor/IndividualsCsv.h"
#include "editor/IndividualsTable.h"

namespace {

const sir* Attr(const TIndivid& ind, const std::string& name) {
  for (const sir& a : ind.attributes)
    if (a.sirName == name) return &a;
  return nullptr;
}

}  // namespace

TEST(ImportIndividuals, HeaderOfCoordinatesAndAHabitatAttribute) {
  CommandFixture f;
  const std::string text =
      "#,Individ,Comment,LAT.,LONG.,ALT.,Habitat\r\n"
      "1,A1,first,45.5,-3.25,120,forest\r\n"
      "2,B2,\"dry, \"\"sandy\"\"\",x,2,3,12.5\n"
      "3,C3\n";
  EXPECT_EQ(ImportIndividuals(f.project, text), 3);
  ASSERT_EQ(f.project.IndividCount(), 3);
  const TIndivid& a = f.project.Individs()[0];
  EXPECT_EQ(a.indName, "A1");
  EXPECT_EQ(a.indComment, "first");
  EXPECT_DOUBLE_EQ(a.latitude, 45.5);
  EXPECT_DOUBLE_EQ(a.longitude, -3.25);
  EXPECT_DOUBLE_EQ(a.altitude, 120.0);
  ASSERT_EQ(a.attributes.size(), 1u);
  EXPECT_EQ(a.attributes[0].sirName, "Habitat");
  EXPECT_EQ(a.attributes[0].sirText, "forest");
  EXPECT_DOUBLE_EQ(a.attributes[0].sirReal, -999999999.0);
  const TIndivid& b = f.project.Individs()[1];
  EXPECT_EQ(b.indComment, "dry, \"sandy\"");  // quoted comma and doubled quotes
  EXPECT_DOUBLE_EQ(b.latitude, -1.0);         // not a number: left at its default
  EXPECT_DOUBLE_EQ(Attr(b, "Habitat")->sirReal, 12.5);
  // A short line leaves the missing fields at their defaults.
  const TIndivid& c = f.project.Individs()[2];
  EXPECT_EQ(c.indName, "C3");
  EXPECT_TRUE(c.attributes.empty());
}

TEST(ImportIndividuals, OtherHeadersInColumnsThreeToFiveAreAttributes) {
  CommandFixture f;
  EXPECT_EQ(ImportIndividuals(f.project,
                              "#,Individ,Comment,Depth,Colour,Sex,Habitat\n"
                              "1,A1,,3,red,f,lake\n"),
            1);
  const TIndivid& a = f.project.Individs()[0];
  ASSERT_EQ(a.attributes.size(), 4u);
  EXPECT_EQ(a.attributes[0].sirName, "Depth");
  EXPECT_DOUBLE_EQ(a.attributes[0].sirReal, 3.0);
  EXPECT_EQ(Attr(a, "Sex")->sirText, "f");
  EXPECT_DOUBLE_EQ(a.latitude, -1.0);
}

TEST(ExportIndividuals, FilteredRowsQuotedCellsAndEveryColumnReadBack) {
  CommandFixture f;
  TGroup north;
  north.grpName = "north";
  f.project.AddGroup(north);
  TIndivid a;
  a.indName = "A1";
  a.indComment = "say \"hi\", ok";
  a.latitude = 45.5;
  a.attributes = {{"Habitat", "forest", 0, -999999999.0}, {"Depth", "3", 0, 3.0}};
  f.project.AddIndivid(a);
  TIndivid b;
  b.indName = "B2";
  b.attributes = {{"Habitat", "lake", 0, -999999999.0}};
  f.project.AddIndivid(b);
  f.project.SetIndividGroup("B2", "north");

  EXPECT_EQ(ExportIndividuals(f.project, kGroupFilterAll),
            "#,Individ,Comment,LAT.,LONG.,ALT.,Habitat,Depth\r\n"
            "1,A1,\"say \"\"hi\"\", ok\",45.5,,,forest,3\r\n"
            "2,B2,,,,,lake,\r\n");
  const int northItem = kGroupFilterFirstGroup + f.project.GroupIndexByName("north");
  EXPECT_EQ(ExportIndividuals(f.project, northItem),
            "#,Individ,Comment,LAT.,LONG.,ALT.,Habitat,Depth\r\n1,B2,,,,,lake,\r\n");
  EXPECT_EQ(ExportIndividuals(f.project, kGroupFilterNone),
            "#,Individ,Comment,LAT.,LONG.,ALT.,Habitat,Depth\r\n"
            "1,A1,\"say \"\"hi\"\", ok\",45.5,,,forest,3\r\n");

  CommandFixture g;
  ASSERT_EQ(ImportIndividuals(g.project, ExportIndividuals(f.project, kGroupFilterAll)), 2);
  const TIndivid& ra = g.project.Individs()[0];
  EXPECT_EQ(ra.indComment, a.indComment);
  EXPECT_DOUBLE_EQ(ra.latitude, 45.5);
  EXPECT_DOUBLE_EQ(ra.longitude, -1.0);
  EXPECT_EQ(ra.attributes, a.attributes);
  // Without coordinates the attributes start in column 3 and still all come back.
  CommandFixture h;
  TIndivid c;
  c.indName = "C";
  c.attributes = {
      {"One", "1", 0, 1.0}, {"Two", "x", 0, -999999999.0}, {"Three", "", 0, -999999999.0}};
  h.project.AddIndivid(c);
  CommandFixture back;
  ASSERT_EQ(ImportIndividuals(back.project, ExportIndividuals(h.project, kGroupFilterAll)), 1);
  EXPECT_EQ(back.project.Individs()[0].attributes, c.attributes);
}

TEST(EditCell, NameStaysUniqueAndValuesAreReadAgain) {
  CommandFixture f;
  for (const char* n : {"A", "B"}) {
    TIndivid ind;
    ind.indName = n;
    ind.attributes = {{"Habitat", "", 0, 0.0}};
    f.project.AddIndivid(ind);
  }
  f.project.IndividAt(0)->altitude = 10;
  const IndividColumns cols = TableColumns(f.project);
  ASSERT_EQ(cols.headers, (std::vector<std::string>{"#", "Individ", "Comment", "LAT.", "LONG.",
                                                    "ALT.", "Habitat"}));
  EXPECT_TRUE(EditCell(f.project, cols, 1, 1, "A"));
  EXPECT_EQ(f.project.IndividName(1), "A~1");
  EXPECT_EQ(f.project.IndividKeyByName("A~1"), f.project.Individs()[1].indKey);
  EXPECT_TRUE(EditCell(f.project, cols, 1, 6, "7.5"));
  EXPECT_DOUBLE_EQ(f.project.Individs()[1].attributes[0].sirReal, 7.5);
  EXPECT_TRUE(EditCell(f.project, cols, 1, 6, "wet"));
  EXPECT_DOUBLE_EQ(f.project.Individs()[1].attributes[0].sirReal, -999999999.0);
  EXPECT_EQ(CellText(f.project, cols, 1, 6, 1), "wet");
  EXPECT_FALSE(EditCell(f.project, cols, 0, 3, "north"));  // a coordinate must be a number
  EXPECT_TRUE(EditCell(f.project, cols, 0, 5, ""));
  EXPECT_DOUBLE_EQ(f.project.Individs()[0].altitude, -1.0);
  EXPECT_FALSE(EditCell(f.project, cols, 0, 0, "9"));  // the row number is not the individual's
}

TEST(SeqList, ItemsOfOneOrAllDatasetsAndTheirLinks) {
  CommandFixture f;
  f.AddDataset("g1", {{"s1", "A"}, {"s2", "A"}});
  f.AddDataset("g2", {{"t1", "A"}});
  TGroup pop;
  pop.grpName = "pop";
  const int popKey = f.project.AddGroup(pop);
  TIndivid ind;
  ind.indName = "I";
  ind.indGroup = popKey;
  const int key = f.project.AddIndivid(ind);

  const auto all = SeqListItems(f.project, kAllDatasets);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(SeqListText(f.project, all[2], true), "t1_@_g2");
  const auto one = SeqListItems(f.project, 0);
  ASSERT_EQ(one.size(), 2u);
  EXPECT_EQ(SeqListText(f.project, one[1], false), "s2");

  EXPECT_TRUE(LinkSeq(f.project, all[2], key));
  EXPECT_TRUE(SeqLinkedTo(f.project, all[2], key));
  EXPECT_EQ(f.Row(1, 1).groupNum, popKey);
  EXPECT_TRUE(LinkSeq(f.project, all[2], -1));
  EXPECT_EQ(f.Row(1, 1).individId, -1);
  EXPECT_EQ(f.Row(1, 1).groupNum, -1);
  EXPECT_FALSE(LinkSeq(f.project, all[2], key + 7));  // no such individual
}
