// The shared progress bar (0..100) that the builders advance; the window
// implements it, the command line ignores it.
#pragma once

#include <algorithm>

namespace quenlit {

class ProgressBar {
 public:
  static constexpr int kMax = 100;
  virtual ~ProgressBar() = default;
  virtual int position() const = 0;
  virtual void setPosition(int pos) = 0;
  void step() { setPosition(std::min(position() + 1, kMax)); }
};

// Keeps the position and shows nothing.
class NullProgress final : public ProgressBar {
 public:
  int position() const override { return pos_; }
  void setPosition(int pos) override { pos_ = pos; }

 private:
  int pos_ = 0;
};

// Advances the bar about `divisor` times over `count` items.
class ProgressStepper {
 public:
  ProgressStepper(ProgressBar& bar, size_t count, int divisor)
      : bar_(bar), step_(divisor > 0 && count / size_t(divisor) > 0 ? count / size_t(divisor) : 1) {}
  void before(size_t index) {
    if (index % step_ == 0) bar_.step();
  }

 private:
  ProgressBar& bar_;
  size_t step_;
};

}  // namespace quenlit
