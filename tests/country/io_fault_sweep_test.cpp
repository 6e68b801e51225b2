// Every command that reads or writes files, with each of its I/O calls made
// to fail in turn (the first, the second, ... until the command completes):
// each failure ends with its message, the previous output file as it was, no
// temporary file left, and a program that carries on with the next command.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

#include "commands/command_error.h"
#include "commands/country_export.h"
#include "commands/session.h"
#include "country/country_test_support.h"
#include "fake_window_system.h"
#include "io_faults.h"

namespace kartex::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPrevious = "previous contents\r\n";

// The files of the demonstration folder, the log's rows edited in nothing.
void CopyDemo() {
  for (const char* name : {"LOG_DEMO.csv", "CTY.DAT", "ADIF_DXC.TXT"}) {
    fs::copy_file(fs::path(KARTEX_DEMO_DIR) / name, name, fs::copy_options::overwrite_existing);
  }
}

bool TemporaryFileLeft() {
  for (const auto& entry : fs::directory_iterator(".")) {
    if (entry.path().filename().string().starts_with(".kartex-")) return true;
  }
  return false;
}

struct Outcome {
  bool completed = false;
  std::string error;  // the general error handler's text
};

class IoFaultSweep : public ::testing::Test {
 protected:
  // A session with the demonstration log loaded, its QSO filter on 2 (so
  // that every save has something to write).
  void StartSession() {
    windows_.emplace();
    session_.emplace(*windows_, RegionalSettings{});
    windows_->fileAnswers.push_back("LOG_DEMO.csv");
    ASSERT_EQ(session_->Load_CSVClick(), LoadOutcome::Loaded);
    session_->RG1Click(1);
  }

  Outcome Run(const std::function<void(Session&)>& command) {
    Outcome outcome;
    try {
      command(*session_);
      outcome.completed = true;
    } catch (const std::exception& error) {
      outcome.error = ErrorText(error);
    }
    return outcome;
  }

  // Runs the command (answering its dialog with output) with the n-th I/O
  // call failing, for every n until it completes; then checks each outcome.
  void Sweep(const std::string& output, const std::function<void(Session&)>& command,
             const std::vector<std::string>& allowedErrors) {
    ScratchDirectory dir;
    CopyDemo();
    StartSession();
    windows_->fileAnswers.push_back(output);
    ASSERT_TRUE(Run(command).completed);
    const std::string expected = ReadFile(output);

    for (uint64_t n = 1;; ++n) {
      SCOPED_TRACE("I/O call " + std::to_string(n));
      ASSERT_LT(n, 1000u) << "the command never completes";
      ASSERT_TRUE(WriteFile(output, kPrevious));
      StartSession();
      const size_t messagesBefore = windows_->messages.size();
      windows_->fileAnswers.push_back(output);
      Outcome outcome;
      bool fired;
      {
        FailingIoCall failing(n);
        outcome = Run(command);
        fired = failing.Fired();
      }
      if (!fired) {
        EXPECT_TRUE(outcome.completed) << outcome.error;
        EXPECT_EQ(ReadFile(output), expected);
        break;
      }
      // A failure is never reported as success, and says what failed.
      const std::vector<std::string> shown(
          windows_->messages.begin() + static_cast<long>(messagesBefore), windows_->messages.end());
      const std::string said =
          outcome.completed ? (shown.empty() ? "" : shown.back()) : outcome.error;
      EXPECT_NE(std::find(allowedErrors.begin(), allowedErrors.end(), said), allowedErrors.end())
          << "said: " << said;
      EXPECT_EQ(ReadFile(output), kPrevious);
      EXPECT_FALSE(TemporaryFileLeft());
      EXPECT_FALSE(windows_->busy);
      // The program carries on: the same command again works.
      windows_->fileAnswers.push_back(output);
      EXPECT_TRUE(Run(command).completed);
      EXPECT_EQ(ReadFile(output), expected);
    }
  }

  std::optional<FakeWindowSystem> windows_;
  std::optional<Session> session_;
};

std::vector<std::string> SaveErrors(const std::string& file) {
  return {"Cannot create file " + file + ".", "Cannot write file " + file + "."};
}

TEST_F(IoFaultSweep, TheMailMergeExport) {
  Sweep(
      "QSO_2.csv", [](Session& s) { s.Save_CSVClick(); }, SaveErrors("QSO_2.csv"));
}

TEST_F(IoFaultSweep, TheStationsExport) {
  Sweep(
      "STACJE.csv", [](Session& s) { s.SaveStationsCSV1Click(); }, SaveErrors("STACJE.csv"));
}

TEST_F(IoFaultSweep, TheManagerList) {
  Sweep(
      "QSL_VIA.TXT", [](Session& s) { s.QSL_VIAClick(); }, SaveErrors("QSL_VIA.TXT"));
}

TEST_F(IoFaultSweep, TheCountryListAndItsReferenceFiles) {
  std::vector<std::string> errors = SaveErrors("COUNTRY.CSV");
  for (const char* name : {"CTY.DAT", "ADIF_DXC.TXT"})
    errors.push_back(std::string("Cannot read file ") + name + ".");
  // A reference file that cannot be opened is reported as missing.
  errors.push_back("Brak zbiorow wejscia");
  Sweep(
      "COUNTRY.CSV", [](Session& s) { s.CTY_ADIFClick(); }, errors);
}

TEST_F(IoFaultSweep, LoadingALog) {
  ScratchDirectory dir;
  CopyDemo();
  for (uint64_t n = 1;; ++n) {
    SCOPED_TRACE("I/O call " + std::to_string(n));
    ASSERT_LT(n, 1000u);
    windows_.emplace();
    session_.emplace(*windows_, RegionalSettings{});
    windows_->fileAnswers.push_back("LOG_DEMO.csv");
    Outcome outcome;
    bool fired;
    {
      FailingIoCall failing(n);
      outcome = Run([](Session& s) { s.Load_CSVClick(); });
      fired = failing.Fired();
    }
    if (!fired) {
      EXPECT_TRUE(outcome.completed);
      EXPECT_EQ(session_->Controls().records, 51);
      break;
    }
    EXPECT_TRUE(outcome.error == "Cannot open file LOG_DEMO.csv." ||
                outcome.error == "Cannot read file LOG_DEMO.csv.")
        << outcome.error;
    EXPECT_FALSE(windows_->busy);
    windows_->fileAnswers.push_back("LOG_DEMO.csv");
    ASSERT_EQ(session_->Load_CSVClick(), LoadOutcome::Loaded);
    EXPECT_EQ(session_->Controls().records, 51);
  }
}

}  // namespace
}  // namespace kartex::testing
