#include <gtest/gtest.h>

#include <QMdiArea>

#include "app/ui/form1.h"
#include "version.h"

namespace qz {
namespace {

TEST(Form1, OpensWithMdiAreaAndCaption) {
  TForm1 form;
  ASSERT_NE(form.Mdi(), nullptr);
  EXPECT_EQ(form.centralWidget(), form.Mdi());
  EXPECT_EQ(form.windowTitle(), QString("QzmSoft - Simulation V ") + QZ_VERSION);
}

}  // namespace
}  // namespace qz
