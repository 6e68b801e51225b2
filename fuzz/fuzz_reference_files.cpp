// The readers of CTY.DAT and ADIF_DXC.TXT and their join. The input is the
// bytes of CTY.DAT, then a line "--- ADIF_DXC.TXT ---" and the bytes of
// ADIF_DXC.TXT; without that line there is no ADIF_DXC.TXT. The two files are
// written into a scratch folder, made the current directory, and read there
// as the country export reads them; the tables, the ADIF numbers and the
// messages must be what the step-by-step rules give (reference_country.h).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "country/reference_files.h"
#include "fuzz_support.h"
#include "reference_country.h"
#include "temp_dir.h"

namespace kartex::fuzz {
namespace {

constexpr std::string_view kAdifMarker = "--- ADIF_DXC.TXT ---\n";

// Makes a folder the current directory while it lives, so that libFuzzer's
// own relative paths (corpus, crash files) keep their meaning between inputs.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::filesystem::path& folder)
      : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentDirectory() { std::filesystem::current_path(previous_); }
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

void Expect(bool same, const std::string& what, std::string_view got, std::string_view expected) {
  if (!same) {
    Mismatch(what + " [" + Shown(got) + "], expected [" + Shown(expected) + "]");
  }
}

void CheckCountries(const std::vector<TypRecordu_CSV>& got,
                    const std::vector<TypRecordu_CSV>& expected, const std::string& step) {
  Expect(got.size() == expected.size(), step + ": country count", std::to_string(got.size()),
         std::to_string(expected.size()));
  for (size_t i = 0; i < got.size(); ++i) {
    const std::string at = step + ": country " + std::to_string(i + 1) + " ";
    const TypRecordu_CSV& g = got[i];
    const TypRecordu_CSV& e = expected[i];
    Expect(g.NrCty == e.NrCty, at + "NrCty", g.NrCty, e.NrCty);
    Expect(g.Country == e.Country, at + "Country", g.Country, e.Country);
    Expect(g.NrAdif == e.NrAdif, at + "NrAdif", g.NrAdif, e.NrAdif);
    Expect(g.Prefixes == e.Prefixes, at + "Prefixes", g.Prefixes, e.Prefixes);
  }
}

void CheckEntries(const std::vector<AdifEntry>& got, const std::vector<AdifEntry>& expected) {
  Expect(got.size() == expected.size(), "ADIF entry count", std::to_string(got.size()),
         std::to_string(expected.size()));
  for (size_t i = 0; i < got.size(); ++i) {
    const std::string at = "ADIF entry " + std::to_string(i + 1) + " ";
    Expect(got[i].NrAdif == expected[i].NrAdif, at + "NrAdif", got[i].NrAdif, expected[i].NrAdif);
    Expect(got[i].Country == expected[i].Country, at + "Country", got[i].Country,
           expected[i].Country);
  }
}

void CheckMessages(const std::vector<std::string>& got, const std::vector<std::string>& expected) {
  Expect(got.size() == expected.size(), "message count", std::to_string(got.size()),
         std::to_string(expected.size()));
  for (size_t i = 0; i < got.size(); ++i)
    Expect(got[i] == expected[i], "message", got[i], expected[i]);
}

}  // namespace
}  // namespace kartex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace kartex;
  static const testing::TempDir dir;
  const fuzz::CurrentDirectory inScratch(dir.Path());
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t marker = input.find(fuzz::kAdifMarker);
  const std::string_view cty = input.substr(0, marker);
  const bool withAdif = marker != std::string_view::npos;
  const std::string_view adif = withAdif ? input.substr(marker + fuzz::kAdifMarker.size()) : "";
  dir.Write(kCtyDatName, cty);
  if (withAdif) {
    dir.Write(kAdifDxcName, adif);
  } else {
    std::filesystem::remove(dir.File(kAdifDxcName));
  }

  ReferenceFiles files;
  if (const std::vector<std::string> missing = OpenReferenceFiles(files); !missing.empty()) {
    if (withAdif) fuzz::Mismatch("the reference files did not open");
    fuzz::CheckMessages(missing, {"Brak obecnosci zbioru ADIF_DXC.TXT", "Brak zbiorow wejscia"});
    return 0;
  }
  if (!withAdif) fuzz::Mismatch("ADIF_DXC.TXT opened, but there is none");

  std::vector<TypRecordu_CSV> countries;
  std::vector<AdifEntry> entries;
  if (ReadCtyDat(files.cty, countries) != countries.size() ||
      ReadAdifDxc(files.adif, entries) != entries.size()) {
    fuzz::Mismatch("a reader's count differs from its table");
  }
  std::vector<TypRecordu_CSV> expectedCountries = testing::ReferenceReadCtyDat(cty);
  fuzz::CheckCountries(countries, expectedCountries, "CTY.DAT");
  fuzz::CheckEntries(entries, testing::ReferenceReadAdifDxc(adif));

  const std::vector<std::string> messages = JoinByName(countries, entries);
  const std::vector<std::string> expectedMessages =
      testing::ReferenceJoinByName(expectedCountries, testing::ReferenceReadAdifDxc(adif));
  fuzz::CheckCountries(countries, expectedCountries, "join");
  fuzz::CheckMessages(messages, expectedMessages);
  return 0;
}
