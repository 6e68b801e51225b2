// The PDF of labels read back with pdftotext -bbox: the page is the
// sheet's, every label's words lie inside its label's text area and are
// exactly its lines; text too long is cut at the label's edge; the font
// travels in the file; a failed or stopped save leaves the old file.

#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include "commands/command_error.h"
#include "labels/length.h"
#include "labels/sheet_catalog.h"
#include "platform/code_page.h"
#include "print/label_font.h"
#include "print/label_output.h"
#include "print/label_page.h"
#include "print/label_printer.h"
#include "print_test_support.h"

namespace kartex::testing {
namespace {

const auto* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

constexpr double kPointsPerMm = 72 / 25.4;
constexpr double kSlack = 0.5;  // points: pdftotext's rounding of glyph boxes

// A log of `stations` stations, station i worked i % 7 + 1 times, every
// fifth through a manager, every third with the card received; a few cells
// hold Polish letters (Windows-1250).
std::vector<std::string> GeneratedLog(int stations) {
  std::vector<std::string> lines = {
      "QSO_DATE,TIME_ON,BAND,MODE,CALL,RST_SENT,DXCC,QSL_VIA,QSL_RCVD,FREQ"};
  for (int i = 0; i < stations; ++i) {
    const std::string call = "SP" + std::to_string(i % 9 + 1) + "A" + std::string(1, 'A' + i % 26) +
                             std::string(1, 'A' + i / 26 % 26);
    for (int q = 0; q <= i % 7; ++q) {
      std::ostringstream line;
      line << "2024" << (q % 12 + 10) << (q + 10) << "," << (q * 7 % 24 + 10) << "15"
           << "," << (q % 2 ? "20M" : "") << "," << (i % 11 == 3 ? "\xA3\xA5\x43Z" : "CW") << ","
           << call << "," << (q % 3 ? "599" : "57") << ",269," << (i % 5 == 0 ? "SP5MGR" : "BURO")
           << "," << (i % 3 == 0 ? "Y" : "N") << ",14.0" << q;
      lines.push_back(line.str());
    }
  }
  return lines;
}

class LabelPdfTest : public SessionTest {
 protected:
  void LoadGenerated(int stations) {
    std::string text;
    for (const std::string& line : GeneratedLog(stations)) text += line + "\r\n";
    windows.fileAnswers.push_back(dir.Write("log.csv", text));
    ASSERT_EQ(session.Load_CSVClick(), LoadOutcome::Loaded);
  }

  // Saves the PDF, reads it back and checks every label against its text.
  void CheckPdf(const LabelSheet& sheet, LabelOptions options) {
    SCOPED_TRACE(sheet.Name());
    const LabelContacts contacts(session.Table(), session.Log().callColumn);
    const LabelPlan plan = contacts.Plan(sheet, options);
    const std::string pdf = dir.File("labels.pdf");
    ASSERT_TRUE(SaveLabelPdf(pdf, contacts, plan));
    const std::vector<PdfPage> pages = ReadPdfWords(pdf);
    ASSERT_EQ(static_cast<int>(pages.size()), plan.PageCount());
    for (int page = 0; page < plan.PageCount(); ++page) {
      const PdfPage& read = pages[static_cast<size_t>(page)];
      // Qt gives a page size in whole points.
      EXPECT_NEAR(read.width, sheet.pageWidth * kPointsPerMm, 0.5);
      EXPECT_NEAR(read.height, sheet.pageHeight * kPointsPerMm, 0.5);
      CheckPage(contacts, plan, page, read.words);
    }
  }

  void CheckPage(const LabelContacts& contacts, const LabelPlan& plan, int page,
                 const std::vector<PdfWord>& words) {
    const LabelSheet& sheet = plan.Sheet();
    const TextBox box = sheet.TextArea();
    std::vector<bool> placed(words.size(), false);
    for (const PlacedLabel& label : plan.LabelsOn(page)) {
      const LabelOrigin origin = plan.Origins()[static_cast<size_t>(label.slot)];
      const double left = (origin.x + box.x) * kPointsPerMm,
                   top = (origin.y + box.y) * kPointsPerMm;
      const double right = left + box.width * kPointsPerMm,
                   bottom = top + box.height * kPointsPerMm;
      // The words whose middle lies on this label must lie wholly in its
      // text area and be the words of its lines.
      std::vector<std::string> found;
      for (size_t i = 0; i < words.size(); ++i) {
        const PdfWord& word = words[i];
        const double x = (word.xMin + word.xMax) / 2, y = (word.yMin + word.yMax) / 2;
        if (x < origin.x * kPointsPerMm || x > (origin.x + sheet.labelWidth) * kPointsPerMm ||
            y < origin.y * kPointsPerMm || y > (origin.y + sheet.labelHeight) * kPointsPerMm)
          continue;
        placed[i] = true;
        found.push_back(word.text);
        EXPECT_GE(word.xMin, left - kSlack) << word.text;
        EXPECT_LE(word.xMax, right + kSlack) << word.text;
        EXPECT_GE(word.yMin, top - kSlack) << word.text;
        EXPECT_LE(word.yMax, bottom + kSlack) << word.text;
      }
      std::vector<std::string> expected;
      for (const std::string& line : contacts.TextOf(label).PlainLines()) {
        std::istringstream split(Cp1250ToUtf8(line));
        for (std::string word; split >> word;) expected.push_back(word);
      }
      std::sort(found.begin(), found.end());
      std::sort(expected.begin(), expected.end());
      EXPECT_EQ(found, expected) << "page " << page << " slot " << label.slot;
    }
    for (size_t i = 0; i < words.size(); ++i)
      EXPECT_TRUE(placed[i]) << "outside every label: " << words[i].text;
  }

  SheetCatalog Installed() { return ReadSheetCatalog("/usr/share/libglabels-3.0/templates"); }
};

// Three labels across, four down, in inches on US Letter.
LabelSheet LetterSheet() {
  LabelSheet sheet;
  sheet.brand = "Test";
  sheet.part = "Letter";
  sheet.paperName = "US Letter";
  sheet.pageWidth = 215.9;
  sheet.pageHeight = 279.4;
  sheet.labelWidth = 2.625 * 25.4;
  sheet.labelHeight = 2 * 25.4;
  sheet.cornerRadius = 2;
  sheet.layouts = {SheetLayout{3, 4, 4, 20, 2.75 * 25.4, 2.25 * 25.4}};
  return sheet;
}

TEST_F(LabelPdfTest, EveryLabelsWordsLieInsideItsLabel) {
  LoadGenerated(40);
  CheckPdf(LetterSheet(), {5, 4});
  CheckPdf(LetterSheet(), {1, 10});
  CheckPdf(QslCardSheet(), {1, 10});
}

TEST_F(LabelPdfTest, AveryL7160AndZweckform3475FromTheInstalledTemplates) {
  const SheetCatalog catalog = Installed();
  if (!catalog.HasSheets()) GTEST_SKIP() << "no glabels-data";
  LoadGenerated(60);
  session.RG1Click(1);  // under "2", as an operator prints a batch
  ASSERT_TRUE(session.HeaderSortClick(4, false));
  for (const char* name : {"Avery L7160", "Zweckform 3475"}) {
    const LabelSheet* sheet = catalog.Find(name);
    ASSERT_NE(sheet, nullptr) << name;
    CheckPdf(*sheet, {1, 4});
    CheckPdf(*sheet, {3, 10});
  }
}

TEST_F(LabelPdfTest, TheFontTravelsInThePdf) {
  LoadGenerated(3);
  const LabelContacts contacts(session.Table(), session.Log().callColumn);
  const std::string pdf = dir.File("fonts.pdf");
  ASSERT_TRUE(SaveLabelPdf(pdf, contacts, contacts.Plan(QslCardSheet(), {1, 4})));
  const ChildRun fonts = RunChild("/usr/bin/pdffonts", {pdf}, ".");
  ASSERT_EQ(fonts.status, 0) << fonts.err;
  // One font, DejaVu Sans, embedded as a subset: "yes" under "emb".
  std::istringstream lines(fonts.out);
  std::vector<std::string> rows;
  for (std::string line; std::getline(lines, line);) {
    if (line.find("DejaVu") != std::string::npos) rows.push_back(line);
  }
  ASSERT_EQ(rows.size(), 1u) << fonts.out;
  std::istringstream columns(rows[0]);
  std::vector<std::string> cells;
  for (std::string cell; columns >> cell;) cells.push_back(cell);
  ASSERT_GE(cells.size(), 5u);
  EXPECT_EQ(cells[cells.size() - 5], "yes") << rows[0];  // emb sub uni object ID
}

// Ink outside the labels of a page drawn at 8 dots a millimetre.
int InkOutsideLabels(const LabelContacts& contacts, const LabelPlan& plan, int page) {
  const LabelSheet& sheet = plan.Sheet();
  constexpr double kDots = 8;
  QImage image(qRound(sheet.pageWidth * kDots), qRound(sheet.pageHeight * kDots),
               QImage::Format_RGB32);
  image.setDotsPerMeterX(qRound(kDots * 1000));
  image.setDotsPerMeterY(qRound(kDots * 1000));
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    DrawLabelPage(painter, contacts, plan, page);
  }
  int ink = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) > 200) continue;
      bool inside = false;
      for (LabelOrigin origin : plan.Origins()) {
        inside = inside ||
                 (x + 0.5 >= origin.x * kDots && x + 0.5 <= (origin.x + sheet.labelWidth) * kDots &&
                  y + 0.5 >= origin.y * kDots && y + 0.5 <= (origin.y + sheet.labelHeight) * kDots);
      }
      ink += inside ? 0 : 1;
    }
  }
  return ink;
}

TEST_F(LabelPdfTest, TextTooLongIsCutAtTheLabelsEdge) {
  // A call of 60 characters and a band text of 40 on labels 20 mm wide with
  // no gap between them, and a label too low for its lines.
  const std::string longCall(60, 'W');
  ASSERT_EQ(Load({"CALL,DXCC,BAND,QSO_DATE", longCall + ",1," + std::string(40, 'M') + ",20240101",
                  "SP1AA,269,20M,20240102"}),
            LoadOutcome::Loaded);
  LabelSheet sheet = LetterSheet();
  sheet.labelWidth = 20;
  sheet.labelHeight = 9;
  sheet.layouts = {SheetLayout{5, 5, 10, 10, 20, 9}};
  const LabelContacts contacts(session.Table(), session.Log().callColumn);
  const LabelPlan plan = contacts.Plan(sheet, {1, 4});
  EXPECT_TRUE(plan.Fit().oneTooMany);
  EXPECT_EQ(InkOutsideLabels(contacts, plan, 0), 0);
  // With 1 mm between the labels, the gaps stay clean too.
  sheet.labelWidth = 19;
  const LabelPlan narrow = contacts.Plan(sheet, {1, 4});
  EXPECT_EQ(InkOutsideLabels(contacts, narrow, 0), 0);
}

TEST_F(LabelPdfTest, AShortTextIsNotCut) {
  // Given labels that hold their text: the rendered page shows every word
  // the PDF has, the last line's descenders included.
  LoadGenerated(12);
  const LabelContacts contacts(session.Table(), session.Log().callColumn);
  const LabelPlan plan = contacts.Plan(LetterSheet(), {1, 4});
  EXPECT_FALSE(plan.Fit().Lowered());
  const std::string pdf = dir.File("uncut.pdf");
  ASSERT_TRUE(SaveLabelPdf(pdf, contacts, plan));
  CheckPage(contacts, plan, 0, ReadPdfWords(pdf)[0].words);
  for (int page = 0; page < plan.PageCount(); ++page)
    EXPECT_EQ(InkOutsideLabels(contacts, plan, page), 0);
}

TEST_F(LabelPdfTest, AFailedSaveLeavesThePreviousFile) {
  LoadGenerated(5);
  const LabelContacts contacts(session.Table(), session.Log().callColumn);
  const LabelPlan plan = contacts.Plan(LetterSheet(), {1, 1});
  const std::string pdf = dir.Write("old.pdf", "previous");
  // Stopped after the first page: nothing written.
  ASSERT_EQ(plan.PageCount(), 2);  // fifteen labels, twelve a page
  int calls = 0;
  EXPECT_FALSE(SaveLabelPdf(pdf, contacts, plan, [&calls](int done, int total) {
    EXPECT_EQ(total, 2);
    EXPECT_EQ(done, 1);
    ++calls;
    return false;
  }));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(ReadFile(pdf), "previous");
  // A folder that is not there: the program's own error, nothing left behind.
  const std::string missing = dir.File("no such folder/labels.pdf");
  try {
    SaveLabelPdf(missing, contacts, plan);
    ADD_FAILURE() << "no error";
  } catch (const CommandError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + missing);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            2);  // log.csv and old.pdf
}

TEST_F(LabelPdfTest, ThePrinterGetsTheSheetsPageAtFullSize) {
  LoadGenerated(4);
  const LabelContacts contacts(session.Table(), session.Log().callColumn);
  const LabelPlan plan = contacts.Plan(QslCardSheet(), {1, 4});
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  const std::string pdf = dir.File("printed.pdf");
  printer.setOutputFileName(QString::fromStdString(pdf));
  ASSERT_TRUE(PrintLabels(printer, contacts, plan));
  EXPECT_TRUE(printer.fullPage());
  const std::vector<PdfPage> pages = ReadPdfWords(pdf);
  ASSERT_EQ(pages.size(), 4u);  // one card a station
  // The card lies across: 140 x 90 mm.
  EXPECT_NEAR(pages[0].width, 140 * kPointsPerMm, 0.5);
  EXPECT_NEAR(pages[0].height, 90 * kPointsPerMm, 0.5);
  CheckPage(contacts, plan, 2, pages[2].words);
}

TEST_F(LabelPdfTest, ThePreviewFitsItsRoomAtThePagesShape) {
  LoadGenerated(4);
  const LabelContacts contacts(session.Table(), session.Log().callColumn);
  const QImage a4 = LabelPagePreview(contacts, contacts.Plan(LetterSheet(), {1, 4}), 0, {300, 300});
  EXPECT_EQ(a4.height(), 300 - 2);
  EXPECT_NEAR(a4.width(), 298 * 215.9 / 279.4, 1);
  const QImage card =
      LabelPagePreview(contacts, contacts.Plan(QslCardSheet(), {1, 4}), 0, {300, 300});
  EXPECT_EQ(card.width(), 300 - 2);
  EXPECT_NEAR(card.height(), 298 * 90 / 140.0, 1);
}

TEST(LabelFontTest, TheLayoutsLineSpacingHoldsTheFont) {
  // The layout puts a line every kLineSpacing font sizes; DejaVu Sans must
  // fit in it, or lines would overlap and the last one pass the label.
  QImage probe(10, 10, QImage::Format_RGB32);
  probe.setDotsPerMeterY(qRound(72 / 0.0254));  // one dot a point
  probe.setDotsPerMeterX(qRound(72 / 0.0254));
  const QFontMetricsF metrics(LabelFont(100), &probe);
  EXPECT_LE(metrics.ascent() + metrics.descent(), 100 * kLineSpacing);
  EXPECT_GT(metrics.ascent() + metrics.descent(), 100 * (kLineSpacing - 0.05));
  EXPECT_EQ(QFontInfo(LabelFont(10)).family(), "DejaVu Sans");
}

}  // namespace
}  // namespace kartex::testing
