#include "print/label_printer.h"

#include <QPainter>
#include <QPrinter>

#include "print/label_page.h"

namespace kartex {

void SetSheetPage(QPrinter& printer, const LabelSheet& sheet) {
  SetSheetPage(static_cast<QPagedPaintDevice&>(printer), sheet);
  printer.setFullPage(true);
}

bool PrintLabels(QPrinter& printer, const LabelContacts& contacts, const LabelPlan& plan,
                 const PageProgress& progress) {
  SetSheetPage(printer, plan.Sheet());
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const bool done = DrawAllPages(painter, printer, contacts, plan, progress);
  if (!done) printer.abort();
  painter.end();
  return done;
}

}  // namespace kartex
