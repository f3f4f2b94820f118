// The isochore's points and its export file, without windows: the range
// checks, the running sum, the file's lines and the all-or-nothing writer.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/globals.h"
#include "framework/runtime.h"
#include "procedures/pvt/isochore_points.h"
#include "procedures/pvt/text_file.h"

namespace {

using namespace pvt;
namespace fs = std::filesystem;

std::vector<std::string> Celsius(const IsochoreRange& r) {
  std::vector<std::string> out;
  for (double T : r.kelvins) out.push_back(Str(T - 273.15));
  return out;
}

TEST(IsochoreRange, RunningSumUpToAnInclusiveMaximum) {
  EXPECT_EQ(Celsius(IsochoreTemperatures("20", "30", "5")),
            (std::vector<std::string>{"20", "25", "30"}));
  EXPECT_EQ(Celsius(IsochoreTemperatures("100", "101", "50")), (std::vector<std::string>{"100"}));
  // 0.1 is not exact: the tenth addition lands just above 1 degree C.
  const auto r = IsochoreTemperatures("0", "1", "0.1");
  ASSERT_EQ(r.kelvins.size(), 10u);
  EXPECT_EQ(Celsius(r).front(), "0");
  EXPECT_NEAR(r.kelvins.back() - 273.15, 0.9, 1e-9);
  for (std::size_t i = 1; i < r.kelvins.size(); ++i) EXPECT_GT(r.kelvins[i], r.kelvins[i - 1]);
  // (a + 273.15) - step, then + step: four points, 170.05 included. Starting
  // from (a - step) + 273.15 instead gives only three.
  const auto s = IsochoreTemperatures("169.9", "170.05", "0.05");
  ASSERT_EQ(s.kelvins.size(), 4u);
  EXPECT_EQ(s.kelvins[0], (169.9 + 273.15) - 0.05 + 0.05);
  EXPECT_LE(s.kelvins[3], 170.05 + 273.15);
  // 0 to 999.99 in steps of 0.01: 100 000 points by count, within the limit.
  const auto big = IsochoreTemperatures("0", "999.99", "0.01");
  EXPECT_FALSE(big.faults.Any());
  EXPECT_GE(big.kelvins.size(), 99999u);
  EXPECT_LE(big.kelvins.size(), kMaxIsochorePoints);
}

TEST(IsochoreRange, EachFieldIsCheckedOnItsOwnEndlessStepsRefusedAtOnce) {
  struct Case {
    const char *min, *max, *step;
    bool minimum, maximum, interval;
  };
  const Case cases[] = {
      {"20", "20", "1", false, true, false},          // no range
      {"30", "20", "1", false, true, false},          // maximum below minimum
      {"-273.16", "20", "1", true, false, false},     // below 0 K
      {"-273.15", "20", "1", true, false, false},     // exactly 0 K: 1/sqrt(0)
      {"20", "30", "0", false, false, true},
      {"20", "30", "-1", false, false, true},
      {"", "", "", true, true, true},                 // nothing typed is not 0 degrees C
      {"put number", "30", "1", true, false, false},  // the message itself
      {"20", "abc", "1", false, true, false},
      {"20", "30", "1x", false, false, true},
      {"-300", "-400", "0", true, true, true},        // all three in one press
      {"abc", "-500", "1", true, true, false},        // a faulty minimum hides no other fault
      // A step that dwarfs the minimum rounds the first point to 0 K.
      {"0", "1e308", "1e304", true, false, false},
      // Steps that would never end are refused at once.
      {"1000", "1001", "1e-14", false, false, true},   // 1273.15 + 1e-14 is 1273.15
      {"0", "1000", "1e-7", false, false, true},       // 1e10 points
      {"0", "1e308", "1", false, false, true},         // a maximum the sum never passes
      {"0", "1000", "0.009999", false, false, true},   // 100 011 points, just over the limit
      // Moves off 1023.9999999999999 K, then stalls at 1024 K, where half a
      // unit in the last place exceeds the step.
      {"750.8499999999999", "750.8500000000002", "6e-14", false, false, true},
  };
  const auto start = std::chrono::steady_clock::now();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.min) + " " + c.max + " " + c.step);
    const auto r = IsochoreTemperatures(c.min, c.max, c.step);
    EXPECT_EQ((std::array{r.faults.minimum, r.faults.maximum, r.faults.interval}),
              (std::array{c.minimum, c.maximum, c.interval}));
    EXPECT_TRUE(r.kelvins.empty());
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(IsochoreFile, HeaderNameAndLines) {
  EXPECT_EQ(IsochoreHeader(Globals::Brennick1977),
            (std::vector<std::string>{"Modified Redlich-Kwong equation of state",
                                      "reference: Brennick (1977)", "Temperature, Pressure",
                                      "(Celsius), (MPa)"}));
  EXPECT_EQ(IsochoreHeader(Globals::Brennick1981)[1], "reference: Brennick (1981)");
  EXPECT_EQ(IsochoreHeader(Globals::Ostrem1999)[1], "reference: Ostrem (1999)");
  const auto unknown = IsochoreHeader(7);
  ASSERT_EQ(unknown.size(), 3u);
  EXPECT_EQ(unknown[1], "Temperature, Pressure");
  EXPECT_EQ(IsochoreFileName(44.0098), "44.0098.txt");
  EXPECT_EQ(IsochoreFileName(0.0), "0.txt");
  EXPECT_EQ(IsochoreLine(298.15, 0.5), "25, 0.5");
  EXPECT_EQ(IsochoreLine(273.15, std::numeric_limits<double>::infinity()), "0, no solution");
}

// ---- The writer ----

class TextFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pvt-file-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder_;
};

TEST_F(TextFile, WritesAllLinesAndReplacesAnOlderFile) {
  const fs::path target = folder_ / "44.0098.txt";
  { std::ofstream(target) << "an older and longer isochore\nwith two lines\n"; }
  AtomicTextFile file(target);
  ASSERT_FALSE(file.Failed()) << file.Reason();
  file.WriteLine("first");
  file.WriteLine(ConvertToWindowsAnsi("20 \u00B0C"));
  ASSERT_TRUE(file.Commit()) << file.Reason();
  EXPECT_EQ(Read(target), "first\n20 \xB0" "C\n");  // one byte in code page 1252
  EXPECT_EQ(Names(), (std::vector<std::string>{"44.0098.txt"}));
}

TEST_F(TextFile, AFolderThatCannotHoldFilesFailsAtOnce) {
  { std::ofstream(folder_ / "plain") << "x"; }
  AtomicTextFile file(folder_ / "plain" / "1.txt");  // "plain" is no folder
  EXPECT_TRUE(file.Failed());
  EXPECT_NE(file.Reason().find("Not a directory"), std::string::npos) << file.Reason();
  file.WriteLine("ignored");
  EXPECT_FALSE(file.Commit());
  EXPECT_EQ(Names(), (std::vector<std::string>{"plain"}));
}

TEST_F(TextFile, AWriteThatFailsHalfwayKeepsTheOlderFile) {
  const fs::path target = folder_ / "5.txt";
  { std::ofstream(target) << "old\n"; }
  // The file size limit stands in for a full disk; it holds for root too.
  rlimit before{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  auto* previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = before;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  bool committed = true;
  std::string reason;
  {
    AtomicTextFile file(target);
    for (int i = 0; i < 1000; ++i) file.WriteLine("25, 0.0999611609861660");
    committed = file.Commit();
    reason = file.Reason();
  }
  ::setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(committed);
  EXPECT_NE(reason.find("File too large"), std::string::npos) << reason;
  EXPECT_EQ(Read(target), "old\n");
  EXPECT_EQ(Names(), (std::vector<std::string>{"5.txt"}));  // no temporary file left
}

}  // namespace
