// The methods of the component types beyond property access, on a unit's component. The command
// interface adapters (frame/commands.h) find the unit and call these; a component of another type
// answers the method's empty result.
#pragma once

#include <cstdint>

#include "forms/component.h"
#include "frame/ground/values.h"

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

// Pictures of picture boxes, supplied by the picture library when it starts: the bytes are decoded
// once when the property is written and the decoded picture is drawn on every paint, by display
// mode (0 natural size at the top left, 2 centred and shrunk to fit, others stretched). Until the
// library is there, pictures are not drawn.
struct PictureService {
  void* (*decode)(const std::uint8_t* bytes, std::size_t length);  // null when nothing decodes
  void (*release)(void* decoded);
  void (*paint)(HDC dc, const RECT& rect, const void* decoded, std::int32_t displayMode);
};
void SetPictureService(const PictureService& service);
