// Flush timers that tick: the database's timer settings followed by a
// platform timer on the UI thread.
#include "platform/ui/Timers.h"
#include "tabledb/ui/TomeDBLogin.h"

namespace {

class TWindowsTomeTimer : public TTomeTimer {
 public:
  TWindowsTomeTimer() : timer_(nullptr) {
    timer_.SetEnabled(false);
    timer_.SetOnTimer([this](TObject*) { Tick(); });
    Changed();
  }

 protected:
  void Changed() override {
    timer_.SetInterval(Interval());
    timer_.SetEnabled(Enabled());
  }

 private:
  TTimer timer_;
};

}  // namespace

TTomeTimerFactory TomeDBWindowsTimerFactory() {
  return [] { return std::unique_ptr<TTomeTimer>(std::make_unique<TWindowsTomeTimer>()); };
}
