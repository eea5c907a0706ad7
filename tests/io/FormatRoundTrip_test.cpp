// SPDX-License-Identifier: GPL-3.0-or-later
// Every writable alignment format, written through the save command from 20 sequences with
// awkward names and read back through detection and the dispatcher; PHYLIP's dnadist and
// Biopython read the PHYLIP and NEXUS files where they are installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "IoTestFiles.h"
#include "io/Dispatcher.h"
#include "io/FormatTables.h"
#include "io/SaveCommand.h"
#include "io/TextFormatSupport.h"

namespace {

// Blanks, '/', '-', '~', NEXUS and PHYLIP punctuation, 30 characters, names equal after
// their first 10 characters.
const std::vector<std::string> kNames = {"plain01",
                                         "two words",
                                         "pop1/ind-2",
                                         "x-1",
                                         "a~1 first",
                                         "Population_of_the_valley_no_01",
                                         "Population_of_the_valley_no_02",
                                         "Population_of_the_valley_no_03",
                                         "it's",
                                         "semi;colon",
                                         "comma,name",
                                         "paren(x)",
                                         "s13",
                                         "s14",
                                         "s15",
                                         "s16",
                                         "s17",
                                         "s18",
                                         "s19",
                                         "s20"};

Rows Alignment() {
  Rows rows;
  const std::string bases = "ACGT";
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    std::string letters;
    for (std::size_t c = 0; c < 40; ++c) letters += bases[(c * 7 + i * (c % 5 + 1)) % 4];
    letters[5 + i] = '-';
    rows.emplace_back(kNames[i], letters);
  }
  rows[0].second[30] = 'N';
  rows[1].second[31] = '?';
  return rows;
}

// What each format keeps of a name (its documented limits), worked out by hand.
std::string MegaName(std::string name) {
  for (char& c : name)
    if (c == ' ') c = '_';
  return name;
}
const std::vector<std::string> kPhylipNames = {
    "plain01",    "two_words", "pop1/ind-2", "x-1",        "a~1_first", "Population", "Populati~1",
    "Populati~2", "it's",      "semi_colon", "comma_name", "paren_x_",  "s13",        "s14",
    "s15",        "s16",       "s17",        "s18",        "s19",       "s20"};

Rows WithNames(const Rows& rows, const std::function<std::string(std::size_t)>& name) {
  Rows out = rows;
  for (std::size_t i = 0; i < out.size(); ++i) out[i].first = name(i);
  return out;
}

struct Written {
  std::string path;
  int detected = 0;
  Rows rows;
};

Written WriteAndReadBack(const TestFolder& dir, int saveIndex, const std::string& fileName) {
  RecordingServices svc;
  TDataProj proj(svc);
  proj.NewDataset();
  Fill(*proj.CurrentDataset(), Alignment());
  Written w;
  const SaveOutcome out = RunSaveCommand(proj, saveIndex, dir.File(fileName), svc.services);
  EXPECT_TRUE(out.ok);
  if (out.written.size() != 1) return w;
  w.path = out.written[0];
  TDataProj back(svc);
  OpenWindow window(back);
  const OpenResult r = OpenDetected(w.path, window, svc.services, w.detected);
  EXPECT_TRUE(r.ReadSomething()) << fileName;
  if (back.DatasetCount() > 0) w.rows = RowsOf(*back.DatasetAt(back.DatasetCount() - 1));
  return w;
}

std::string Shell(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  ::pclose(pipe);
  return out;
}

bool HaveBiopython() {
  return Shell("/usr/bin/python3 -c 'import Bio; print(1)' 2>/dev/null") == "1\n";
}

}  // namespace

TEST(FormatRoundTrip, EveryAlignmentFormatReadsBackWithinItsLimits) {
  TestFolder dir("roundtrip");
  const Rows rows = Alignment();
  struct Case {
    int saveIndex;
    const char* file;
    int code;
    Rows expected;
  };
  const Case cases[] = {
      {1, "all.df", kCodeProjectFile, rows},
      {6, "all.psf", kCodeProjectFile, rows},
      {5, "all.fasta", kCodeFastaGffQual, rows},
      {2, "all.nex", kCodeNexus, rows},
      {4, "all.meg", kCodeMega, WithNames(rows, [](std::size_t i) { return MegaName(kNames[i]); })},
      {3, "all.phy", kCodePhylip, WithNames(rows, [](std::size_t i) { return kPhylipNames[i]; })},
      // The older layout with names written whole (the question answered No).
      {25, "lines.phy", kCodePhylip,
       WithNames(rows, [](std::size_t i) { return MegaName(kNames[i]); })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const Written w = WriteAndReadBack(dir, c.saveIndex, c.file);
    EXPECT_EQ(w.detected, c.code);
    EXPECT_EQ(w.rows, c.expected);
  }
}

TEST(FormatRoundTrip, PhylipsDnadistReadsThePhylipFile) {
  if (std::system("command -v phylip >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "Debian's phylip is not installed (tools/install-deps.sh installs it)";
  TestFolder dir("roundtrip_dnadist");
  const Written w = WriteAndReadBack(dir, 3, "infile.phy");
  std::filesystem::copy_file(w.path, dir.File("infile"));
  Shell("cd '" + dir.Path() + "' && printf 'Y\\n' | timeout 60 phylip dnadist >/dev/null 2>&1");
  // The distance matrix: the count line, then one row per sequence named as written.
  const std::string matrix = TestFolder::Read(dir.File("outfile"));
  ASSERT_TRUE(matrix.starts_with("   20\n")) << matrix;
  for (const std::string& name : kPhylipNames)
    EXPECT_NE(matrix.find("\n" + name + std::string(11 - name.size(), ' ')), std::string::npos)
        << name;
}

TEST(FormatRoundTrip, BiopythonReadsThePhylipAndNexusFiles) {
  if (!HaveBiopython())
    GTEST_SKIP() << "python3-biopython is not installed (tools/install-deps.sh installs it)";
  TestFolder dir("roundtrip_biopython");
  const Written phylip = WriteAndReadBack(dir, 3, "all.phy");
  const Written nexus = WriteAndReadBack(dir, 2, "all.nex");
  const std::string script = dir.Write("read.py",
                                       "import sys\n"
                                       "from Bio import AlignIO\n"
                                       "a = AlignIO.read(sys.argv[1], sys.argv[2])\n"
                                       "print(len(a), a.get_alignment_length())\n"
                                       "for r in a: print(r.id + '|' + str(r.seq))\n");
  std::string expectedPhylip = "20 40\n", expectedNexus = "20 40\n";
  const Rows rows = Alignment();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    expectedPhylip += kPhylipNames[i] + "|" + rows[i].second + "\n";
    expectedNexus += kNames[i] + "|" + rows[i].second + "\n";
  }
  EXPECT_EQ(Shell("/usr/bin/python3 " + script + " " + phylip.path + " phylip 2>&1"),
            expectedPhylip);
  // Biopython keeps the quotes of a quoted NEXUS name in the identifier.
  const std::string nexusOut =
      Shell("/usr/bin/python3 " + script + " " + nexus.path + " nexus 2>&1");
  std::string unquoted;
  for (std::size_t i = 0; i < nexusOut.size(); ++i) {
    if (nexusOut[i] == '\'' || nexusOut[i] == '"') continue;
    unquoted += nexusOut[i];
  }
  std::string expectedUnquoted;
  for (const char c : expectedNexus)
    if (c != '\'') expectedUnquoted += c;
  EXPECT_EQ(unquoted, expectedUnquoted) << nexusOut;
}
