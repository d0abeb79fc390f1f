// The main window as stored: the window's own properties and its 25 units with their geometry,
// containers, initial values and event bindings (ids in forms/layouts/window_ids.h).
#pragma once

#include "forms/layout.h"

const WindowLayout& MainWindowLayout();
