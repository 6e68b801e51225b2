#pragma once
// Labels and cards out of the program: a PDF file, the printer, and the
// dialog's picture of the first page. All three draw with DrawLabelPage.

#include <QImage>
#include <QSize>

#include <functional>
#include <string>

#include "labels/label_plan.h"

class QPagedPaintDevice;
class QPainter;

namespace kartex {

// Told after each page drawn (pages done, pages in all); false stops the
// job. May be empty.
using PageProgress = std::function<bool(int done, int total)>;

// Writes the PDF to path atomically: the previous file stays intact when
// anything fails ("Cannot create file PATH") or the job is stopped. False
// when stopped. Needs a QGuiApplication.
bool SaveLabelPdf(const std::string& path, const LabelContacts& contacts, const LabelPlan& plan,
                  const PageProgress& progress = {});

// Draws every page on a painter whose device (a PDF writer, a printer) is
// set up for the sheet; false when stopped or the device failed.
bool DrawAllPages(QPainter& painter, QPagedPaintDevice& device, const LabelContacts& contacts,
                  const LabelPlan& plan, const PageProgress& progress);

// The page drawn into an image of at most `room` pixels, the labels'
// outlines shown, on white paper with a grey edge.
QImage LabelPagePreview(const LabelContacts& contacts, const LabelPlan& plan, int page, QSize room);

}  // namespace kartex
