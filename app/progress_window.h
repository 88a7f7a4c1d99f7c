// Help > Progress: the charts of the trainer's own record, or of the user's
// trace file while there is no record, read again on request. A large file
// is read in another thread, with a progress bar, the window usable
// meanwhile.
#pragma once

#include <QDialog>
#include <QFutureWatcher>
#include <memory>
#include <string>

#include "menu/marking_menu.h"
#include "progress/progress_charts.h"

class QProgressBar;
class QTimer;
class QVBoxLayout;

class ProgressWindow : public QDialog {
 public:
  // Paths of the trace are named through `menu`, the tree they were made in.
  // `folder` as showRecordOf takes it.
  ProgressWindow(const Menu* menu, QWidget* parent = nullptr,
                 std::string folder = {});
  ~ProgressWindow() override;
  // Reads the record or the trace again and shows what it holds now.
  void reload();
  // Shows the record under `folder`, of trials of `menu`, from now on:
  // the record of a menu of the learner's own. Empty: the trainer's own
  // record, or the trace while there is none. True when that is another
  // record than the one shown, which is then read.
  bool showRecordOf(const Menu* menu, const std::string& folder);
  // True while a reading goes on in another thread.
  bool reading() const { return watcher_.isRunning(); }

 private:
  struct Result {
    Progress progress;
    ProgressSource source;
    int subject = 0;  // which record was read: see subject_
  };
  static Result readAll(const Menu* menu, ProgressSource source, int subject,
                        ReadProgress* progress);
  void display(Result result);

  const Menu* menu_;
  std::string folder_;
  // Counts the changes of record shown, so that a reading of the one before
  // that ends late is dropped.
  int subject_ = 0;
  QVBoxLayout* layout_;
  QWidget* charts_ = nullptr;
  QProgressBar* bar_;
  QTimer* ticker_;
  std::shared_ptr<ReadProgress> reading_;
  QFutureWatcher<Result> watcher_;
};
