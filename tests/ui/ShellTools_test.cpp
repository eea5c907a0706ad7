// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include "ShellFixture.h"
#include "editor/FragmentFasta.h"

namespace {
void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}
}  // namespace

TEST(TMainFormTools, RunProgramShowsTheGTestOfEightyAndTen) {
  ShellFixture f;
  f.Action("RunProgram1")->trigger();
  // By hand: G = 2 (80 ln(80/67.5) + 10 ln(10/22.5)) = 10.96524, P = 0.00093.
  EXPECT_EQ(f.dialogs.notices, std::vector<std::string>{"G =10.96524 P=0.00093 df=1"});
}

TEST(TMainFormTools, FragmentFastaRefusesAZeroStepWithAClearMessage) {
  ShellFixture f;
  QTemporaryDir dir;
  const QString input = dir.filePath("genome.fas");
  Write(input, ">chr\n" + QByteArray(800, 'A') + "\n");
  f.form->RunFragmentFasta(input, FragmentOptions{100, 500, 0});
  ASSERT_EQ(f.dialogs.notices.size(), 1u);
  EXPECT_NE(f.dialogs.notices[0].find("step size"), std::string::npos);
  EXPECT_FALSE(QFile::exists(input + "_1.fq"));

  f.form->RunFragmentFasta(input, FragmentOptions{});
  // 800 letters: m = trunc((800 - 500 - 200) / 10) = 10 pairs.
  ASSERT_EQ(f.dialogs.notices.size(), 2u);
  EXPECT_EQ(f.dialogs.notices[1], "Saved 10 paired reads to files \r\n" +
                                      (input + "_1.fq").toStdString() + "\r\n" +
                                      (input + "_2.fq").toStdString());
  EXPECT_TRUE(QFile::exists(input + "_2.fq"));
  EXPECT_FALSE(f.form->IsBusy());
}

TEST(TMainFormTools, ProcFastqPEAsksFirstAndReportsWhereItStopped) {
  ShellFixture f;
  QTemporaryDir dir;
  const QString input = dir.filePath("pairs.fq");
  Write(input, "@a/1\nAC\n+\nIJ\n@a/2\nAAC\n+\nIJK\nnot a record\n");
  f.dialogs.answers = {false};
  f.form->RunProcFastqPE(input);
  EXPECT_FALSE(QFile::exists(input + ".out"));
  EXPECT_TRUE(f.dialogs.notices.empty());

  f.dialogs.answers = {true};
  f.form->RunProcFastqPE(input);
  ASSERT_EQ(f.dialogs.questions.size(), 2u);
  EXPECT_EQ(f.dialogs.questions[1],
            "This will reverse-complement every read with name ending \"/2\" (2nd read in a pair). "
            "Proceed?");
  EXPECT_EQ(f.dialogs.notices, std::vector<std::string>{"Converted file was saved to " +
                                                        (input + ".out").toStdString()});
  QFile out(input + ".out");
  ASSERT_TRUE(out.open(QIODevice::ReadOnly));
  EXPECT_EQ(out.readAll(),
            QByteArray("@a/1\r\nAC\r\n+a/1\r\nIJ\r\n@a/2\r\nGTT\r\n+a/2\r\nKJI\r\n"));
  EXPECT_TRUE(f.form->Messages() != nullptr);
}
