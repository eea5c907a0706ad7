// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QTest>

#include "ui/shell/CLXMain.h"

TEST(TMainForm, StartsAsAMultipleDocumentWindowTitledNodrix3) {
  TMainForm form;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(form.windowTitle(), QString("Nodrix3"));
  ASSERT_NE(form.MdiArea(), nullptr);
  EXPECT_TRUE(form.MdiArea()->subWindowList().isEmpty());
}
