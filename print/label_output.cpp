#include "print/label_output.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

#include "commands/output_file.h"
#include "print/label_page.h"

namespace kartex {
namespace {

constexpr int kPdfResolution = 1200;  // dots per inch of the PDF's coordinates

}  // namespace

bool DrawAllPages(QPainter& painter, QPagedPaintDevice& device, const LabelContacts& contacts,
                  const LabelPlan& plan, const PageProgress& progress) {
  const int pages = plan.PageCount();
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !device.newPage()) return false;
    DrawLabelPage(painter, contacts, plan, page);
    if (progress && !progress(page + 1, pages)) return false;
  }
  return true;
}

bool SaveLabelPdf(const std::string& path, const LabelContacts& contacts, const LabelPlan& plan,
                  const PageProgress& progress) {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kPdfResolution);
    writer.setCreator(QStringLiteral("KARTEX"));
    writer.setTitle(QStringLiteral("QSL"));
    SetSheetPage(writer, plan.Sheet());
    QPainter painter(&writer);
    const bool done = DrawAllPages(painter, writer, contacts, plan, progress);
    painter.end();
    if (!done) return false;
  }
  WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  return true;
}

QImage LabelPagePreview(const LabelContacts& contacts, const LabelPlan& plan, int page,
                        QSize room) {
  const LabelSheet& sheet = plan.Sheet();
  const double dotsPerMm =
      std::min((room.width() - 2) / sheet.pageWidth, (room.height() - 2) / sheet.pageHeight);
  QImage image(std::max(1, qRound(sheet.pageWidth * dotsPerMm)),
               std::max(1, qRound(sheet.pageHeight * dotsPerMm)), QImage::Format_RGB32);
  // The image's resolution makes the fonts' point sizes come out at the
  // page's scale.
  image.setDotsPerMeterX(qRound(dotsPerMm * 1000));
  image.setDotsPerMeterY(qRound(dotsPerMm * 1000));
  image.fill(Qt::white);
  QPainter painter(&image);
  DrawLabelPage(painter, contacts, plan, page, PageLook{true});
  painter.setPen(QPen(Qt::darkGray, 0));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(0, 0, image.width() - 1, image.height() - 1));
  return image;
}

}  // namespace kartex
