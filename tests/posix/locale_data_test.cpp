// The regional settings a POSIX locale gives.

#include "platform/posix/locale_data.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/code_page.h"
#include "table/regional_settings.h"

namespace kartex {
namespace {

using platform::LocaleData;

RegionalSettings FromLocale(const LocaleData& data) {
  return RegionalSettingsFromTexts(platform::RegionalTextsFromLocale(data));
}

struct LocaleCase {
  const char* name;
  LocaleData data;
  char decimal, thousands, date, time;
  std::string shortDate, am, pm;
};

TEST(LocaleDataTest, LocaleDataGivesTheSeparatorsAndTheShortDateFormat) {
  const RegionalSettings d;  // the defaults
  const LocaleCase cases[] = {
      {"POSIX",
       {"ANSI_X3.4-1968", ".", "", "%m/%d/%y", "%H:%M:%S", "AM", "PM"},
       '.',
       ',',
       '/',
       ':',
       "m/d/yy",
       "AM",
       "PM"},
      {"Polish",
       {"UTF-8", ",", "\u202F", "%d.%m.%Y", "%T", "", ""},
       ',',
       '\xA0',
       '.',
       ':',
       "dd.mm.yyyy",
       "AM",
       "PM"},
      {"German",
       {"UTF-8", ",", ".", "%d.%m.%Y", "%T", "", ""},
       ',',
       '.',
       '.',
       ':',
       "dd.mm.yyyy",
       "AM",
       "PM"},
      {"US English",
       {"UTF-8", ".", ",", "%m/%d/%Y", "%r", "AM", "PM"},
       '.',
       ',',
       '/',
       ':',
       "mm/dd/yyyy",
       "AM",
       "PM"},
      {"ISO dates",
       {"UTF-8", ",", "\u00A0", "%Y-%m-%d", "%H.%M.%S", "de", "du"},
       ',',
       '\xA0',
       '-',
       '.',
       "yyyy-mm-dd",
       "de",
       "du"},
      {"composite %F",
       {"UTF-8", ".", ",", "%F", "%R", "", ""},
       '.',
       ',',
       '-',
       ':',
       "yyyy-mm-dd",
       "AM",
       "PM"},
      {"blank and dot",
       {"UTF-8", ",", " ", "%Y. %m. %d.", "%H:%M:%S", "", ""},
       ',',
       ' ',
       '.',
       ':',
       "yyyy. mm. dd.",
       "AM",
       "PM"},
      {"unpadded fields",
       {"UTF-8", ".", ",", "%-d/%-m/%y", "%H:%M", "", ""},
       '.',
       ',',
       '/',
       ':',
       "d/m/yy",
       "AM",
       "PM"},
      {"nothing Windows-1250 holds",
       {"UTF-8", "\u066B", "\u066C", "%Y\u5E74%m\u6708%d\u65E5", "%H\u6642%M\u5206", "\u5348\u524D",
        "\u5348\u5F8C"},
       d.decimalSeparator,
       d.thousandSeparator,
       d.dateSeparator,
       d.timeSeparator,
       d.shortDateFormat,
       d.timeAMString,
       d.timePMString},
      {"Latin-2 codeset",
       {"ISO-8859-2", ",", "\xA0", "%d.%m.%Y", "%T", "", ""},
       ',',
       '\xA0',
       '.',
       ':',
       "dd.mm.yyyy",
       "AM",
       "PM"},
      {"empty",
       {"UTF-8", "", "", "", "", "", ""},
       d.decimalSeparator,
       d.thousandSeparator,
       d.dateSeparator,
       d.timeSeparator,
       d.shortDateFormat,
       d.timeAMString,
       d.timePMString},
  };
  for (const LocaleCase& c : cases) {
    SCOPED_TRACE(c.name);
    const RegionalSettings rs = FromLocale(c.data);
    EXPECT_EQ(rs.decimalSeparator, c.decimal);
    EXPECT_EQ(rs.thousandSeparator, c.thousands);
    EXPECT_EQ(rs.dateSeparator, c.date);
    EXPECT_EQ(rs.timeSeparator, c.time);
    EXPECT_EQ(rs.shortDateFormat, c.shortDate);
    EXPECT_EQ(rs.timeAMString, c.am);
    EXPECT_EQ(rs.timePMString, c.pm);
  }
}

TEST(LocaleDataTest, AmPmMarkersAreConvertedToTheCodePage) {
  LocaleData data;
  data.am = "przed południem";
  data.pm = "po południu";
  const RegionalSettings rs = FromLocale(data);
  EXPECT_EQ(rs.timeAMString, *Utf8ToCp1250("przed południem"));
  EXPECT_EQ(rs.timePMString, *Utf8ToCp1250("po południu"));
}

TEST(LocaleDataTest, DateFormatsBecomeLetterPatterns) {
  const struct {
    const char* format;
    const char* pattern;
  } cases[] = {
      {"%d.%m.%Y", "dd.mm.yyyy"},
      {"%m/%d/%y", "mm/dd/yy"},
      {"%Y-%m-%d", "yyyy-mm-dd"},
      {"%D", "mm/dd/yy"},
      {"%e.%m.%Y", "d.mm.yyyy"},
      {"%d %b %Y", "dd mmm yyyy"},
      {"%A %d %B %Y", "dddd dd mmmm yyyy"},
      {"%Ey", "yy"},
      {"%H:%M", ""},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::DateFormatToPattern(c.format), c.pattern) << c.format;
  }
}

// Sets an environment variable for the life of the object.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    if (saved_) {
      ::setenv(name_, saved_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

TEST(LocaleDataTest, TheCLocaleGivesTheDefaults) {
  ScopedEnvironment all("LC_ALL", "C");
  const RegionalSettings rs = ReadRegionalSettings();
  const RegionalSettings d;
  EXPECT_EQ(rs.decimalSeparator, d.decimalSeparator);
  EXPECT_EQ(rs.thousandSeparator, d.thousandSeparator);
  EXPECT_EQ(rs.dateSeparator, d.dateSeparator);
  EXPECT_EQ(rs.timeSeparator, d.timeSeparator);
  EXPECT_EQ(rs.shortDateFormat, d.shortDateFormat);
  EXPECT_EQ(rs.timeAMString, d.timeAMString);
  EXPECT_EQ(rs.timePMString, d.timePMString);
}

TEST(LocaleDataTest, APolishUserLocaleIsRead) {
  // The Polish locale is compiled into a scratch folder when the machine has
  // the locale sources; the C library finds it through LOCPATH.
  if (!std::filesystem::exists("/usr/share/i18n/locales/pl_PL")) {
    GTEST_SKIP() << "no locale sources on this machine";
  }
  const testing::TempDir dir;
  const std::string command =
      "localedef -i pl_PL -f UTF-8 " + dir.File("pl_PL.UTF-8") + " >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0 || !std::filesystem::exists(dir.File("pl_PL.UTF-8"))) {
    GTEST_SKIP() << "localedef could not build pl_PL.UTF-8";
  }
  RegionalSettings rs;
  {
    ScopedEnvironment path("LOCPATH", dir.Path().string());
    ScopedEnvironment all("LC_ALL", "pl_PL.UTF-8");
    rs = ReadRegionalSettings();
  }
  EXPECT_EQ(rs.decimalSeparator, ',');
  EXPECT_EQ(rs.thousandSeparator, '\xA0');
  EXPECT_EQ(rs.dateSeparator, '.');
  EXPECT_EQ(rs.timeSeparator, ':');
  EXPECT_EQ(rs.shortDateFormat, "dd.mm.yyyy");
}

}  // namespace
}  // namespace kartex
