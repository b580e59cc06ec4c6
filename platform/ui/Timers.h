// The timer component: OnTimer every Interval milliseconds on the UI
// thread, through a utility window of its own.
#pragma once

#include <windows.h>

#include "platform/Components.h"
#include "platform/ui/Types.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  const char* ClassName() const override { return "TTimer"; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // Milliseconds; 0 stops the timer.
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  // Setting the event restarts the timer; without one it stays stopped.
  void SetOnTimer(TNotifyEvent handler);
  const TNotifyEvent& OnTimer() const { return onTimer_; }

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();

  bool enabled_ = true;
  unsigned interval_ = 1000;
  TNotifyEvent onTimer_;
  HWND window_ = nullptr;
};
