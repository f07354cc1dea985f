#include "core/profile/ProfileFile.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {

using kw::IniFile;
using kw::MachineProfile;

// The file a profile at its defaults makes when written into an empty file: every key in
// the order it is written, sections in the order they are first written, each key at the end
// of its section and a blank line between sections.
std::string expectedDefaultText() { return kwtest::readFile(KERFWERK_TEST_DATA "/core/profile/default-profile.ini"); }

TEST(ProfileFileSave, DefaultProfileWritesEveryKeyInFileOrder) {
  IniFile ini;
  kw::Svini(MachineProfile(), ini);
  EXPECT_EQ(ini.text(), expectedDefaultText());
}

TEST(ProfileFileSave, ReplacesKeysInPlaceAndKeepsOtherLines) {
  IniFile ini = IniFile::fromText("; my mill\r\n[LABELS]\r\nXY PLANE=G17\r\n[Extra]\r\nfoo=bar\r\n");
  MachineProfile p;
  p.setCell(20, 1, "G17.1");
  kw::Svini(p, ini);
  const std::string text = ini.text();
  EXPECT_EQ(text.rfind("; my mill\r\n[LABELS]\r\nXY PLANE=G17.1\r\nFile Start=\r\nTitle0=\r\n", 0), 0u);
  EXPECT_EQ(text.find("XY Plane="), std::string::npos);
  EXPECT_NE(text.find("\r\n[Extra]\r\nfoo=bar\r\n"), std::string::npos);
}

// "control=value|control=value": settings given before a load or expected after it.
std::vector<std::pair<std::string, std::string>> settings(const std::string& list) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (std::size_t at = 0; at < list.size();) {
    const std::size_t bar = std::min(list.find('|', at), list.size()), eq = list.find('=', at);
    pairs.emplace_back(list.substr(at, eq - at), list.substr(eq + 1, bar - eq - 1));
    at = bar + 1;
  }
  return pairs;
}

TEST(ProfileFileLoad, EdgeCases) {
  struct LoadCase {
    const char* name;
    std::string before, ini, expected;
  };
  const LoadCase cases[] = {
      {"two baud keys set: the later wins", "", "[Baud]\n9600=1\n19200=1\n", "RadioButton6=0|RadioButton7=1"},
      {"no baud key set: none selected", "RadioButton3=1", "[Baud]\n300=0\n600=0\n1200=0\n9600=0\n19200=0\n",
       "RadioButton1=0|RadioButton3=0|RadioButton6=0|RadioButton7=0|RadioButton26=0"},
      {"numbers limited to range", "",
       "[Plotting]\nCirres=50\nangstep=0\n[Buffer]\nBufferSize=1\n[Transmit]\nStart=-5\nEnd=300\n"
       "[Tape]\nHeaderLen=5000\nHeaderChar=-3\n",
       "PlotResSpinEdit=20|AngStepSpinEdit=1|BufferSpinEdit1=2|FileStartSpinEdit=-1|FileEndSpinEdit=255|"
       "HeaderLenSpinEdit=1000|HeaderCharSpinEdit=0"},
      {"non-integers read as the default", "RCheckbox=1|PlotResSpinEdit=9",
       "[Dxf]\nR Instead=yes\n[Plotting]\nCirres=7.5\n", "RCheckbox=0|PlotResSpinEdit=5"},
      {"numbers kept as text read leniently", "",
       "[Options]\nLinenum=5x\nStartLine=-7\nXViewAnglel=200\nYViewAnglel=-45\nZViewAnglel=-5x\n",
       "LineNum=5|StartLine=1|XViewangle=180|YViewangle=-45|ZViewAngle=5"},
      {"empty and missing line numbers", "StartLine=500", "[Options]\nLinenum=\n",
       "LineNum=1|StartLine=1|XViewangle=0"},
      {"number text read through its first 40 characters", "", "[Options]\nStartLine=" + std::string(39, ' ') + "77\n",
       "StartLine=7"},
      {"font size above 20", "", "[Font]\nName=Courier New\nSize=24\n", "FontName=Courier New|FontSize=10"},
      {"font size missing", "FontSize=14", "", "FontSize=10"},
      {"font size in range", "", "[Font]\nSize=6\n", "FontSize=6"},
      {"every lead-in key set: the last read wins", "",
       "[Dxf]\nArcLineLead In=1\nLineArcLead In=1\nLead In=1\nCircle Lead In=1\nArc Circle Lead In=1\n",
       "ArcinLineOutCheckBox=0|LineArcleadinCheckBox=0|EditOnlyCheckBox=0|CircleCheckBox=0|ArcleadinCheckBox=1"},
      {"both swaps set: swap Y Z wins", "", "[Dxf]\nSwapXY=1\nSwapYZ=1\n", "SwapXY=0|SwapYZ=1"},
      {"R read before four quadrants", "", "[Dxf]\nR Instead=1\n[Options]\nIJFOURQUAD=0\n", "RCheckbox=1|IJFOURQUAD=0"},
      {"R read after DesignCad and before Bridgeport", "",
       "[Dxf]\nDesignCad=1\nR Instead=1\n[Options]\nBridgeport IJ=1\nIJFOURQUAD=1\n",
       "DesignCad=0|RCheckbox=0|Bridgeport=1|IJFOURQUAD=1"},
      {"Z Included read after Corel", "", "[Dxf]\nCorel=1\nZ Include=1\n", "Corel=1|IncludeZCheckBox=1"},
      {"transmit line end group", "", "[Options]\nCr=1\nCrLf=1\n", "RadioButton16=0|RadioButton17=1"},
      {"texts exactly, defaults for missing ones", "EllipseEdit=12",
       "[Dxf]\nLayer= CUT 1 \nDecimal Places=4\n[Options]\nLineEnds=\n",
       "EditLayer= CUT 1 |DpEdit=4|LineEnds=|EllipseEdit=360|LeadInEdit=0.500"},
  };
  for (const auto& c : cases) {
    MachineProfile p;
    for (const auto& [control, value] : settings(c.before)) ASSERT_TRUE(p.setFromText(control, value, nullptr));
    kw::Ldini(p, IniFile::fromText(c.ini));
    for (const auto& [control, value] : settings(c.expected))
      EXPECT_EQ(p.valueText(control), value) << c.name << ": " << control;
  }
}

TEST(ProfileFileLoad, KeysInCapitalsFillTheTable) {
  MachineProfile p;
  kw::Ldini(p, IniFile::fromText("[labels]\r\nXY PLANE=G17\r\nTITLE20=XY plane\r\nTRANS129=G0\r\n"));
  EXPECT_EQ(std::vector<std::string>({p.cell(20, 1), p.cell(20, 0), p.cell(29, 1), p.cell(0, 2), p.cell(98, 2)}),
            std::vector<std::string>({"G17", "XY plane", "G0", "1", "99"}));
}

// A profile where every setting and every stored cell differs from its default.
MachineProfile changedProfile(bool reverseFlags) {
  MachineProfile p;
  const auto& defs = kw::settingDefs();
  for (std::size_t n = 0; n < defs.size(); ++n) {
    const auto& d = defs[reverseFlags ? defs.size() - 1 - n : n];
    switch (d.kind) {
      case kw::SettingKind::Bool:
        p.setFlag(d.control, true);
        break;
      case kw::SettingKind::Int:
      case kw::SettingKind::IntText:
        p.setNumber(d.control, d.hasRange ? d.minValue + (d.maxValue - d.minValue) / 3 : 14);
        break;
      case kw::SettingKind::Text:
        p.setText(d.control, " " + std::string(d.control) + "=x [y] ;\xe9 ");
        break;
    }
  }
  for (int row = 0; row < 92; ++row)
    for (int col = 0; col < 2; ++col)
      p.setCell(row, col, "r" + std::to_string(row) + " c" + std::to_string(col) + "=G ");
  return p;
}

TEST(ProfileFileRoundTrip, LoadReturnsWhatWasSaved) {
  for (bool reverse : {false, true}) {
    const MachineProfile saved = changedProfile(reverse);
    IniFile ini;
    kw::Svini(saved, ini);

    MachineProfile loaded;
    for (int row = 92; row < 99; ++row) loaded.setCell(row, 0, "kept" + std::to_string(row));
    kw::Ldini(loaded, IniFile::fromText(ini.text()));

    int flagsOn = 0;
    for (const auto& d : kw::settingDefs()) {
      EXPECT_EQ(loaded.valueText(d.control), saved.valueText(d.control)) << d.control;
      flagsOn += d.kind == kw::SettingKind::Bool && saved.flag(d.control);
    }
    EXPECT_GE(flagsOn, 30);  // the comparison covers checked options, not only cleared ones
    for (int row = 0; row < 99; ++row) {
      const bool stored = row < 92;  // the file keeps rows 1 to 92 of the 99
      EXPECT_EQ(loaded.cell(row, 0), stored ? saved.cell(row, 0) : "kept" + std::to_string(row)) << row;
      EXPECT_EQ(loaded.cell(row, 1), saved.cell(row, 1)) << row;
      EXPECT_EQ(loaded.cell(row, 2), std::to_string(row + 1)) << row;
    }
  }
}

TEST(ProfileFileLoad, MissingFileGivesEveryDefault) {
  MachineProfile p = changedProfile(false);
  kw::Ldini(p, IniFile());
  IniFile ini;
  kw::Svini(p, ini);
  EXPECT_EQ(ini.text(), expectedDefaultText());
  const MachineProfile fresh;
  for (const auto& d : kw::settingDefs()) EXPECT_EQ(p.valueText(d.control), fresh.valueText(d.control)) << d.control;
}

}  // namespace
