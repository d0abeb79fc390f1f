#include "forms/control_hooks_win.h"

#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

struct Hook {
  ControlHook procedure;  // null once taken out
  DWORD_PTR data;
};

struct HookedControl {
  WNDPROC original = nullptr;  // set once the control's procedure is replaced
  std::vector<Hook> hooks;     // in the order they were put in; the last runs first
  Component* component = nullptr;
  int callsInProgress = 0;
  bool destroyed = false;  // WM_NCDESTROY came; forgotten when the last call returns
};

// Controls may live on more than one thread; the lock is never held while a procedure runs.
std::mutex gLock;
std::unordered_map<HWND, HookedControl> gControls;

// Where a message is in its control's chain: how many hooks it has passed. Nested messages (sent
// while one is handled) have calls of their own, innermost first.
struct ChainCall {
  HWND control;
  std::size_t passed;
  ChainCall* outer;
};
thread_local ChainCall* gInnermostCall = nullptr;

LRESULT CALLBACK HookedProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  {
    std::lock_guard lock(gLock);
    auto found = gControls.find(control);
    if (found != gControls.end()) ++found->second.callsInProgress;
  }
  ChainCall call{control, 0, gInnermostCall};
  gInnermostCall = &call;
  const LRESULT answer = CallNextHook(control, message, wParam, lParam);
  gInnermostCall = call.outer;
  std::lock_guard lock(gLock);
  auto found = gControls.find(control);
  if (found != gControls.end()) {
    HookedControl& hooked = found->second;
    --hooked.callsInProgress;
    if (message == WM_NCDESTROY) hooked.destroyed = true;
    if (hooked.destroyed && hooked.callsInProgress <= 0) gControls.erase(found);
  }
  return answer;
}

}  // namespace

bool HookControl(HWND control, ControlHook hook, DWORD_PTR data) {
  if (!control || !hook) return false;
  std::lock_guard lock(gLock);
  HookedControl& hooked = gControls[control];
  if (!hooked.original) {
    hooked.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookedProcedure)));
    if (!hooked.original) return false;
  }
  hooked.hooks.push_back({hook, data});
  return true;
}

void UnhookControl(HWND control, ControlHook hook) {
  std::lock_guard lock(gLock);
  auto found = gControls.find(control);
  if (found == gControls.end()) return;
  for (Hook& entry : found->second.hooks) {
    if (entry.procedure == hook) entry.procedure = nullptr;
  }
}

LRESULT CallNextHook(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  ChainCall* call = gInnermostCall;
  while (call && call->control != control) call = call->outer;
  ControlHook next = nullptr;
  DWORD_PTR data = 0;
  WNDPROC original = nullptr;
  {
    std::lock_guard lock(gLock);
    auto found = gControls.find(control);
    if (found != gControls.end()) {
      const std::vector<Hook>& hooks = found->second.hooks;
      while (call && call->passed < hooks.size() && !next) {
        const Hook& hook = hooks[hooks.size() - 1 - call->passed];
        ++call->passed;
        next = hook.procedure;
        data = hook.data;
      }
      original = found->second.original;
    }
  }
  if (next) return next(control, message, wParam, lParam, data);
  return original ? CallWindowProcW(original, control, message, wParam, lParam)
                  : DefWindowProcW(control, message, wParam, lParam);
}

void SetControlComponent(HWND control, Component* component) {
  if (!control) return;
  std::lock_guard lock(gLock);
  if (component) {
    gControls[control].component = component;
    return;
  }
  auto found = gControls.find(control);
  if (found == gControls.end()) return;
  found->second.component = nullptr;
  if (!found->second.original) gControls.erase(found);  // nothing else is kept for it
}

Component* ControlComponentOf(HWND control) {
  if (!control) return nullptr;
  std::lock_guard lock(gLock);
  auto found = gControls.find(control);
  return found == gControls.end() ? nullptr : found->second.component;
}
