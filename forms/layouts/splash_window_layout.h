// The splash window as stored: a frameless, rounded picture window whose timer ends it after five
// seconds (ids in forms/layouts/window_ids.h).
#pragma once

#include <cstdint>
#include <span>

#include "forms/layout.h"

const WindowLayout& SplashWindowLayout();

// The JPEG file the splash window's picture box holds.
std::span<const std::uint8_t> SplashPictureBytes();
