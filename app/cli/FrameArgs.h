// SPDX-License-Identifier: GPL-3.0-or-later
// The options of the analysis frame on the command line, shared by the analysis commands,
// and reading the file an analysis runs on.
#pragma once
#include <string>
#include <vector>

#include "analysis/BaseDbox1.h"

class TDataProj;
struct CliServices;

enum class ArgUse { Used, NotMine, Bad };

// Takes the frame option at args[i] (and its value, moving i past it): --current,
// --groups FILE, --sites all|noncoding|coding[:123], --mutations all|silent|nonsilent,
// --gaps ignored|polym|indels-only, --ambiguity ignored|removed, --ignore-cds,
// --region FROM-TO, --table OUT.csv, --pop-table.
ArgUse ParseFrameArg(const std::vector<std::string>& args, std::size_t& i, FrameOptions& fo,
                     std::string& groupsFile);

// The usage lines of those options, indented for a command's usage text.
extern const char* const kFrameArgsUsage;

// Whole-number text; false unless all of it is a number.
bool ToInt(const std::string& s, int& v);

// Reads the file (format detected), assigns the groups file's sequences ("sequence,group"
// lines; "Outgroups" marks an outgroup) and selects every sequence for analysis. False, with
// the reason on stderr, when nothing could be read.
bool LoadAnalysisProject(const std::string& file, const std::string& groupsFile, TDataProj& project,
                         CliServices& cli);
