#pragma once
// Helpers of the drawing tests: a QGuiApplication on the offscreen platform
// for the whole test program, a generated log loaded into a session, and a
// PDF read back word by word with poppler's pdftotext -bbox.

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "print/gui_application.h"
#include "session_fixture.h"
#include "temp_dir.h"

namespace kartex::testing {

// The application lives from the first test to the last, and goes before
// the program's static objects do.
class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    gui_ = std::make_unique<GuiForDrawing>();
    gui_->Ensure();
  }
  void TearDown() override { gui_.reset(); }

 private:
  std::unique_ptr<GuiForDrawing> gui_;
};

// A word of a PDF page, in points from the page's top left corner.
struct PdfWord {
  double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
  std::string text;  // UTF-8
};

struct PdfPage {
  double width = 0, height = 0;  // points
  std::vector<PdfWord> words;
};

inline std::string UnescapeHtml(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : entities) {
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
      text.replace(at, std::string(entity).size(), plain);
  }
  return text;
}

inline double AttributeOf(const std::string& tag, const std::string& name) {
  const size_t at = tag.find(name + "=\"");
  return at == std::string::npos ? -1 : std::stod(tag.substr(at + name.size() + 2));
}

// The pages of a PDF as pdftotext -bbox sees them.
inline std::vector<PdfPage> ReadPdfWords(const std::string& pdf) {
  const std::string folder = std::filesystem::path(pdf).parent_path().string();
  const ChildRun run =
      RunChild("/usr/bin/pdftotext", {"-bbox", pdf, "-"}, folder.empty() ? "." : folder);
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<PdfPage> pages;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("<page ") != std::string::npos) {
      pages.push_back({AttributeOf(line, "width"), AttributeOf(line, "height"), {}});
    } else if (const size_t open = line.find("<word "); open != std::string::npos) {
      const size_t textStart = line.find('>', open) + 1;
      const size_t textEnd = line.find("</word>", textStart);
      pages.back().words.push_back({AttributeOf(line, "xMin"), AttributeOf(line, "yMin"),
                                    AttributeOf(line, "xMax"), AttributeOf(line, "yMax"),
                                    UnescapeHtml(line.substr(textStart, textEnd - textStart))});
    }
  }
  return pages;
}

}  // namespace kartex::testing
