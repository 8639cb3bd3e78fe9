#pragma once
// The screen the program's windows are placed on: its full size (the limits of stored window
// places) and its available area (without panels and docks, where new windows open). The
// program asks the primary screen; tests install a fixed screen so that places do not depend
// on the machine.

#include <QRect>
#include <QSize>

namespace qz {

class TScreenService {
 public:
  virtual ~TScreenService() = default;
  virtual QSize Size() const = 0;
  virtual QRect Available() const = 0;
};

// The primary screen (1024 x 768 when there is none).
class TPrimaryScreen : public TScreenService {
 public:
  QSize Size() const override;
  QRect Available() const override;
};

// A screen of fixed size and available area.
class TFixedScreen : public TScreenService {
 public:
  TFixedScreen(QSize size, QRect available) : size_(size), available_(available) {}
  explicit TFixedScreen(QSize size) : TFixedScreen(size, QRect(QPoint(0, 0), size)) {}
  QSize Size() const override { return size_; }
  QRect Available() const override { return available_; }

 private:
  QSize size_;
  QRect available_;
};

// The installed screen service (the primary screen unless another is installed).
const TScreenService& Screen();
// Installs a service (not owned); nullptr restores the primary screen. Returns the previous one
// (nullptr when that was the primary screen).
const TScreenService* SetScreen(const TScreenService* screen);

// Installs a screen for the lifetime of the guard.
class TScopedScreen {
 public:
  explicit TScopedScreen(const TScreenService* screen) : previous_(SetScreen(screen)) {}
  ~TScopedScreen() { SetScreen(previous_); }
  TScopedScreen(const TScopedScreen&) = delete;
  TScopedScreen& operator=(const TScopedScreen&) = delete;

 private:
  const TScreenService* previous_;
};

}  // namespace qz
