#pragma once
// TForm1, the program's one window: its controls with their captions, places
// and starting states, the binding of each control to its command, and the
// closing question. The commands themselves are the session's; the window
// only shows the control states the session keeps.

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/paint_pacer.h"
#include "commands/session.h"
#include "table/regional_settings.h"

class QAction;
class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTableView;

namespace kartex {

class LogTableModel;
class QtWindowSystem;
class SortHeaderView;

inline constexpr int kClientWidth = 713;
inline constexpr int kClientHeight = 527;

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // The window system is the program's (or a test's); it must outlive the
  // window.
  TForm1(QtWindowSystem& windows, RegionalSettings regional, QWidget* parent = nullptr);
  ~TForm1() override;

  Session& session() { return session_; }
  LogTableModel* model() const { return model_.get(); }

  // Brings every control into the state kept in session().Controls(): the
  // enabling rules in one place.
  void ApplyControlStates();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls(QWidget* client);
  void BuildGrid(QWidget* client);
  void BuildMenu();
  void SetTabOrder();
  void ShowSource(const QString& caption, const QString& path);
  void ShowProgress(int position);

  // Runs one command: an error ends it in the general error box, and the
  // normal cursor is back at its end, whatever happened.
  void RunCommand(const std::function<void()>& command);
  // A message that arrives from the event loop (the help viewer's failure)
  // is shown at once, or after the command running at that moment.
  void ShowWhenNoCommandRuns(const std::string& message);
  void ShowMessagesHeldBack();

  void Load_CSVClick();
  void Save_CSVClick();
  void SaveStationsCSV1Click();
  void SaveSentADIF1Click();
  void SortujwgbiurQSL1Click();
  void GoToCell(int row, int column);
  void DrukujnaklejkiQSL1Click();
  void QSL_VIAClick();
  void CTY_ADIFClick();
  void Close1Click();
  void Otworzplikpomocy1Click();
  void RG1Selected(int itemIndex);
  void SortBySelected(int itemIndex);
  void HeaderSortClick(int column, bool shiftHeld);

  QtWindowSystem& windows_;
  Session session_;
  std::unique_ptr<LogTableModel> model_;

  QPushButton* Load_CSV = nullptr;
  QPushButton* Save_CSV = nullptr;
  QLabel* Source = nullptr;
  QLabel* Records = nullptr;
  QLabel* Label4 = nullptr;
  QTableView* SG1 = nullptr;
  SortHeaderView* SG1Header = nullptr;
  QGroupBox* RG1 = nullptr;
  QButtonGroup* RG1Items = nullptr;
  QLabel* Label1 = nullptr;
  QProgressBar* dxfProgressBar1 = nullptr;
  QFrame* Panel1 = nullptr;
  QLabel* Label2 = nullptr;
  QGroupBox* SortBy = nullptr;
  QButtonGroup* SortByItems = nullptr;
  QPushButton* CTY_ADIF = nullptr;
  QLabel* Label5 = nullptr;
  QListWidget* ListBox1 = nullptr;  // a WholeLineList
  QPushButton* QSL_VIA = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QLabel* Label3 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QAction* OtworzplikCSV1 = nullptr;
  QAction* SaveCSV1 = nullptr;
  QAction* SaveStationsCSV1 = nullptr;
  QAction* SaveSentADIF1 = nullptr;
  QAction* DrukujnaklejkiQSL1 = nullptr;
  QAction* Zamknij1 = nullptr;
  QAction* UzupelnijDXCC1 = nullptr;
  QAction* SprawdzDXCC1 = nullptr;
  QAction* SortujwgbiurQSL1 = nullptr;
  QAction* Otworzplikpomocy1 = nullptr;

  std::vector<std::string> shownListBox_;  // what ListBox1 shows, as bytes
  QString sourceCaption_;                  // what Source shows, before eliding
  bool applyingControls_ = false;          // radio buttons set from the states
  bool closeConfirmed_ = false;            // the menu's question was answered OK
  bool commandRunning_ = false;            // inside RunCommand
  std::vector<std::string> heldBackMessages_;
  int savedCurrentRow_ = -1;  // SG1's current cell across a reset
  int savedCurrentColumn_ = -1;
  // At most 25 paints a second of the progress bar while a filter runs.
  PaintPacer progressPaints_{std::chrono::milliseconds(40)};
};

}  // namespace kartex
