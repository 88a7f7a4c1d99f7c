#include "app/progress_window.h"

#include <QDialogButtonBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <filesystem>

#include "progress/path_labels.h"
#include "progress/progress_source.h"
#include "progress/trainer_record.h"

namespace {

// Files smaller than this are read at once, in the interface's thread.
constexpr int64_t readAtOnce = 1 << 20;

int64_t sizeOf(const ProgressSource& source) {
  std::error_code error;
  if (!source.record)
    return int64_t(
        std::filesystem::file_size(source.path.toStdString(), error));
  int64_t total = 0;
  for (const std::string& file : recordFiles(source.path.toStdString()))
    total += int64_t(std::filesystem::file_size(file, error));
  return total;
}

}  // namespace

ProgressWindow::ProgressWindow(const Menu* menu, QWidget* parent,
                               std::string folder)
    : QDialog(parent),
      menu_(menu),
      folder_(std::move(folder)),
      layout_(new QVBoxLayout(this)),
      bar_(new QProgressBar),
      ticker_(new QTimer(this)) {
  setWindowTitle(tr("Tarvel Progress"));
  // As large as the charts like, within the screen.
  QSize size(1500, 950);
  if (const QScreen* shown = screen())
    size = size.boundedTo(shown->availableGeometry().size() * 0.95);
  resize(size);
  bar_->setRange(0, 1000);
  bar_->setFormat(tr("Reading… %p%"));
  bar_->hide();
  layout_->addWidget(bar_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  QPushButton* again =
      buttons->addButton(tr("&Read again"), QDialogButtonBox::ActionRole);
  connect(again, &QPushButton::clicked, this, &ProgressWindow::reload);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  layout_->addWidget(buttons);
  ticker_->setInterval(100);
  connect(ticker_, &QTimer::timeout, this, [this] {
    if (!reading_) return;
    int64_t total = std::max<int64_t>(1, reading_->bytesTotal);
    bar_->setValue(int(1000 * reading_->bytesRead / total));
  });
  connect(&watcher_, &QFutureWatcher<Result>::finished, this, [this] {
    Result result = watcher_.result();
    if (result.subject == subject_) display(std::move(result));
  });
  reload();
}

ProgressWindow::~ProgressWindow() {
  if (reading_) reading_->cancel = true;
  watcher_.waitForFinished();
}

ProgressWindow::Result ProgressWindow::readAll(const Menu* menu,
                                               ProgressSource source,
                                               int subject,
                                               ReadProgress* reading) {
  ProgressBuilder builder = progressBuilderFor(menu);
  std::string error;
  std::string path = source.path.toStdString();
  source.opened = source.record
                      ? readRecordInto(path, &builder, &error, reading)
                      : readTraceInto(path, &builder, &error, reading);
  source.error = QString::fromStdString(error);
  Result result{builder.finish(), source, subject};
  if (!source.opened) result.progress = Progress();
  return result;
}

bool ProgressWindow::showRecordOf(const Menu* menu, const std::string& folder) {
  if (menu == menu_ && folder == folder_) return false;
  if (reading_) reading_->cancel = true;
  watcher_.waitForFinished();
  menu_ = menu;
  folder_ = folder;
  subject_++;
  reload();
  return true;
}

void ProgressWindow::reload() {
  if (reading()) return;  // the reading under way shows what is there
  ProgressSource source;
  std::string record = folder_.empty() ? trainerRecordPath() : folder_;
  // Only the practice menu has a trace to fall back on.
  source.record = !folder_.empty() || !recordFiles(record).empty();
  source.path = QString::fromStdString(source.record ? record : mTraceFile());
  if (sizeOf(source) < readAtOnce) {
    display(readAll(menu_, source, subject_, nullptr));
    return;
  }
  reading_ = std::make_shared<ReadProgress>();
  bar_->setValue(0);
  bar_->show();
  ticker_->start();
  std::shared_ptr<ReadProgress> reading = reading_;
  const Menu* menu = menu_;
  int subject = subject_;
  watcher_.setFuture(QtConcurrent::run([menu, source, subject, reading] {
    return readAll(menu, source, subject, reading.get());
  }));
}

void ProgressWindow::display(Result result) {
  ticker_->stop();
  bar_->hide();
  reading_.reset();
  delete charts_;
  charts_ = makeProgressView(result.progress, result.source);
  layout_->insertWidget(0, charts_, 1);
}
