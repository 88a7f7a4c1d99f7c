// Help > Progress: the charts of the trainer's own record, or of the user's
// trace file while there is no record, read again on request. A large file
// is read in another thread, with a progress bar, the window usable
// meanwhile.
#pragma once

#include <QDialog>
#include <QFutureWatcher>
#include <memory>

#include "menu/marking_menu.h"
#include "progress/progress_charts.h"

class QProgressBar;
class QTimer;
class QVBoxLayout;

class ProgressWindow : public QDialog {
 public:
  // Paths of the trace are named through `menu`, the tree they were made in.
  ProgressWindow(const Menu* menu, QWidget* parent = nullptr);
  ~ProgressWindow() override;
  // Reads the record or the trace again and shows what it holds now.
  void reload();
  // True while a reading goes on in another thread.
  bool reading() const { return watcher_.isRunning(); }

 private:
  struct Result {
    Progress progress;
    ProgressSource source;
  };
  static Result readAll(const Menu* menu, ProgressSource source,
                        ReadProgress* progress);
  void display(Result result);

  const Menu* menu_;
  QVBoxLayout* layout_;
  QWidget* charts_ = nullptr;
  QProgressBar* bar_;
  QTimer* ticker_;
  std::shared_ptr<ReadProgress> reading_;
  QFutureWatcher<Result> watcher_;
};
