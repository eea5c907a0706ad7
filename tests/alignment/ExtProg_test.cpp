// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>

#include "alignment/ExtProgUnit.h"
#include "io/IoTestFiles.h"
#include "support/RecordingServices.h"

TEST(SpinnerAt, TheLastMultipleRuleThatHoldsWins) {
  std::string turns;
  char c = '|';
  for (int n = 1; n <= 14; ++n) turns.push_back(c = SpinnerAt(n, c));
  // 6 = 2*3 gives '-', 10 = 2*5 '\', 14 = 2*7 '/'; 1, 11 and 13 keep the character before.
  EXPECT_EQ(turns, "|-|-\\-/-|\\\\--/");
}

TEST(TExtProg, RunAndWaitGivesTheExitCodeOrSaysTheProgramCannotRun) {
  RecordingServices svc;
  TExtProg runner(svc);
  TestFolder dir("extprog");
  const std::string script = dir.Write("prog.sh", "#!/bin/sh\necho oops >&2\nexit 4\n");
  QFile::setPermissions(QString::fromStdString(script),
                        QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(runner.RunAndWait(script, {}, dir.Path(), "Running"), 4);
  EXPECT_FALSE(runner.Succeeded());
  EXPECT_EQ(runner.ErrorOutput(), "oops\n");
  EXPECT_EQ(runner.RunAndWait(dir.File("missing"), {}, dir.Path(), "Running"), 1);
  EXPECT_EQ(svc.messages.notices, std::vector<std::string>{"Could not execute the application"});
  EXPECT_EQ(FindProgram(dir.Path(), {"missing", "prog.sh"}, {}), script);
  EXPECT_EQ(FindProgram(dir.Path(), {"missing"}, {}), "");
}
