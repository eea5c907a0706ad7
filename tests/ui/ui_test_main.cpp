// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the widget tests inside one QApplication, offscreen unless a platform is chosen.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
