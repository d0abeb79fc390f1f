// The window map: one record per window layout, with its units' working state and, once loaded,
// its live window. The layout rows are the pristine copy: destroying a window rebuilds its units
// from them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "forms/component.h"
#include "forms/layout.h"

struct Unit {
  const UnitRow* row = nullptr;
  const ComponentType* type = nullptr;
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  std::uint32_t flags = 0;
  std::string tag;
  std::vector<std::uint8_t> mousePointer;
  std::unique_ptr<Component> component;
  bool live = false;  // the window is loaded and the control (if the type has one) exists

  std::uint32_t Id() const { return row->id; }
  // The unit's control while it is live; null otherwise (and for types without a control).
  HWND LiveControl() const { return live && component ? component->Control() : nullptr; }
  bool IsWindowUnit() const { return row->type == 0 || (type && (type->flags & kTypeIsWindow)); }
};

struct WindowRecord {
  const WindowLayout* layout = nullptr;
  std::vector<Unit> units;  // [0] is the window unit, then the controls in layout order
  HWND window = nullptr;    // the live window, null while not loaded
  bool pendingDestroy = false;
  bool pendingFirstShow = false;
  bool modal = false;
  bool topmost = false;
  bool creating = false;    // units are being built; moves and resizes raise no events yet
  HWND lastFocus = nullptr;

  std::uint32_t Id() const { return layout->windowId; }
  Unit& WindowUnit() { return units.front(); }
};

// Adds a layout's record; false when a layout with that id is already there or a row names a type
// that is not registered.
bool AddWindowLayout(const WindowLayout& layout);
WindowRecord* FindWindowRecord(std::uint32_t windowId);
WindowRecord* FindWindowRecordByHandle(HWND window);
// The unit with that id; 0 or the window unit's own id give the window unit.
Unit* FindUnit(WindowRecord& record, std::uint32_t unitId);
Unit* FindUnitByControl(WindowRecord& record, HWND control);
bool AnyWindowLoaded();
std::vector<std::unique_ptr<WindowRecord>>& WindowRecords();

// Rebuilds the record's units from its layout. The old units are kept until ReleaseRetiredUnits,
// because a component whose event destroyed its window may still be on the call stack.
void ResetWindowRecord(WindowRecord& record);
void ReleaseRetiredUnits();
// Shutdown: the records are dropped; windows still alive go with the process, and their
// procedures answer with the defaults from here on.
void ReleaseWindowMap();
bool WindowMapReleased();
