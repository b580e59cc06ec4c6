#include "platform/ui/Timers.h"

#include "platform/ui/Graphics.h"
#include "platform/ui/UtilWindow.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  window_ = AllocateHWnd([this](TMessage& m) {
    if (m.Msg == WM_TIMER) Timer();
    else DefaultUtilMessage(window_, m);
  });
}

TTimer::~TTimer() {
  KillTimer(window_, kTimerId);
  DeallocateHWnd(window_);
}

void TTimer::UpdateTimer() {
  KillTimer(window_, kTimerId);
  if (enabled_ && interval_ > 0 && onTimer_ && !SetTimer(window_, kTimerId, interval_, nullptr))
    throw EOutOfResources("Not enough timers available");
}

void TTimer::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned ms) {
  if (interval_ == ms) return;
  interval_ = ms;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  UpdateTimer();
}

void TTimer::Timer() {
  if (onTimer_) onTimer_(this);
}
