#pragma once
// "Plik" -> "Drukuj naklejki QSL…": the shown rows of the log as QSL labels
// or cards. The operator picks a sheet from a searchable list, the first
// label to use and the contacts a label holds, sees the first page, and
// writes a PDF or prints on the system's printer. After either, the dialog
// can offer the command that records the cards as sent.

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

#include "labels/label_plan.h"
#include "labels/sheet_catalog.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPrinter;
class QPushButton;
class QSpinBox;

namespace kartex {

class QtWindowSystem;
class Session;

class LabelsDialog : public QDialog {
  Q_OBJECT

 public:
  // The session's table must stay as it is while the dialog is open (it is
  // modal).
  LabelsDialog(Session& session, QtWindowSystem& windows, SheetCatalog catalog,
               QWidget* parent = nullptr);
  ~LabelsDialog() override;

  // The command offered after a PDF or a print ("Zapisz plik ADIF wysłanych
  // kart…"); none: nothing is offered.
  void SetSentCardsCommand(std::function<void()> command) { sentCards_ = std::move(command); }
  // Shows the system's print dialog for the printer; true when the operator
  // chose to print. Tests put a stand-in here.
  void SetPrintDialog(std::function<bool(QPrinter&, QWidget*)> dialog) {
    printDialog_ = std::move(dialog);
  }

  const LabelPlan& Plan() const { return *plan_; }
  const LabelSheet& Sheet() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
  void FillSheetList();
  void FilterSheets(const QString& search);
  void SheetChosen();
  // Plans the labels anew and redraws the preview.
  void Refresh();
  void SavePdf();
  void Print();
  // Runs a job with a progress box for long ones; false when stopped.
  bool RunWithProgress(const QString& caption,
                       const std::function<bool(const std::function<bool(int, int)>&)>& job);
  void OfferSentCards();

  Session& session_;
  QtWindowSystem& windows_;
  SheetCatalog catalog_;
  LabelContacts contacts_;
  std::optional<LabelPlan> plan_;
  size_t sheetIndex_ = 0;
  std::function<void()> sentCards_;
  std::function<bool(QPrinter&, QWidget*)> printDialog_;

  QLineEdit* search_ = nullptr;
  QListWidget* sheets_ = nullptr;
  QLabel* sheetsNotice_ = nullptr;
  QSpinBox* start_ = nullptr;
  QSpinBox* perLabel_ = nullptr;
  QLabel* fitNotice_ = nullptr;
  QLabel* preview_ = nullptr;
  QLabel* pageCount_ = nullptr;
  QPushButton* savePdf_ = nullptr;
  QPushButton* print_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace kartex
