#include "TourRunner.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <cstdio>
#include <utility>

namespace quenderlink::tour {
namespace {

constexpr int kTickMs = 100;
// Long enough for the windows to lay out and paint what the last move changed.
constexpr int kSettleMs = 800;

bool Always() { return true; }

}  // namespace

TourRunner::TourRunner(std::filesystem::path pictures) : pictures_(std::move(pictures)) {
  ticks_.setInterval(kTickMs);
  connect(&ticks_, &QTimer::timeout, this, &TourRunner::Tick);
}

void TourRunner::Do(std::string what, std::function<void()> action) {
  moves_.push_back({std::move(what), Always, [action = std::move(action)] { QTimer::singleShot(0, action); },
                    kDefaultTimeoutMs});
}

void TourRunner::WaitFor(std::string what, std::function<bool()> done, int timeoutMs) {
  moves_.push_back({std::move(what), std::move(done), [] {}, timeoutMs});
}

void TourRunner::AnswerModal(std::string what, std::function<void(QWidget&)> answer) {
  moves_.push_back({std::move(what), [] { return QApplication::activeModalWidget() != nullptr; },
                    [answer = std::move(answer)] {
                      QTimer::singleShot(0, [answer] {
                        if (QWidget* modal = QApplication::activeModalWidget()) answer(*modal);
                      });
                    },
                    kDefaultTimeoutMs});
}

void TourRunner::Shoot(const std::string& name) {
  const std::filesystem::path file = pictures_ / (name + ".png");
  moves_.push_back({"a picture " + file.string(), [this] { return sinceMoveBegan_.elapsed() >= kSettleMs; },
                    [file] {
                      // A palette of 256 colours keeps the pictures of windows sharp and a third of the size.
                      const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
                          QImage::Format_Indexed8, Qt::ThresholdDither);
                      if (!screen.save(QString::fromStdString(file.string())))
                        std::fprintf(stderr, "quenderlink-tour: cannot write %s\n", file.c_str());
                    },
                    kDefaultTimeoutMs});
}

void TourRunner::Start(std::function<void(bool)> finished) {
  finished_ = std::move(finished);
  next_ = 0;
  sinceMoveBegan_.start();
  ticks_.start();
}

void TourRunner::Tick() {
  if (next_ == moves_.size()) return Finish(true);
  const Move& move = moves_[next_];
  if (!move.ready()) {
    if (sinceMoveBegan_.elapsed() < move.timeoutMs) return;
    std::fprintf(stderr, "quenderlink-tour: timed out waiting for %s\n", move.what.c_str());
    if (const QWidget* modal = QApplication::activeModalWidget())
      std::fprintf(stderr, "quenderlink-tour: a dialog is open: %s\n", qPrintable(modal->windowTitle()));
    return Finish(false);
  }
  move.act();
  ++next_;
  sinceMoveBegan_.start();
}

void TourRunner::Finish(bool played) {
  ticks_.stop();
  finished_(played);
}

}  // namespace quenderlink::tour
