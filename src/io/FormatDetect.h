// SPDX-License-Identifier: GPL-3.0-or-later
// Format detection from the first bytes of a file, and the access check every open runs first.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "common/Services.h"

// Detection never reads more than this: every test looks at the first line, the first 201
// characters, a magic number or lines near the top, so a multi-gigabyte file is never read
// whole just to guess its format.
constexpr std::size_t kDetectPrefixBytes = 64 * 1024;

// The format code of a file whose first bytes are `prefix` (at most kDetectPrefixBytes of it
// are looked at) and whose name is `path`; 0 when nothing matches. A first line beginning
// with ">" is FASTA whatever else that line holds, so a header such as ">chrms1" is never
// taken for ms output, a BLAST report or a Clustal or ACE header.
[[nodiscard]] int DetectFormatBytes(std::string_view prefix, std::string_view path);

// Text formats are refused for a file whose first kTextCheckBytes hold a NUL or another
// control byte than CR, LF, tab and character 26: it is binary, whatever '>' it holds.
constexpr std::size_t kTextCheckBytes = 1024;
[[nodiscard]] bool LooksBinary(std::string_view prefix);

// The same test on the first bytes of a file; false when it cannot be read.
[[nodiscard]] bool FileLooksBinary(const std::string& path);
// "Unable to recognise format of the file: ..." for a binary file no text reader may read.
[[nodiscard]] std::string BinaryFileMessage(const std::string& path);

// ".phy" or ".phylip", any case: read as PHYLIP when the content does not say otherwise.
[[nodiscard]] bool IsPhylipName(std::string_view path);

// Reads the bounded prefix of the file and detects its format. When the file cannot be
// opened the I/O message goes to messages.Notify and 0 comes back.
[[nodiscard]] int DetectFormat(const std::string& path, IMessages& messages);

// 0 when the file can be opened for reading, else the runtime's input/output error code:
// 2 file not found, 3 path not found, 5 access denied (also for a folder), 32 sharing/other.
[[nodiscard]] int CheckFileAccess(const std::string& path);

// "cannot open '<path>': <the system's reason>" ("No such file or directory", "is a
// directory", "Permission denied"); empty when the file can be opened for reading.
[[nodiscard]] std::string CannotOpenMessage(const std::string& path);

// "I/O Error <code>", with the read-only explanation for code 5.
[[nodiscard]] std::string IoErrorMessage(int code, const std::string& path);
