#include "install_path.h"
#include "test_ports.h"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

using testing::TempFolder;

TEST(InstallPath, backslashPathsUseNativeSeparators) {
  TempFolder work;
  EXPECT_EQ(resolveInstallPath(work.path(), "\\Cfg\\BrimstelLocatorVersion.cfg"),
            work.path() / "Cfg" / "BrimstelLocatorVersion.cfg");
  EXPECT_EQ(resolveInstallPath(work.path(), "/Cfg//x.cfg"), work.path() / "Cfg" / "x.cfg");
}

TEST(InstallPath, namesAreFoundWhateverTheirCase) {
  TempFolder work;
  const auto file = work.write("CFG/brimstellocatorversion.CFG", "A=1.0\n");
  EXPECT_EQ(resolveInstallPath(work.path(), "\\Cfg\\BrimstelLocatorVersion.cfg"), file);
}

TEST(InstallPath, anExactNameWinsOverAnotherCase) {
  TempFolder work;
  work.write("cfg/a.cfg", "");
  const auto exact = work.write("Cfg/a.cfg", "");
  EXPECT_EQ(resolveInstallPath(work.path(), "\\Cfg\\a.cfg"), exact);
}

} // namespace
} // namespace tarnwick
