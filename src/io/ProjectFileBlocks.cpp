// SPDX-License-Identifier: GPL-3.0-or-later
// Groups, individuals with their attributes, the old per-dataset GROUPING membership lists,
// the grid settings and the genetic code blocks of the project file. Offsets inside GROUPS__
// and INDIVIDS, to any depth, count from the start of that top-level block.
#include <bit>
#include <charconv>

#include "io/ProjectFileBlocks.h"
#include "io/ProjectFileParts.h"

namespace projfile {

namespace {

bool F32Of(const Member& m, double& v) {
  if (m.size != 20) return false;
  std::uint32_t u = 0;
  ByteCursor(m.payload).PeekU32LEAt(0, u);
  v = static_cast<double>(std::bit_cast<float>(u));
  return true;
}

// Members of the block at `at`, each whole inside the block; false on the first that is not.
bool Members(const ByteCursor& block, std::uint64_t at, std::vector<Member>& out,
             std::vector<std::uint64_t>& nested, std::string_view nestedTag) {
  std::vector<std::uint64_t> positions;
  if (!BlockTable(block, at, 0, positions)) return false;
  out.clear();
  nested.clear();
  for (std::uint64_t p : positions) {
    Member m;
    if (!MemberAt(block, p, m)) return false;
    if (!nestedTag.empty() && m.Is(nestedTag))
      nested.push_back(p);
    else
      out.push_back(m);
  }
  return true;
}

bool ReadAttribute(const ByteCursor& block, std::uint64_t at, sir& a) {
  std::vector<Member> members;
  std::vector<std::uint64_t> none;
  if (!Members(block, at, members, none, {})) return false;
  for (const Member& m : members) {
    std::int32_t v = 0;
    if (m.Is("SIRINTEG") && I32Of(m, v)) a.sirInt = v;
    if (m.Is("SIR_REAL") && m.size == 24) {
      const ByteCursor c(m.payload);
      std::uint32_t whole = 0, millionths = 0;
      c.PeekU32LEAt(0, whole);
      c.PeekU32LEAt(4, millionths);
      a.sirReal =
          Real8Value(static_cast<std::int32_t>(whole), static_cast<std::int32_t>(millionths));
    }
    if (m.Is("SIR_NAME")) a.sirText.assign(m.payload);  // value text under SIR_NAME,
    if (m.Is("SIR_SVAL")) a.sirName.assign(m.payload);  // attribute name under SIR_SVAL
  }
  return true;
}

}  // namespace

void ReadGroupsBlock(const ByteCursor& block, TDataProj& project,
                     std::vector<std::string>& problems) {
  std::vector<std::uint64_t> groups;
  if (!BlockTable(block, 0, 0, groups)) {
    problems.push_back("the group table does not fit its block");
    return;
  }
  int damaged = 0;
  for (std::uint64_t at : groups) {
    std::vector<Member> members;
    std::vector<std::uint64_t> none;
    if (!Members(block, at, members, none, {})) {
      ++damaged;
      continue;
    }
    TGroup g;
    for (const Member& m : members) {
      std::int32_t v = 0;
      if (m.Is("GRP_NAME")) g.grpName.assign(m.payload);
      if (m.Is("GRP_COMM")) g.grpComment.assign(m.payload);
      if (m.Is("GROUP_ID") && I32Of(m, v)) g.grpDbId = v;
      if (m.Is("G_LOC_ID") && I32Of(m, v)) g.grpLocationId = v;
      if (m.Is("GRPINDEX") && I32Of(m, v)) g.grpKey = v;
      if (m.Is("GRP__TAG") && I32Of(m, v)) g.grpTag = v;
      if (m.Is("GRPARENT") && I32Of(m, v)) g.grpParent = v;
      if (m.Is("GRP__RES") && I32Of(m, v)) g.grpReserved = v;
    }
    project.AddGroup(g);
  }
  if (damaged > 0)
    problems.push_back(std::to_string(damaged) + " group record(s) lie outside their block");
}

void ReadIndividsBlock(const ByteCursor& block, TDataProj& project,
                       std::vector<std::string>& problems) {
  std::vector<std::uint64_t> individs;
  if (!BlockTable(block, 0, 0, individs)) {
    problems.push_back("the individuals table does not fit its block");
    return;
  }
  int damaged = 0;
  for (std::uint64_t at : individs) {
    std::vector<Member> members;
    std::vector<std::uint64_t> attributes;
    if (!Members(block, at, members, attributes, "INDARSIR")) {
      ++damaged;
      continue;
    }
    TIndivid ind;
    bool whole = true;
    for (std::uint64_t a : attributes)
      whole = ReadAttribute(block, a, ind.attributes.Mut().emplace_back()) && whole;
    if (!whole) {
      ++damaged;
      continue;
    }
    for (const Member& m : members) {
      std::int32_t v = 0;
      if (m.Is("IND_NAME")) ind.indName.assign(m.payload);
      if (m.Is("IND_COMM")) ind.indComment.assign(m.payload);
      if (m.Is("INDIV_ID") && I32Of(m, v)) ind.indDbId = v;
      if (m.Is("I_LOC_ID") && I32Of(m, v)) ind.indLocationId = v;
      if (m.Is("INDINDEX") && I32Of(m, v)) ind.indKey = v;
      if (m.Is("IND_GRPN") && I32Of(m, v)) ind.indGroup = v;
      if (m.Is("IND__SPC") && I32Of(m, v)) ind.indSpecies = v;
      if (m.Is("IND__TAG") && I32Of(m, v)) ind.indTag = v;
      if (m.Is("IND__RES") && I32Of(m, v)) ind.indReserved = v;
      if (m.Is("IND__LAT")) F32Of(m, ind.latitude);
      if (m.Is("IND__LON")) F32Of(m, ind.longitude);
      if (m.Is("IND__ALT")) F32Of(m, ind.altitude);
    }
    project.AddIndivid(ind);
  }
  if (damaged > 0)
    problems.push_back(std::to_string(damaged) + " individual record(s) lie outside their block");
}

void ReadGroupingBlock(const ByteCursor& bytes, std::uint64_t at, std::uint64_t base,
                       TDataProj& project, std::vector<std::string>& problems) {
  std::vector<std::uint64_t> positions;
  if (!BlockTable(bytes, at, base, positions)) {
    problems.push_back("the GROUPING table at byte " + std::to_string(at) + " does not fit");
    return;
  }
  TGroup g;
  for (std::uint64_t p : positions) {
    Member m;
    if (!MemberAt(bytes, p, m)) {
      problems.push_back("a GROUPING member at byte " + std::to_string(p) + " lies outside");
      return;
    }
    if (m.tag == "GRP_NAME    ") g.grpName.assign(m.payload);
    if (m.tag == "SEQINGRP    ") {
      g.grpMembers.resize(m.payload.size());
      for (std::size_t i = 0; i < m.payload.size(); ++i) g.grpMembers[i] = m.payload[i] == 1;
    }
  }
  project.AddGroup(g);
}

void ReadGridBlock(const ByteCursor& block, GridFileSettings& grid) {
  std::int32_t values[32] = {};
  int count = 0;
  // A value is taken only while it ends inside the block.
  while (count < 32 && block.FitsAt(16 + 4 * static_cast<std::uint64_t>(count), 4)) {
    std::uint32_t u = 0;
    block.PeekU32LEAt(16 + 4 * static_cast<std::uint64_t>(count), u);
    values[count++] = static_cast<std::int32_t>(u);
  }
  std::int32_t* const ints[] = {&grid.currentDataset, &grid.gridValue2, &grid.letterMargin,
                                &grid.textMargin, &grid.bigStep};
  const int slots[] = {21, 22, 23, -1, 24, 25, 26, 27, 0,  1,  2,  3,  4,
                       5,  6,  7,  9,  10, 11, 12, 13, 14, 15, 16, 18, 19};
  for (int i = 0; i < count; ++i) {
    if (i < 5) {
      *ints[i] = values[i];
    } else if (i < 31) {
      const int slot = slots[i - 5];
      if (slot < 0)
        grid.cursorPenWidth = values[i];
      else
        grid.colours[static_cast<std::size_t>(slot)] = static_cast<std::uint32_t>(values[i]);
    } else {
      grid.currentDataset = values[i];
    }
  }
  grid.readFromFile = count > 0;
}

void ReadCodeBlock(std::string_view text, GridFileSettings& grid) {
  const std::size_t first = text.find(',');
  if (first == std::string_view::npos || text.size() < first + 66 || text[first + 65] != ',')
    return;
  std::int32_t id = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + first, id);
  if (ec != std::errc() || end != text.data() + first) return;
  grid.geneticCodeId = id;
  grid.geneticCodeLetters.assign(text.substr(first + 1, 64));
  grid.geneticCodeName.assign(text.substr(first + 66));
}

}  // namespace projfile
