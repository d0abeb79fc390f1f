// Timer: a window timer of the form, its id the unit id; interval 0 means stopped.
#include "forms/component.h"
#include "forms/event_ids.h"
#include "forms/property_ids.h"
#include "forms/type_ids.h"

namespace {

constexpr PropertyRow kProperties[] = {
    {"interval", ValueKind::kInteger, true, 0, 0x7FFFFFFF},
};

class Timer final : public Component {
 public:
  bool Create(const ControlPlace& place) override {
    form_ = place.parent;
    Start();
    return true;
  }
  RawValue Read(int) const override { return NumberValue(interval_); }
  WriteOutcome Write(int, const RawValue& value) override {
    interval_ = static_cast<std::int32_t>(value.number);
    Start();
    return WriteOutcome::kApplied;
  }
  void DestroyControl() override {
    if (form_) KillTimer(form_, ref_.unitId);
  }
  void ForgetControl() override { form_ = nullptr; }
  void OnTimer() override { Raise(kTimerTick); }

 private:
  void Start() {
    if (!form_) return;
    KillTimer(form_, ref_.unitId);
    if (interval_ > 0) SetTimer(form_, ref_.unitId, static_cast<UINT>(interval_), nullptr);
  }

  HWND form_ = nullptr;
  std::int32_t interval_ = 0;
};

}  // namespace

void RegisterTimerType() {
  static constexpr ComponentType kType{kTypeTimer, "时钟", "Timer", kTypeRaisesEvents | kTypeNonVisual, kProperties,
                                       [] { return std::unique_ptr<Component>(new Timer); }};
  RegisterComponentType(kType);
}
