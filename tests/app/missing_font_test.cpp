// A machine without any installed font: the device of the game is made, the
// missing faces are logged and the player is told in a message box. The run
// happens in a child process of its own, since the font library reads which
// fonts exist once per process.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "app/app_presentation.h"
#include "app/device_objects.h"
#include "foundation/text.h"
#include "platform/frame.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "world/headless_presentation.h"

namespace tr {
namespace {

// True when the device was made; the folder is gone when it returns.
bool MadeDeviceWithoutFonts() {
  test::TempDir folder;
  const auto config = folder.path() / "no-fonts.conf";
  std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
  setenv("FONTCONFIG_FILE", config.c_str(), 1);

  test::LogCapture log;
  cAppPresentation presentation;
  ScopedPresentation use(presentation);
  auto frame = AppFrame::CreateHeadless(1024, 768);
  frame->SetDeviceCallbacks(&OnDeviceCreated, &OnDeviceReset, &OnDeviceLost, &OnDeviceDestroyed);
  const bool made = Succeeded(frame->CreateWindowAndDevice({u"", 1024, 768, false}));
  frame.reset();
  // The parent reads what the child logged.
  for (const std::u16string& line : log.lines()) std::fprintf(stderr, "%s\n", Utf16ToUtf8(line).c_str());
  return made;
}

// The exit leaves the stack as it is: the temporary folder is removed before it.
void MakeDeviceWithoutFonts() { std::exit(MadeDeviceWithoutFonts() ? 0 : 1); }

TEST(MissingFontDeathTest, TheMissingFaceIsLoggedAndShownInAMessageBox) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(MakeDeviceWithoutFonts(), testing::ExitedWithCode(0),
              "Font \"Arial\" \\(15, 700\\) not found.*Message box \"Missing font\": No installed font was "
              "found for \"Arial\"");
}

}  // namespace
}  // namespace tr
