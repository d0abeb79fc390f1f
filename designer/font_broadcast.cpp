#include "designer/font_broadcast.h"

#include <atomic>
#include <cstdint>

#include "designer/external_function_ids.h"
#include "designer/unit_access.h"

namespace {

constexpr std::uint32_t kBroadcastWindow = 0xFFFF;
constexpr std::uint32_t kFontChangeMessage = 0x001D;

// Set by the worker thread, taken by whichever thread broadcasts first.
std::atomic<bool> gFontsAddedSinceBroadcast{false};

}  // namespace

void NoteFontsAdded() { gFontsAddedSinceBroadcast.store(true); }

void BroadcastFontChangeIfFontsAdded() {
  if (!gFontsAddedSinceBroadcast.exchange(false)) return;
  CallExternal(kSendMessage, kBroadcastWindow, kFontChangeMessage, 0, 0);
}
