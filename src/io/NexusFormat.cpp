// SPDX-License-Identifier: GPL-3.0-or-later
// NEXUS reader: TAXA, DATA/CHARACTERS (sequential or interleaved matrix), CODONS and SETS
// blocks; other blocks are skipped.
//
// Comments nest and quoted names keep blanks and brackets; names are compared upper-cased with
// '_' read as a blank. A sequential matrix entry opens at a line starting with a taxon label
// and is named by that label; without labels, a line opens an entry once the previous one holds
// NCHAR letters. Every token of a continuation line is a letter group. An interleaved matrix
// cycles through the rows, matching repeated names. The match character ('.' unless FORMAT
// MATCHCHAR says otherwise) copies the letter of the first row. CODONS lists (N or ?, 1, 2, 3)
// become intron and coding regions of every sequence; TAXSETs become groups.
#include <algorithm>
#include <unordered_map>
#include <vector>

#include "io/IOUnit.h"
#include "io/NexusTaxSets.h"
#include "io/NexusTokens.h"
#include "io/TextHelpers.h"
#include "model/DataProjUnit.h"
#include "model/Datasequnit.h"
#include "model/tsequnit.h"

namespace {

using Command = std::vector<const NexusToken*>;

struct Entry {
  std::string name;
  std::string letters;
  int line = 0;
};

struct TaxSet {
  std::string name;
  std::vector<const NexusToken*> items;  // after '='; resolved once the taxa are known
  int line = 0;
};

struct NexusRead {
  explicit NexusRead(ReadContext& c) : ctx(c) {}
  ReadContext& ctx;
  int ntax = 0;
  int nchar = 0;
  std::vector<std::string> labels;
  std::vector<Entry> entries;
  std::vector<TRegion> regions;
  std::vector<TaxSet> taxsets;
  bool codonsFailed = false;

  void ReadTaxaCommand(const Command& cmd);
  bool ReadDataBlock(const std::vector<Command>& commands);
  void ReadMatrix(const Command& cmd, std::size_t from, bool interleaved, char matchChar);
  void ReadCodons(const Command& cmd);
  void ReadTaxSet(const Command& cmd);
};

std::string Upper(const NexusToken* t) {
  return t->quoted ? t->text : UpperCase(t->text);
}

// "NTAX = 3" inside a command, 0 when absent or not a number.
int NumberAfter(const Command& cmd, const char* keyword) {
  for (std::size_t i = 0; i + 2 < cmd.size(); ++i)
    if (Upper(cmd[i]) == keyword && cmd[i + 1]->Is('='))
      if (const auto v = ParseInt(cmd[i + 2]->text); v && *v > 0) return *v;
  return 0;
}

void NexusRead::ReadTaxaCommand(const Command& cmd) {
  const std::string word = Upper(cmd[0]);
  if (word == "DIMENSIONS") {
    if (const int n = NumberAfter(cmd, "NTAX")) ntax = n;
  } else if (word == "TAXLABELS") {
    labels.clear();
    for (std::size_t i = 1; i < cmd.size(); ++i)
      if (!cmd[i]->Is(',')) labels.push_back(cmd[i]->text);
  }
}

bool NexusRead::ReadDataBlock(const std::vector<Command>& commands) {
  bool interleaved = false;
  char matchChar = '.';
  for (const Command& cmd : commands) {
    const std::string word = Upper(cmd[0]);
    if (word == "DIMENSIONS") {
      if (const int n = NumberAfter(cmd, "NTAX")) ntax = n;
      if (const int n = NumberAfter(cmd, "NCHAR")) nchar = n;
    } else if (word == "FORMAT") {
      for (std::size_t i = 1; i < cmd.size(); ++i) {
        const std::string key = Upper(cmd[i]);
        const bool valued = i + 2 < cmd.size() && cmd[i + 1]->Is('=');
        if (key == "INTERLEAVE" || key == "INTERLEAVED")
          interleaved = !valued || UpperCase(cmd[i + 2]->text) != "NO";
        else if (key == "MATCHCHAR" && valued && cmd[i + 2]->text.size() == 1)
          matchChar = cmd[i + 2]->text[0];
      }
    } else if (word == "TAXLABELS") {
      ReadTaxaCommand(cmd);
    } else if (word == "MATRIX") {
      ReadMatrix(cmd, 1, interleaved, matchChar);
      return true;
    }
  }
  return false;
}

void NexusRead::ReadMatrix(const Command& cmd, std::size_t from, bool interleaved, char matchChar) {
  // Rows of the matrix: the tokens of one line.
  std::vector<std::vector<const NexusToken*>> rows;
  for (std::size_t i = from; i < cmd.size(); ++i) {
    if (cmd[i]->Is(',') || cmd[i]->Is('=')) continue;
    if (rows.empty() || cmd[i]->lineStart) rows.emplace_back();
    rows.back().push_back(cmd[i]);
  }
  std::unordered_map<std::string, std::size_t> labelIndex;
  for (std::size_t k = 0; k < labels.size(); ++k)
    labelIndex.try_emplace(NexusNameKey(labels[k]), k);
  const std::size_t firstEntry = entries.size();
  auto appendTokens = [](Entry& e, const std::vector<const NexusToken*>& row, std::size_t start) {
    for (std::size_t k = start; k < row.size(); ++k) e.letters += row[k]->text;
  };

  if (!interleaved) {
    int dropped = 0, droppedLine = 0;
    for (const auto& row : rows) {
      const auto label = labelIndex.find(NexusNameKey(row[0]->text));
      const bool haveCurrent = entries.size() > firstEntry;
      bool opens;
      if (!labels.empty())
        opens = label != labelIndex.end();
      else
        opens =
            !haveCurrent || nchar == 0 || static_cast<int>(entries.back().letters.size()) >= nchar;
      if (opens) {
        const std::string name = label != labelIndex.end() ? labels[label->second] : row[0]->text;
        entries.push_back({name, {}, row[0]->line});
        appendTokens(entries.back(), row, 1);
      } else if (haveCurrent) {
        appendTokens(entries.back(), row, 0);
      } else if (dropped++ == 0) {
        droppedLine = row[0]->line;
      }
    }
    if (dropped > 0)
      ctx.ReportLine(droppedLine, std::to_string(dropped) +
                                      " matrix line(s) before the first taxon label left out");
  } else {
    const std::size_t count = ntax > 0 ? static_cast<std::size_t>(ntax) : labels.size();
    if (count == 0) {
      ctx.services.messages.Notify(
          "Number of taxa (NTAX clause) is missing\r\nCannot proceed with file " + ctx.fileName);
      return;
    }
    std::unordered_map<std::string, std::size_t> byName;
    std::size_t next = 0;
    for (const auto& row : rows) {
      if (row.size() < 2) continue;
      const std::string key = NexusNameKey(row[0]->text);
      if (key == "END" || key == "ENDBLOCK" || key == "ENDDATA") continue;
      std::size_t index;
      if (const auto it = byName.find(key); it != byName.end()) {
        index = it->second;
      } else if (entries.size() - firstEntry < count) {
        index = entries.size() - firstEntry;
        const auto label = labelIndex.find(key);
        entries.push_back(
            {label != labelIndex.end() ? labels[label->second] : row[0]->text, {}, row[0]->line});
        byName.try_emplace(key, index);
      } else {
        index = next;  // a name spelled differently in a later block: its place in the cycle
      }
      appendTokens(entries[firstEntry + index], row, 1);
      next = (index + 1) % count;
    }
  }

  if (entries.size() > firstEntry + 1) {
    const std::string& first = entries[firstEntry].letters;
    for (std::size_t k = firstEntry + 1; k < entries.size(); ++k) {
      std::string& letters = entries[k].letters;
      for (std::size_t p = 0; p < letters.size() && p < first.size(); ++p)
        if (letters[p] == matchChar) letters[p] = first[p];
    }
  }
}

// "a-b\3", "a-b", "a" or "a\3"; '.' stands for the last character.
bool ParseRange(std::string_view item, int nchar, int& a, int& b) {
  item = item.substr(0, item.find('\\'));
  const std::size_t dash = item.find('-');
  const std::string_view first = item.substr(0, dash);
  const std::string_view second = dash == std::string_view::npos ? first : item.substr(dash + 1);
  const auto pa = ParseInt(first);
  const auto pb = second == "." ? std::optional<int>(nchar) : ParseInt(second);
  if (!pa || !pb) return false;
  a = *pa;
  b = *pb;
  return true;
}

void NexusRead::ReadCodons(const Command& cmd) {
  // CODONPOSSET [*] name = label: items, label: items, ...
  std::size_t i = 1;
  while (i < cmd.size() && !cmd[i]->Is('=')) ++i;
  std::vector<std::string> lists[4];  // non-coding, positions 1..3
  std::vector<std::string> segment;
  auto flush = [&]() {
    std::string joined;
    for (const std::string& s : segment) joined += s + " ";
    segment.clear();
    const std::size_t colon = joined.find(':');
    if (colon == std::string::npos) return;
    const std::string label = UpperCase(TrimBlanks(std::string_view(joined).substr(0, colon)));
    int list = -1;
    if (label == "N" || label == "?")
      list = 0;
    else if (label == "1" || label == "2" || label == "3")
      list = label[0] - '0';
    if (list < 0) return;
    std::string rest = joined.substr(colon + 1);
    while (!rest.empty()) {
      const std::string item = NextToken(rest);
      if (!item.empty()) lists[list].push_back(item);
    }
  };
  for (++i; i < cmd.size(); ++i) {
    if (cmd[i]->Is(','))
      flush();
    else
      segment.push_back(cmd[i]->text);
  }
  flush();

  int introns = 0, exons = 0;
  for (const std::string& item : lists[0]) {
    int a = 0, b = 0;
    if (!ParseRange(item, nchar, a, b)) {
      codonsFailed = true;
      return;
    }
    TRegion r;
    r.regType = kRegIntron;
    r.regStart = a;
    r.regEnd = b;
    r.regName = "Intron" + std::to_string(++introns);
    regions.push_back(r);
  }
  const std::size_t codons = std::max({lists[1].size(), lists[2].size(), lists[3].size()});
  for (std::size_t k = 0; k < codons; ++k) {
    TRegion r;
    // Coding, not exon: an exon decides no codon position, so a file the NEXUS writer made
    // (or any other program's codon sets) would come back with its coding columns unanalysed.
    r.regType = kRegCds;
    bool any = false;
    for (int pos = 1; pos <= 3; ++pos) {
      if (k >= lists[pos].size()) continue;
      int a = 0, b = 0;
      if (!ParseRange(lists[pos][k], nchar, a, b)) {
        codonsFailed = true;
        return;
      }
      if (!any || a < r.regStart) {
        r.regStart = a;
        r.codonPos = pos;
      }
      r.regEnd = any ? std::max(r.regEnd, b) : b;
      any = true;
    }
    r.regName = "Exon" + std::to_string(++exons);
    regions.push_back(r);
  }
}

void NexusRead::ReadTaxSet(const Command& cmd) {
  std::size_t i = 1;
  if (i < cmd.size() && cmd[i]->text == "*" && !cmd[i]->quoted) ++i;
  if (i >= cmd.size()) return;
  TaxSet set{cmd[i]->text, {}, cmd[i]->line};
  while (i < cmd.size() && !cmd[i]->Is('=')) ++i;
  if (i < cmd.size()) set.items.assign(cmd.begin() + static_cast<std::ptrdiff_t>(i) + 1, cmd.end());
  taxsets.push_back(std::move(set));
}

}  // namespace

bool OpenNexus(const ByteSource& src, ReadContext& ctx, TDataProj& proj) {
  const NexusTokens lexed = TokeniseNexus(src.Bytes());
  const std::vector<NexusToken>& tokens = lexed.tokens;
  if (tokens.empty() || UpperCase(tokens[0].text) != "#NEXUS") {
    ctx.services.messages.Notify("This file is not a NEXUS file!");
    return false;
  }
  if (lexed.unclosedCommentLine > 0)
    ctx.ReportLine(lexed.unclosedCommentLine, "comment opened by '[' is never closed");
  if (lexed.unclosedQuoteLine > 0)
    ctx.ReportLine(lexed.unclosedQuoteLine, "quoted name is never closed");

  NexusRead read(ctx);
  bool sawData = false;
  std::size_t i = 1;
  while (i < tokens.size()) {
    if (UpperCase(tokens[i].text) != "BEGIN" || tokens[i].quoted) {
      ++i;
      continue;
    }
    const int blockLine = tokens[i].line;
    const std::string block = i + 1 < tokens.size() ? UpperCase(tokens[i + 1].text) : "";
    i += 2;
    if (i < tokens.size() && tokens[i].Is(';')) ++i;
    // The block's commands, each up to its ';'.
    std::vector<Command> commands;
    bool ended = false, open = false;
    while (i < tokens.size()) {
      const NexusToken& t = tokens[i++];
      if (!open) {
        if (t.Is(';')) continue;
        const std::string word = t.quoted ? "" : UpperCase(t.text);
        if (word == "END" || word == "ENDBLOCK") {
          ended = true;
          if (i < tokens.size() && tokens[i].Is(';')) ++i;
          break;
        }
        commands.emplace_back();
        open = true;
      }
      if (t.Is(';'))
        open = false;
      else
        commands.back().push_back(&t);
    }
    if (open && !commands.empty())
      ctx.ReportLine(commands.back()[0]->line,
                     "command " + commands.back()[0]->text + " is not closed by ';'");
    if (!ended) ctx.ReportLine(blockLine, "block " + block + " is not closed by END;");

    if (block == "TAXA") {
      for (const Command& cmd : commands) read.ReadTaxaCommand(cmd);
    } else if (block == "DATA" || block == "CHARACTERS") {
      sawData = true;
      if (!read.ReadDataBlock(commands))
        ctx.services.messages.Notify("File " + ctx.fileName +
                                     " does no contain any sequences\r\nor it is of wrong format");
    } else if (block == "CODONS") {
      for (const Command& cmd : commands)
        if (Upper(cmd[0]) == "CODONPOSSET") read.ReadCodons(cmd);
    } else if (block == "SETS") {
      for (const Command& cmd : commands)
        if (Upper(cmd[0]) == "TAXSET") read.ReadTaxSet(cmd);
    }
  }
  if (!sawData) ctx.Report("no DATA or CHARACTERS block; nothing to read");
  if (read.codonsFailed) {
    ctx.services.messages.Notify("code1: Can not assign coding regions");
    read.regions.clear();
  }

  int shortRows = 0;
  for (const Entry& e : read.entries)
    if (read.nchar > 0 && static_cast<int>(e.letters.size()) != read.nchar && shortRows++ == 0)
      ctx.ReportLine(e.line, "taxon " + e.name + " has " + std::to_string(e.letters.size()) +
                                 " characters, NCHAR is " + std::to_string(read.nchar));
  if (shortRows > 1) ctx.Report(std::to_string(shortRows) + " taxa do not have NCHAR characters");
  if (read.ntax > 0 && !read.entries.empty() && static_cast<int>(read.entries.size()) != read.ntax)
    ctx.Report("NTAX is " + std::to_string(read.ntax) + ", the matrix holds " +
               std::to_string(read.entries.size()) + " taxa");

  std::unique_ptr<ProgressScope> bar;
  if (ctx.showProgress && read.ntax > 0)
    bar = std::make_unique<ProgressScope>(ctx.services.progress, read.ntax + 2,
                                          "Reading Nexus file...");
  std::vector<std::string> entryNames;  // as the sets name them, before any "~k" suffix
  for (const Entry& e : read.entries) entryNames.push_back(e.name);
  std::unique_ptr<TDataSeq> ds = proj.MakeDataset();
  ds->dsName = FileNameOnly(ctx.fileName);
  ds->dsSourceFile = ctx.fileName;
  int added = 0;
  for (Entry& e : read.entries) {
    auto seq = std::make_unique<TSeq>(std::move(e.name), std::move(e.letters));
    seq->sourceFormat = kSourceNexus;
    for (const TRegion& r : read.regions) seq->AddRegion(r);
    if (ds->AddSeq(seq, true) < 0) break;
    ++added;
    if (bar) bar->Step(false);
  }
  bar.reset();
  if (added == 0) return false;
  const int count = ds->Count();
  std::vector<std::string> names;
  for (int row = 1; row <= count; ++row) names.push_back(ds->SeqAt(row)->seqName);
  const int dsIndex = proj.AddDataset(ds, false);

  std::vector<std::pair<int, std::vector<bool>>> groups;  // key, members
  std::unordered_map<std::string, std::vector<int>> resolved;
  entryNames.resize(static_cast<std::size_t>(count));  // taxa past a full dataset are not read
  for (const TaxSet& set : read.taxsets) {
    TaxSetMembers found = ResolveTaxSet(set.items, entryNames, resolved);
    if (!found.unknown.empty()) {
      std::string list;
      for (std::size_t k = 0; k < found.unknown.size() && k < 5; ++k)
        list += (k > 0 ? ", " : "") + found.unknown[k];
      if (found.unknown.size() > 5) list += ", ...";
      ctx.ReportLine(set.line, "TAXSET " + set.name + ": " + std::to_string(found.unknown.size()) +
                                   " item(s) name no taxon: " + list);
    }
    TGroup group;
    group.grpName = set.name;
    if (UpperCase(set.name) == "OUTGROUPS") group.grpKey = kOutgroupKey;
    group.grpMembers.assign(static_cast<std::size_t>(count), false);
    for (const int k : found.members)
      if (k >= 1 && k <= count) group.grpMembers[static_cast<std::size_t>(k - 1)] = true;
    resolved[NexusNameKey(set.name)] = std::move(found.members);
    std::vector<bool> members = group.grpMembers;
    const int key = proj.AddGroup(std::move(group));
    if (key != -1) groups.emplace_back(key, std::move(members));
  }
  if (dsIndex >= 0 && proj.DatasetCount() == 1) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& [key, members] : groups) {
      const std::string groupName = proj.GroupName(proj.GroupIndexByKey(key));
      for (int k = 0; k < count; ++k)
        if (members[static_cast<std::size_t>(k)])
          pairs.emplace_back(names[static_cast<std::size_t>(k)], groupName);
    }
    proj.AssignSeqsToGroups(dsIndex, pairs);
  }
  return true;
}
