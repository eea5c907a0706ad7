// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's assembly commands that open windows: "&Assemble contigs" (phrap's contigs in a
// new window), "In a new project" (the consensus sequences in a new window) and "Show contig"
// (the read inside the file it came from).
#pragma once

class TSeqGridFrm;

void Assemblecontigs1Click(TSeqGridFrm& window);
void Inthenewproject1Click(TSeqGridFrm& window);
void Showcontig1Click(TSeqGridFrm& window);
