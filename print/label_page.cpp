#include "print/label_page.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "platform/code_page.h"
#include "print/label_font.h"

namespace kartex {
namespace {

constexpr double kPointsPerMm = 72 / 25.4;
const QColor kOutlineColour(0xB0, 0xB0, 0xB0);

QString FromCp1250(const std::string& bytes) { return QString::fromStdString(Cp1250ToUtf8(bytes)); }

// The font at one size with what every label measures of it, made once for
// all the labels drawn at that size.
struct MeasuredFont {
  MeasuredFont(double pointSize, const QPaintDevice* device)
      : font(LabelFont(pointSize)), metrics(font, device) {
    ascent = metrics.ascent();
    gap = metrics.horizontalAdvance(QStringLiteral("  "));
    for (size_t col = 0; col < kContactHeading.size(); ++col) {
      heading[col] = QString::fromLatin1(kContactHeading[col].data(),
                                         static_cast<qsizetype>(kContactHeading[col].size()));
      headingWidths[col] = metrics.horizontalAdvance(heading[col]);
    }
  }
  QFont font;
  QFontMetricsF metrics;
  double ascent = 0, gap = 0;
  std::array<QString, 5> heading;
  std::array<double, 5> headingWidths{};
};

// The fonts of one page by size.
class FontCache {
 public:
  explicit FontCache(const QPaintDevice* device) : device_(device) {}
  const MeasuredFont& At(double pointSize) {
    auto found = fonts_.find(pointSize);
    if (found == fonts_.end()) found = fonts_.try_emplace(pointSize, pointSize, device_).first;
    return found->second;
  }

 private:
  const QPaintDevice* device_;
  std::map<double, MeasuredFont> fonts_;
};

// One label's text, converted and measured at a font size.
class LabelDrawing {
 public:
  LabelDrawing(const LabelText& text, double pointSize, FontCache& fonts)
      : fonts_(fonts), pointSize_(pointSize) {
    title_ = FromCp1250(text.title);
    via_ = FromCp1250(text.via);
    closing_ = FromCp1250(text.closing);
    contacts_.reserve(text.contacts.size());
    for (const ContactCells& cells : text.contacts) {
      std::array<QString, 5> row;
      for (size_t col = 0; col < cells.size(); ++col) row[col] = FromCp1250(cells[col]);
      contacts_.push_back(row);
    }
    Measure();
  }

  int LineCount() const { return static_cast<int>(contacts_.size()) + (via_.isEmpty() ? 3 : 4); }
  double Width() const { return width_; }
  double PointSize() const { return pointSize_; }

  // Smaller, down to the smallest size, until the widest line fits; in
  // steps of a quarter point, so that labels of about the same width share
  // a size (and its measurements).
  void ShrinkToWidth(double room) {
    if (width_ <= room) return;
    const double fitting =
        std::max(kSmallestFontPt, std::floor(pointSize_ * room / width_ * 4) / 4);
    if (fitting >= pointSize_) return;
    pointSize_ = fitting;
    Measure();
  }

  // Draws the lines from the top left corner of the text, a line every
  // `pitch` device pixels.
  void Draw(QPainter& painter, QPointF topLeft, double pitch) const {
    painter.setFont(font_->font);
    QPointF at(topLeft.x(), topLeft.y() + font_->ascent);
    const auto line = [&](const QString& text) {
      painter.drawText(at, text);
      at.ry() += pitch;
    };
    const auto row = [&](const std::array<QString, 5>& cells) {
      double x = at.x();
      for (size_t col = 0; col < cells.size(); ++col) {
        if (!cells[col].isEmpty()) painter.drawText(QPointF(x, at.y()), cells[col]);
        x += columns_[col] + font_->gap;
      }
      at.ry() += pitch;
    };
    line(title_);
    if (!via_.isEmpty()) line(via_);
    row(font_->heading);
    for (const std::array<QString, 5>& cells : contacts_) row(cells);
    line(closing_);
  }

 private:
  void Measure() {
    font_ = &fonts_.At(pointSize_);
    const QFontMetricsF& metrics = font_->metrics;
    double table = 4 * font_->gap;
    for (size_t col = 0; col < columns_.size(); ++col) {
      columns_[col] = font_->headingWidths[col];
      for (const std::array<QString, 5>& cells : contacts_)
        columns_[col] = std::max(columns_[col], metrics.horizontalAdvance(cells[col]));
      table += columns_[col];
    }
    width_ = std::max({table, metrics.horizontalAdvance(title_), metrics.horizontalAdvance(via_),
                       metrics.horizontalAdvance(closing_)});
  }

  FontCache& fonts_;
  const MeasuredFont* font_ = nullptr;
  double pointSize_;
  QString title_, via_, closing_;
  std::vector<std::array<QString, 5>> contacts_;
  std::array<double, 5> columns_{};
  double width_ = 0;
};

}  // namespace

void DrawLabelPage(QPainter& painter, const LabelContacts& contacts, const LabelPlan& plan,
                   int page, PageLook look) {
  const QPaintDevice* device = painter.device();
  const double dotsPerMm = device->logicalDpiY() / 25.4;
  const LabelSheet& sheet = plan.Sheet();
  const TextBox box = sheet.TextArea();
  FontCache fonts(device);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  for (const PlacedLabel& label : plan.LabelsOn(page)) {
    const LabelOrigin origin = plan.Origins()[static_cast<size_t>(label.slot)];
    const QRectF edge(origin.x * dotsPerMm, origin.y * dotsPerMm, sheet.labelWidth * dotsPerMm,
                      sheet.labelHeight * dotsPerMm);
    if (look.outlines) {
      painter.setPen(QPen(kOutlineColour, 0));
      painter.setBrush(Qt::NoBrush);
      const double radius = sheet.cornerRadius * dotsPerMm;
      painter.drawRoundedRect(edge, radius, radius);
    }
    LabelDrawing drawing(contacts.TextOf(label), plan.Fit().fontPt, fonts);
    drawing.ShrinkToWidth(box.width * dotsPerMm);
    const double pitch = drawing.PointSize() * kLineSpacing / kPointsPerMm * dotsPerMm;
    const double height = drawing.LineCount() * pitch;
    QPointF topLeft(edge.left() + box.x * dotsPerMm, edge.top() + box.y * dotsPerMm);
    if (box.bottomAligned) topLeft.ry() += box.height * dotsPerMm - height;
    // Cut at the label's edge only where the text would pass it: a clip on
    // every label would make the PDF larger and slower for nothing.
    const bool cut = drawing.Width() > box.width * dotsPerMm || height > box.height * dotsPerMm;
    if (cut) {
      painter.setClipRect(edge);
    } else {
      painter.setClipping(false);
    }
    painter.setPen(Qt::black);
    drawing.Draw(painter, topLeft, pitch);
  }
  painter.restore();
}

namespace {

QPageLayout SheetPageLayout(const LabelSheet& sheet) {
  // A page size is given upright; a page wider than high is turned.
  const bool wide = sheet.pageWidth > sheet.pageHeight;
  const QSizeF upright =
      wide ? QSizeF(sheet.pageHeight, sheet.pageWidth) : QSizeF(sheet.pageWidth, sheet.pageHeight);
  const QPageSize size(upright, QPageSize::Millimeter, QString::fromStdString(sheet.Name()),
                       QPageSize::ExactMatch);
  return QPageLayout(size, wide ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

}  // namespace

void SetSheetPage(QPagedPaintDevice& device, const LabelSheet& sheet) {
  device.setPageLayout(SheetPageLayout(sheet));
}

}  // namespace kartex
