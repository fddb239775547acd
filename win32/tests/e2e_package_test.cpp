// The release as a user gets it: QuenlitX.exe started from the unzipped folder,
// not from the build, in a folder whose path holds Japanese characters and a
// blank. packaging/check.py unzips dist/'s zip and runs this test with
// QUENLIT_PACKAGE_DIR naming that folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "Driver.h"
#include "QuenlitVersion.h"
#include "win32/base/Ids.h"

using namespace quenlit::e2e;
namespace win = quenlit::win;

TEST(Package, UnzippedProgramRunsFromAJapaneseFolderWithBlanksAndShowsTheOutline) {
  const wchar_t* named = _wgetenv(L"QUENLIT_PACKAGE_DIR");
  ASSERT_TRUE(named && *named) << "QUENLIT_PACKAGE_DIR must name the unzipped release (packaging/check.py sets it)";
  const fs::path dir = fs::path(named).make_preferred();
  const std::wstring where = dir.wstring();
  ASSERT_TRUE(fs::is_regular_file(dir / L"QuenlitX.exe")) << "no QuenlitX.exe in " << toUtf8(where);
  ASSERT_FALSE(fs::equivalent(dir, binDir())) << "the unzipped folder must not be the build's";
  ASSERT_NE(where.find(L' '), std::wstring::npos) << toUtf8(where);
  ASSERT_TRUE(std::any_of(where.begin(), where.end(), [](wchar_t c) { return c >= 0x3000; })) << toUtf8(where);

  const fs::path sample = dir.parent_path() / L"サンプル 関数.lsp";
  fs::remove(sample);  // left by an earlier run: overwrite_existing fails under mingw
  fs::copy_file(projectRoot() / "samples" / "demo.lsp", sample);
  const OutlineRows outline = cliOutline(sample.wstring(), dir / L"quenlit.exe");
  ASSERT_FALSE(outline.empty());
  {
    App app(dir);
    ASSERT_TRUE(app.started());
    // The example target list in the zip names the default target.
    EXPECT_TRUE(waitFor([&] { return app.caption() == L"QuenlitX [ BricsCAD ]"; })) << toUtf8(app.caption());
    app.drop({sample});
    ASSERT_TRUE(waitFor([&] { return app.text(win::kIdEdit1) == L"サンプル 関数.lsp"; }));
    EXPECT_EQ(shown(app.tree()), outline);
    EXPECT_FALSE(app.pane().empty());
    EXPECT_EQ(app.infoBox(win::kIdN18), L"QuenlitX.exe " QUENLIT_VERSION "\nCopyright (C) 2025 QuenlitX developers");
    ASSERT_TRUE(app.close());
  }
  // Settings and history beside the program bring the file back at the next start.
  App again(dir);
  ASSERT_TRUE(again.started());
  EXPECT_TRUE(waitFor([&] { return again.text(win::kIdEdit1) == L"サンプル 関数.lsp"; }));
  EXPECT_EQ(shown(again.tree()), outline);
}
