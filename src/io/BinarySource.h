// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file access for the binary formats: reading a file into memory, saving through a
// temporary file that replaces the target only when complete, and path pieces.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Reads the whole file into out. False with a message naming the file when it cannot be
// opened or read; a file larger than maxBytes is refused before anything is allocated.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& out, std::string& error,
                                 std::uint64_t maxBytes = std::uint64_t{1} << 32);

// Reads at most count bytes from the start of a file (format detection, magic checks).
[[nodiscard]] bool ReadFilePrefix(const std::string& path, std::uint64_t count, std::string& out);

// Writes bytes to a temporary file beside path and renames it over path. When anything
// fails the previous file stays as it was and error says why.
[[nodiscard]] bool SaveFileAtomically(const std::string& path, std::string_view bytes,
                                      std::string& error);

[[nodiscard]] bool FileExists(const std::string& path);
std::string FileNameOf(const std::string& path);        // "dir/a.b.ab1" -> "a.b.ab1"
std::string FileBaseNameOf(const std::string& path);    // "dir/a.b.ab1" -> "a.b"
std::string WithoutExtension(const std::string& path);  // "dir/a.b.ab1" -> "dir/a.b"
std::string FolderOf(const std::string& path);          // "dir/a.ab1" -> "dir" ("." if none)
