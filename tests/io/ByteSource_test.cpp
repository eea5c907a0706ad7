// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/ByteSource.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

TEST(FileSource, GivesTheWholeFileOrNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.path().toStdString() + "/a.fas";
  const std::string text = std::string(">a\r\nAC\x1aGT\n") + std::string(3'000'000, 'A');
  std::ofstream(path, std::ios::binary) << text;
  FileSource file;
  ASSERT_TRUE(file.Open(path));
  EXPECT_EQ(file.Bytes(), text);

  const std::string empty = dir.path().toStdString() + "/empty.fas";
  std::ofstream(empty, std::ios::binary).flush();
  ASSERT_TRUE(file.Open(empty));
  EXPECT_TRUE(file.Bytes().empty());
  EXPECT_TRUE(FileReadable(empty));

  EXPECT_FALSE(file.Open(dir.path().toStdString() + "/missing.fas"));
  EXPECT_TRUE(file.Bytes().empty());
  EXPECT_FALSE(FileReadable(dir.path().toStdString() + "/missing.fas"));
}

TEST(FileSource, ReadsStreams) {
  std::istringstream in(std::string("#NEXUS\n\0x", 9));
  FileSource source;
  ASSERT_TRUE(source.ReadAll(in));
  EXPECT_EQ(source.Bytes(), std::string_view("#NEXUS\n\0x", 9));
}

TEST(MemorySource, OwningCopySurvivesAMove) {
  MemorySource first = MemorySource::Owning(std::string(40, 'G'));
  const MemorySource moved(std::move(first));
  EXPECT_EQ(moved.Bytes(), std::string(40, 'G'));
}
