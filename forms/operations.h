// The methods of the component types beyond property access, on a unit's component. The command
// interface adapters (frame/commands.h) find the unit and call these; a component of another type
// answers the method's empty result.
#pragma once

#include <cstdint>

#include "forms/component.h"
#include "frame/values.h"

Text TabPageName(const Component& tabBox, std::int32_t pageNumber);  // counted from 1
Text ComboItemText(const Component& comboBox, std::int32_t index);   // counted from 0
std::int32_t ComboAddItem(Component& comboBox, const char* text, std::int32_t data);
void ComboClear(Component& comboBox);
// The open or save dialog; true when the user confirmed (the path is then in `fileName`).
bool OpenFileDialog(Component& commonDlg);
// Pops up a balloon at a screen point. stayMode 0 keeps it up until it is dismissed; otherwise it
// hides after the tip's display time.
bool PopUpBalloon(Component& tip, int x, int y, const char* text, std::int32_t icon, std::int32_t stayMode);
// The tip window of a balloon component (null when none), for callers that must look at it.
HWND BalloonWindow(const Component& tip);

// Draws a picture's file bytes into a rectangle by display mode (0 natural size at the top left, 1
// stretched, 2 centred, further modes as 0). Installed by the picture library when it starts; until
// then pictures are not drawn.
using PicturePainter = void (*)(HDC dc, const RECT& rect, const std::uint8_t* bytes, std::size_t length,
                                std::int32_t displayMode);
void SetPicturePainter(PicturePainter painter);
