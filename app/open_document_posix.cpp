#include "app/open_document.h"

#include <QPointer>
#include <QProcess>
#include <QWidget>

namespace kartex {

// xdg-open tells by its exit status whether it could open the document: 0
// when it did, 3 when nothing handles the type, 4 when the opening failed,
// and so on. Without a desktop environment it waits for the viewer it
// started, so the window does not wait for it: the status arrives through
// the event loop. The opener belongs to no window, so closing the program
// leaves an open help viewer alone. Its messages go to the program's output.
void OpenDocument(const QString& path, QWidget* parent, std::function<void()> failed) {
  auto* opener = new QProcess;
  QPointer<QWidget> owner = parent;
  auto report = [opener, owner, failed](bool ok) {
    if (!ok && owner) failed();
    opener->deleteLater();
  };
  QObject::connect(opener, &QProcess::finished, opener,
                   [report](int exitCode, QProcess::ExitStatus status) {
                     report(status == QProcess::NormalExit && exitCode == 0);
                   });
  QObject::connect(opener, &QProcess::errorOccurred, opener,
                   [report](QProcess::ProcessError error) {
                     if (error == QProcess::FailedToStart)
                       report(false);  // the other errors end in finished
                   });
  opener->setProcessChannelMode(QProcess::ForwardedChannels);
  opener->setStandardInputFile(QProcess::nullDevice());
  opener->start("xdg-open", {path});
}

}  // namespace kartex
