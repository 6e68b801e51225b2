// Sorting by clicks on SG1's header, driven with real mouse events on the
// header's viewport: which releases sort, the key list they leave, and the
// marks the header paints.

#include <QHeaderView>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include <memory>

#include "app/sort_header_view.h"
#include "app/unit1.h"
#include "app_test_support.h"
#include "table/column_sort.h"

using kartex::testing::ColumnString;
using kartex::testing::WriteLog;

namespace {

const std::vector<std::string> kLog = {
    "NR,LETTER,NUMBER,MODE,CALL,DXCC",
    "1,e,30,x,SP1AA,269",
    "2,d,10,z,SP2BB,269",
    "3,c,20,x,SP3CC,230",
    "4,b,10,y,SP4DD,230",
    "5,a,50,y,SP5EE,291",
};

bool IsMarkRed(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60; }

bool IsDigitLight(QRgb pixel) { return qGray(pixel) > 200 && qGreen(pixel) > 150; }

// Text drawn smoothly (ClearType on Windows) is dark, not always black.
bool IsDark(QRgb pixel) { return qGray(pixel) < 128; }

// An image of a widget read in the widget's own (logical) pixels, at any
// scale of the screen: areas count in logical pixels.
class LogicalImage {
 public:
  LogicalImage(QImage image, qreal ratio) : image_(std::move(image)), ratio_(ratio) {}
  explicit LogicalImage(const QImage& image) : LogicalImage(image, image.devicePixelRatio()) {}
  int width() const { return int(image_.width() / ratio_); }
  int height() const { return int(image_.height() / ratio_); }
  // Pixels of the kind in the logical columns [left, right) and rows [top, bottom).
  int CountIn(bool (*kind)(QRgb), int left, int right, int top = 0, int bottom = -1) const {
    if (bottom < 0) bottom = height();
    int count = 0;
    for (int x = int(std::max(left, 0) * ratio_); x < int(std::min(right, width()) * ratio_); ++x) {
      for (int y = int(top * ratio_); y < int(bottom * ratio_); ++y)
        count += kind(image_.pixel(x, y)) ? 1 : 0;
    }
    return int(count / (ratio_ * ratio_) + 0.5);
  }
  int RedIn(int left, int right, int top = 0, int bottom = -1) const {
    return CountIn(IsMarkRed, left, right, top, bottom);
  }

 private:
  QImage image_;
  qreal ratio_;
};

// Two marks of the same direction differ only by their digits.
bool SameMark(int red, int other) { return qAbs(red - other) <= other / 4; }

}  // namespace

class SortHeaderTest : public QObject, protected kartex::testing::WindowFixture {
  Q_OBJECT

 private:
  QTableView* grid = nullptr;
  QHeaderView* header = nullptr;

  // The key list as "column+" (ascending) or "column-" (descending), in order.
  QString Keys() const {
    const kartex::TSortIndexList& keys = form->session().Sort().SortIndex();
    QStringList out;
    for (int k = 0; k < keys.Count(); ++k)
      out.append(QString::number(keys.Column(k)) + (keys.Descending(k) ? "-" : "+"));
    return out.join(',');
  }

  QPoint Middle(int column) const {
    return {header->sectionViewportPosition(column) + header->sectionSize(column) / 3,
            header->height() / 2};
  }

  void Click(int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(header->viewport(), Qt::LeftButton, modifiers, Middle(column));
  }

  static void Send(QWidget* target, QEvent::Type type, QPoint point, Qt::MouseButton button,
                   Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, point, target->mapToGlobal(point), button, buttons, modifiers);
    QApplication::sendEvent(target, &event);
  }

  // Red pixels of the sort mark in each visible section, by column.
  QList<int> RedPixelsPerSection() const {
    const LogicalImage image(header->viewport()->grab().toImage());
    QList<int> counts;
    for (int col = 0; col < 4; ++col) {
      const int left = header->sectionViewportPosition(col);
      counts.append(image.RedIn(left, left + header->sectionSize(col)));
    }
    return counts;
  }

  // The header as it stands on the screen, with whatever earlier paints left.
  // The offscreen platform gives the screen's pixels at 100 % only; at other
  // scales the header is drawn afresh.
  LogicalImage HeaderOnScreen() const {
    QApplication::processEvents();
    if (form->devicePixelRatio() != 1) return LogicalImage(header->viewport()->grab().toImage());
    const QPoint origin = header->viewport()->mapTo(form.get(), QPoint(0, 0));
    const QPixmap window = form->screen()->grabWindow(form->winId());
    return LogicalImage(window.copy(QRect(origin, header->viewport()->size())).toImage());
  }

 private slots:
  void init() {
    QVERIFY(OpenWindow());
    grid = form->findChild<QTableView*>("SG1");
    header = grid->horizontalHeader();
    QVERIFY(qobject_cast<kartex::SortHeaderView*>(header));
  }

  void cleanup() { CloseWindow(); }

  void plainAndShiftClicks() {
    Load(kLog);
    // A plain click makes the column the only key, ascending.
    Click(2);
    QCOMPARE(Keys(), QString("2+"));
    QCOMPARE(ColumnString(*grid->model(), 2), QString("10|10|20|30|50"));
    // Again: the sole key flips.
    Click(2);
    QCOMPARE(Keys(), QString("2-"));
    QCOMPARE(ColumnString(*grid->model(), 2), QString("50|30|20|10|10"));
    // Shift adds a lower key; among the two 10s the mode decides.
    Click(3, Qt::ShiftModifier);
    QCOMPARE(Keys(), QString("2-,3+"));
    QCOMPARE(ColumnString(*grid->model(), 3).right(3), QString("y|z"));
    // Shift on a key flips it in its place.
    Click(2, Qt::ShiftModifier);
    QCOMPARE(Keys(), QString("2+,3+"));
    QCOMPARE(ColumnString(*grid->model(), 3).left(3), QString("y|z"));
    // With two keys a plain click never flips: the column becomes the only key.
    Click(3);
    QCOMPARE(Keys(), QString("3+"));
    // The header row and the row count stay.
    QCOMPARE(grid->model()->headerData(2, Qt::Horizontal).toString(), QString("NUMBER"));
    QCOMPARE(grid->model()->rowCount(), 5);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  // The header's rows hold the whole height of its font, down to the
  // underscore below the line: a name of underscores alone shows.
  void underscoresShow() {
    Load({"____,LETTER,CALL,DXCC", "1,a,SP1AA,269"});
    const LogicalImage image = HeaderOnScreen();
    const int left = header->sectionViewportPosition(0);
    QVERIFY2(image.CountIn(IsDark, left + 3, left + 60, 1, image.height() - 3) > 8,
             "the underscores of the first column's name are drawn");
  }

  void releasesThatDoNotSort_data() {
    QTest::addColumn<QString>("gesture");
    QTest::newRow("left sizing zone") << "left zone";
    QTest::newRow("right sizing zone") << "right zone";
    QTest::newRow("right button") << "right button";
    QTest::newRow("press on the header, release on a data cell") << "header to data";
    QTest::newRow("press on a data cell, release on the header") << "data to header";
    QTest::newRow("width drag") << "drag";
    QTest::newRow("release after a double-click at an edge") << "edge double-click";
  }

  void releasesThatDoNotSort() {
    QFETCH(QString, gesture);
    Load(kLog);
    Click(1);
    QCOMPARE(Keys(), QString("1+"));
    const QString before = ColumnString(*grid->model(), 1);
    QWidget* headerPort = header->viewport();
    QWidget* dataPort = grid->viewport();
    const int left = header->sectionViewportPosition(2);
    const int right = left + header->sectionSize(2);
    const int y = header->height() / 2;
    if (gesture == "left zone") {
      QTest::mouseClick(headerPort, Qt::LeftButton, {}, QPoint(left + 2, y));
    } else if (gesture == "right zone") {
      QTest::mouseClick(headerPort, Qt::LeftButton, {}, QPoint(right - 3, y));
    } else if (gesture == "right button") {
      QTest::mouseClick(headerPort, Qt::RightButton, {}, Middle(2));
    } else if (gesture == "header to data") {
      // The header holds the mouse while its button is down, so the release
      // arrives there, below its own cells.
      Send(headerPort, QEvent::MouseButtonPress, Middle(2), Qt::LeftButton, Qt::LeftButton);
      Send(headerPort, QEvent::MouseButtonRelease, Middle(2) + QPoint(0, header->height() + 25),
           Qt::LeftButton, Qt::NoButton);
    } else if (gesture == "data to header") {
      const QPoint cell(left + 40, 30);
      Send(dataPort, QEvent::MouseButtonPress, cell, Qt::LeftButton, Qt::LeftButton);
      Send(dataPort, QEvent::MouseButtonRelease, QPoint(cell.x(), -header->height() / 2),
           Qt::LeftButton, Qt::NoButton);
    } else if (gesture == "drag") {
      const int widthBefore = header->sectionSize(1);
      const QPoint edge(header->sectionViewportPosition(1) + widthBefore - 1, y);
      Send(headerPort, QEvent::MouseButtonPress, edge, Qt::LeftButton, Qt::LeftButton);
      Send(headerPort, QEvent::MouseMove, edge + QPoint(30, 0), Qt::NoButton, Qt::LeftButton);
      // The release lands in the middle of the next cell, away from any edge.
      Send(headerPort, QEvent::MouseButtonRelease, edge + QPoint(30, 0), Qt::LeftButton,
           Qt::NoButton);
      QCOMPARE(header->sectionSize(1), widthBefore + 30);
    } else if (gesture == "edge double-click") {
      // The left edge of the first cell: no column to size there, yet the
      // double-click belongs to column sizing; the release comes after the
      // mouse moved to the middle of the cell.
      const QPoint edge(1, y);
      Send(headerPort, QEvent::MouseButtonPress, edge, Qt::LeftButton, Qt::LeftButton);
      Send(headerPort, QEvent::MouseButtonRelease, edge, Qt::LeftButton, Qt::NoButton);
      Send(headerPort, QEvent::MouseButtonDblClick, edge, Qt::LeftButton, Qt::LeftButton);
      Send(headerPort, QEvent::MouseButtonRelease, Middle(0), Qt::LeftButton, Qt::NoButton);
      QCOMPARE(header->sectionSize(0), 146);
    }
    QCOMPARE(Keys(), QString("1+"));
    QCOMPARE(ColumnString(*grid->model(), 1), before);
    // A plain release in the middle still sorts afterwards.
    Click(2);
    QCOMPARE(Keys(), QString("2+"));
  }

  void pressOnOneHeaderCellReleaseOnAnother() {
    Load(kLog);
    Send(header->viewport(), QEvent::MouseButtonPress, Middle(0), Qt::LeftButton, Qt::LeftButton);
    Send(header->viewport(), QEvent::MouseButtonRelease, Middle(2), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(Keys(), QString("2+"));
  }

  void doubleClickInTheMiddleSortsTwice() {
    Load(kLog);
    const QPoint middle = Middle(1);
    Send(header->viewport(), QEvent::MouseButtonPress, middle, Qt::LeftButton, Qt::LeftButton);
    Send(header->viewport(), QEvent::MouseButtonRelease, middle, Qt::LeftButton, Qt::NoButton);
    Send(header->viewport(), QEvent::MouseButtonDblClick, middle, Qt::LeftButton, Qt::LeftButton);
    Send(header->viewport(), QEvent::MouseButtonRelease, middle, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(Keys(), QString("1-"));
  }

  void oneDataRowDoesNotSort() {
    Load({"CALL,DXCC,BAND", "SP1AA,269,20M"});
    Click(1);
    QCOMPARE(Keys(), QString());
    QCOMPARE(RedPixelsPerSection(), QList<int>({0, 0, 0, 0}));
  }

  void marksShowTheKeys() {
    Load(kLog);
    QCOMPARE(RedPixelsPerSection(), QList<int>({0, 0, 0, 0}));
    Click(2);
    Click(1, Qt::ShiftModifier);
    const QList<int> red = RedPixelsPerSection();
    QCOMPARE(red[0], 0);
    QVERIFY(red[1] > 20);
    QVERIFY(red[2] > 20);
    QCOMPARE(red[3], 0);
    // The texts stay the column names: the marks are painted, not written.
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QString("LETTER"));
    QCOMPARE(grid->model()->headerData(2, Qt::Horizontal).toString(), QString("NUMBER"));
  }

  void markPointsUpForAscendingAndDownForDescending() {
    Load(kLog);
    auto RedRowsOfMark = [this](int column) {
      // The width of red in the mark's top and bottom rows.
      const LogicalImage image(header->viewport()->grab().toImage());
      const int left = header->sectionViewportPosition(column);
      const int right = left + header->sectionSize(column);
      return std::pair(image.RedIn(left, right, 5, 6), image.RedIn(left, right, 15, 16));
    };
    Click(1);
    auto [upTop, upBottom] = RedRowsOfMark(1);
    QVERIFY2(upTop < upBottom, "an ascending mark is wide at its base, below");
    Click(1);
    auto [downTop, downBottom] = RedRowsOfMark(1);
    QVERIFY2(downTop > downBottom, "a descending mark is wide at its base, above");
  }

  // A key column whose cell reaches past the grid's right edge shows its mark
  // in the part that can be seen; scrolling leaves no mark behind at its old
  // place.
  void markOfAPartlyVisibleCell() {
    Load(kLog);
    const int viewWidth = header->viewport()->width();
    auto visiblePart = [this, viewWidth](int column) {
      const int left = header->sectionViewportPosition(column);
      return std::pair(std::max(left, 0), std::min(left + header->sectionSize(column), viewWidth));
    };
    // Column 4 starts in view and ends beyond the right edge.
    QVERIFY(header->sectionViewportPosition(4) + 40 < viewWidth);
    QVERIFY(header->sectionViewportPosition(4) + header->sectionSize(4) > viewWidth + 20);
    Click(0);
    Click(4, Qt::ShiftModifier);
    QCOMPARE(Keys(), QString("0+,4+"));
    LogicalImage image = HeaderOnScreen();
    const int oneMark = image.RedIn(visiblePart(0).first, visiblePart(0).second);
    QVERIFY(oneMark > 20);
    QVERIFY(SameMark(image.RedIn(visiblePart(4).first, visiblePart(4).second), oneMark));

    // Scrolled sideways a column at a time, the marks stay whole where they
    // can be seen, and nothing else is red.
    for (int step = 0; step < 3; ++step) {
      grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->value() + 1);
      image = HeaderOnScreen();
      const auto [left4, right4] = visiblePart(4);
      QVERIFY(SameMark(image.RedIn(left4, right4), oneMark));
      const auto [left0, right0] = visiblePart(0);
      const int marksOfColumn0 = right0 - left0 > 16 ? 2 : 1;
      QVERIFY(SameMark(image.RedIn(0, viewWidth), marksOfColumn0 * oneMark));
    }
  }

  // The digits stand out of the red: light on it, never red themselves, and
  // 8 pixels or more tall.
  void markDigitsAreLightOnRedAndTall() {
    Load(kLog);
    Click(1);
    const LogicalImage image(header->viewport()->grab().toImage());
    const int right = header->sectionViewportPosition(1) + header->sectionSize(1);
    int firstRow = -1;
    int lastRow = -1;
    for (int y = 0; y < image.height(); ++y) {
      if (image.CountIn(IsDigitLight, right - 16, right, y, y + 1) == 0) continue;
      if (firstRow < 0) firstRow = y;
      lastRow = y;
    }
    QVERIFY2(firstRow >= 0, "no light digit in the mark");
    QVERIFY2(lastRow - firstRow + 1 >= 8, qPrintable(QString::number(lastRow - firstRow + 1)));
    QVERIFY(image.RedIn(right - 16, right, firstRow, lastRow + 1) > 20);
  }

  void addedColumnsAreNarrower() {
    std::string header60 = "CALL,DXCC";
    std::string row60 = "SP1AA,269";
    for (int col = 2; col < 60; ++col) {
      header60 += ",C" + std::to_string(col);
      row60 += ",x";
    }
    // A dragged width survives the load; the seven new columns are 60 wide.
    header->resizeSection(3, 99);
    Load({header60, row60, row60});
    QCOMPARE(grid->model()->columnCount(), 60);
    QCOMPARE(header->sectionSize(3), 99);
    QCOMPARE(header->sectionSize(52), 146);
    for (int col = 53; col < 60; ++col) QCOMPARE(header->sectionSize(col), 60);
  }
};

QTEST_MAIN(SortHeaderTest)
#include "sort_header_test.moc"
