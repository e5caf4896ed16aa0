#include "command_line.h"

#include <gtest/gtest.h>

#include "spectrum_error.h"
#include "test_support.h"

namespace tessalin::spectrum {
namespace {

TEST(CommandLine, DefaultsMakeTheBodyBeamAt120Kv) {
  const CommandLine line = ParseCommandLine({});
  EXPECT_FALSE(line.Help);
  EXPECT_EQ(line.Options.Model, TubeModel::Tasmics);
  EXPECT_EQ(line.Options.Kv, 120);
  ASSERT_EQ(line.Options.Filters.size(), 1u);
  EXPECT_EQ(line.Options.Filters[0].Kind, Material::Al);
  EXPECT_EQ(line.Options.Filters[0].Thickness, DEFAULT_FLAT_ALUMINIUM);
  EXPECT_EQ(line.Options.Bowtie.Name, "body");
  EXPECT_EQ(line.Options.Positions, GeneratorOptions::DefaultPositions());
  EXPECT_EQ(line.Options.Positions.size(), 21u);
  EXPECT_EQ(line.Output, "W120kV_body.csv");
}

TEST(CommandLine, ReadsEveryOption) {
  const CommandLine line = ParseCommandLine(
      {"--kv",        "80.5",        "--model", "TASMIP", "--filter",  "Al:2,cu:0.1",
       "--filter",    "PTFE:3",      "--hvl",   "5",      "--bowtie",  "head",
       "--positions", "0:25:2.5",    "--sad",   "54.1",   "--comment", "my beam",
       "--data",      "/some/where", "-o",      "out.csv"});
  const GeneratorOptions& o = line.Options;
  EXPECT_EQ(o.Kv, 80.5);
  EXPECT_EQ(o.Model, TubeModel::Tasmip);
  ASSERT_EQ(o.Filters.size(), 3u);
  EXPECT_EQ(o.Filters[1].Kind, Material::Cu);
  EXPECT_EQ(o.Filters[1].Thickness, 0.1);
  EXPECT_EQ(o.Filters[2].Kind, Material::PTFE);
  EXPECT_EQ(o.TargetHvl1, 5.0);
  EXPECT_EQ(o.Bowtie.Name, "head");
  EXPECT_EQ(o.Positions, (std::vector<double>{0, 2.5, 5, 7.5, 10, 12.5, 15, 17.5, 20, 22.5, 25}));
  EXPECT_EQ(o.SourceAxisDistance, 54.1);
  EXPECT_EQ(o.Comment, "my beam");
  EXPECT_EQ(line.DataFolder, std::filesystem::path("/some/where"));
  EXPECT_EQ(line.Output, "out.csv");
  EXPECT_EQ(DefaultOutputName(o), "W80.5kV_head_tasmip.csv");
  EXPECT_TRUE(ParseCommandLine({"--kv", "999", "--help"}).Help);
  // A target HVL alone means no default aluminium beneath it.
  EXPECT_TRUE(ParseCommandLine({"--hvl", "7.6"}).Options.Filters.empty());
}

TEST(CommandLine, ImpossibleInputsAreErrorsNamingTheCause) {
  struct Case {
    std::vector<std::string> Arguments;
    const char* Message;  // part of the error text
  };
  const Case cases[] = {
      {{"--kv", "151"}, "outside the TASMICS model's range of 20 to 150 kV"},
      {{"--kv", "19"}, "outside"},
      {{"--model", "tasmip", "--kv", "145"}, "TASMIP model's range of 30 to 140 kV"},
      {{"--kv", "12O"}, "\"12O\" is not a number"},
      {{"--positions", "0:26:1"}, "27 directions given; the setup window takes at most 26"},
      {{"--positions", "0,2,1"}, "positions must increase"},
      {{"--positions", "0,1,1"}, "positions must increase"},
      {{"--positions", "1,2"}, "the first direction must be the central one"},
      {{"--positions", "0,0.25"}, "multiples of 0.1 cm"},
      {{"--positions", "0,10,26", "--bowtie", "body"}, "outside the bow-tie profile"},
      {{"--positions", "0:10:3"}, "whole steps"},
      {{"--filter", "Al:-1"}, "negative thickness"},
      {{"--filter", "Pb:1"}, "unknown material \"Pb\""},
      {{"--filter", "Al"}, "MATERIAL:MM"},
      {{"--hvl", "0"}, "target HVL1 must be a positive"},
      {{"--sad", "-60"}, "distance must be a positive"},
      {{"--bowtie", "bdy"}, "neither body, head, none nor a table file"},
      {{"--model", "spline"}, "neither tasmics nor tasmip"},
      {{"--comment", "\xe6\xb0\xb4"}, "printable ASCII"},
      {{"--kv"}, "--kv: a value is missing"},
      {{"--volts", "120"}, "unknown option \"--volts\""},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const auto& a : c.Arguments) joined += a + " ";
    SCOPED_TRACE(joined);
    try {
      ParseCommandLine(c.Arguments);
      ADD_FAILURE() << "no error";
    } catch (const SpectrumError& error) {
      EXPECT_NE(std::string(error.what()).find(c.Message), std::string::npos) << error.what();
    }
  }
}

TEST(CommandLine, TwentySixDirectionsAreAccepted) {
  EXPECT_EQ(ParseCommandLine({"--positions", "0:25:1"}).Options.Positions.size(), 26u);
  EXPECT_EQ(ParseCommandLine({"--positions", "0"}).Options.Positions.size(), 1u);
}

TEST(CommandLine, BowtieTableFileIsReadAndNamedByItsStem) {
  testing::ScratchFolder folder;
  const auto file = folder.Path() / "wide.txt";
  testing::WriteText(file, "# position cm, mm Al\r\n0, 2\r\n10 12\r\n\r\n30,\t40\r\n");
  const CommandLine line =
      ParseCommandLine({"--bowtie", file.string(), "--positions", "0,5,20,30"});
  EXPECT_EQ(line.Options.Bowtie.Name, "wide");
  EXPECT_DOUBLE_EQ(line.Options.Bowtie.ThicknessAt(5), 7.0);
  EXPECT_DOUBLE_EQ(line.Options.Bowtie.ThicknessAt(20), 26.0);
  EXPECT_EQ(line.Output, "W120kV_wide.csv");
}

TEST(BowtieTable, RejectsBadTables) {
  const std::pair<const char*, const char*> cases[] = {
      {"0,1\n2,-1\n", "line 2, field 2: negative thickness"},
      {"0,1\n2,3\n1,4\n", "line 3, field 1: positions must increase"},
      {"0,1\n", "at least two points"},
      {"0,1,2\n3,4\n", "line 1: expected two fields"},
      {"0,1\n2,x\n", "line 2, field 2: \"x\" is not a number"},
  };
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(text);
    try {
      ParseBowtieTable("t.txt", text);
      ADD_FAILURE() << "no error";
    } catch (const SpectrumError& error) {
      EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
    }
  }
  // The built-in profiles: body 2.548 mm at the centre, 34.822 mm at 20 cm.
  EXPECT_DOUBLE_EQ(BuiltinBowtie("body").ThicknessAt(0), 2.548);
  EXPECT_DOUBLE_EQ(BuiltinBowtie("body").ThicknessAt(20), 34.822);
  EXPECT_DOUBLE_EQ(BuiltinBowtie("body").ThicknessAt(2.75), 0.5 * (2.563 + 2.601));
  EXPECT_DOUBLE_EQ(BuiltinBowtie("head").ThicknessAt(0), 1.104);
  EXPECT_EQ(BuiltinBowtie("none").ThicknessAt(100), 0.0);
}

}  // namespace
}  // namespace tessalin::spectrum
