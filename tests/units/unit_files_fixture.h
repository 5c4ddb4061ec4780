// A unit world with a temporary game folder: scenario tables are written
// under data/scenarios/s and saves go to data/save/out.
#pragma once

#include <string>

#include "foundation/paths.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "units/unit_fixture.h"
#include "world/headless_presentation.h"

namespace tr::test {

inline constexpr std::u16string_view kScenario = u"data\\scenarios\\s\\%s";
inline constexpr std::u16string_view kSaveFolder = u"data\\save\\out";
inline constexpr std::u16string_view kSaveTemplate = u"data\\save\\out\\%s";

class UnitFiles : public UnitWorld {
 protected:
  UnitFiles() : screen_(presentation_) {
    SetGameRoot(dir_.path());
    dir_.Write("data/save/out/.keep", "");
  }
  ~UnitFiles() override { SetGameRoot({}); }

  void Scenario(const std::string& file, const std::string& bytes) { dir_.Write("data/scenarios/s/" + file, bytes); }
  std::string Saved(const std::string& file) { return dir_.Read("data/save/out/" + file); }

  TempDir dir_;
  cHeadlessPresentation presentation_;
  ScopedPresentation screen_;
};

// A 33-column land row; the parts that tests vary come first.
inline std::string LandRow(int id, const std::string& name, int owner, int x, int y, int type = 0,
                           int commander = -1, int reserve = 0, int transporter = -1, int mulberryTime = -1) {
  return std::to_string(id) + ";" + name + ";" + std::to_string(owner) + ";" + std::to_string(x) + ";" +
         std::to_string(y) + ";" + std::to_string(type) + ";2;80;3;1;0;4;5;6;" + std::to_string(transporter) + ";" +
         std::to_string(commander) + ";" + std::to_string(reserve) + ";1.5;2;7;8;9;10;11;12;13;14;" +
         std::to_string(mulberryTime) + ";0;16;17;18;19;\r\n";
}

// A 19-column air row.
inline std::string AirRow(int id, const std::string& name, int owner, int x, int y, int reserve, int recon = 1) {
  return std::to_string(id) + ";" + name + ";" + std::to_string(owner) + ";" + std::to_string(x) + ";" +
         std::to_string(y) + ";21;3;60;-1;1;0;2;3;4;5;" + std::to_string(reserve) + ";7;" + std::to_string(recon) +
         ";2;\r\n";
}

}  // namespace tr::test
