// The component model: a type record per component type (names, flags, property table, factory),
// the type's own state object with its interface routines, and the open type registry.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "forms/layout.h"

enum class ValueKind : std::int32_t {
  kInteger = 1001,
  kTruth = 1003,
  kText = 1005,
  kChoice = 1006,
  kPicture = 1009,
  kIcon = 1010,
  kMousePointer = 1011,
  kSound = 1012,
  kFont = 1013,
  kColour = 1014,
  kColourOrTransparent = 1015,
  kFileName = 1016,
  kBackColour = 1017,
  kCustom = 1024,
};

// One row of a type's property table, for indices 8 and up. Integers and choices are clamped to
// [minimum, maximum] before the type sees them when `clamped` is set.
struct PropertyRow {
  const char* name;
  ValueKind kind;
  bool clamped = false;
  std::int32_t minimum = 0;
  std::int32_t maximum = 0;
};

// A property value as a type's routines see it: the number for 32- and 64-bit kinds, the bytes of
// a text or buffer, or the logical font (empty = the system's default GUI font).
struct RawValue {
  std::int64_t number = 0;
  std::string text;
  std::vector<std::uint8_t> bytes;
  std::optional<LOGFONTA> font;
};

enum class WriteOutcome { kApplied, kRecreate };

// Where a control lives: its parent window (always the form itself, so notifications reach the
// form's procedure), its rectangle in the form's client coordinates and its control id.
struct ControlPlace {
  HWND parent;
  RECT rect;
  int controlId;
  bool enabled;
};

struct UnitRef {
  std::uint32_t windowId = 0;
  std::uint32_t unitId = 0;
};

// The type's own data and its live control. Property writes before the control exists only store;
// Create builds the control (hidden) from what is stored, so re-creation is Create after a write.
class Component {
 public:
  Component() = default;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;
  // A control still alive goes with its component (the form normally took it along already).
  virtual ~Component();

  // Interface 1. Non-visual types create no window and answer true.
  virtual bool Create(const ControlPlace& place) = 0;
  // Interface 6, k = index - 8.
  virtual RawValue Read(int k) const = 0;
  // Interface 4, k = index - 8; kRecreate when the live control cannot take the change in place.
  virtual WriteOutcome Write(int k, const RawValue& value) = 0;
  // Destroys the live control (re-creation) and forgets it.
  virtual void DestroyControl();
  // The form is gone and took its child windows with it.
  virtual void ForgetControl() { control_ = nullptr; }

  // Messages the form passes on to the control that caused them.
  virtual void OnCommand(int /*code*/) {}
  virtual LRESULT OnNotify(const NMHDR& /*header*/) { return 0; }
  virtual void OnScroll(int /*code*/) {}
  virtual HBRUSH OnColour(HDC /*dc*/) { return nullptr; }
  virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
  virtual void OnTimer() {}
  // A container answers whether a unit it holds is shown now (a tab box: only its current page's).
  virtual bool ShowsUnit(std::uint32_t /*unitId*/) const { return true; }

  // GotFocus or LostFocus, from the focus watch every control gets: the control's own focus
  // messages. A control whose focus lives in a child window of its own (an editable combo box's
  // edit) answers false and raises the two events itself.
  void RaiseFocusEvent(std::int32_t event) const;
  virtual bool FocusIsItsOwnWindow() const { return true; }

  HWND Control() const { return control_; }
  void SetUnit(UnitRef ref, const UnitRow* row) {
    ref_ = ref;
    row_ = row;
  }
  const UnitRef& Ref() const { return ref_; }

 protected:
  // The answer of a write that the live control cannot take in place: re-create it (nothing to do
  // while there is no control; the stored data is what the control will be made from).
  WriteOutcome RecreateIfLive() const { return control_ ? WriteOutcome::kRecreate : WriteOutcome::kApplied; }
  // Raises one of this unit's events; answers true with *result set when a handler answered.
  bool Raise(std::int32_t event, std::int32_t* result = nullptr) const;
  // Creates the control window and tags it with this component, so the form can find it.
  HWND CreateControl(const ControlPlace& place, DWORD exStyle, const wchar_t* className, const char* text,
                     DWORD style);
  HWND control_ = nullptr;
  UnitRef ref_;
  const UnitRow* row_ = nullptr;  // the unit's layout row: names its children and pages
};

// A list of texts as custom data holds them one after another, each ending in a zero byte (a last
// one without its zero counts too).
std::vector<std::string> SplitTextList(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> JoinTextList(const std::vector<std::string>& texts);

// Bits of a type record's flags word.
inline constexpr std::uint32_t kTypeRaisesEvents = 1u << 0;
inline constexpr std::uint32_t kTypeNonVisual = 1u << 1;
inline constexpr std::uint32_t kTypeContainer = 1u << 2;
inline constexpr std::uint32_t kTypeIsWindow = 1u << 3;

struct ComponentType {
  std::uint32_t typeId;
  const char* chineseName;
  const char* englishName;
  std::uint32_t flags;
  std::span<const PropertyRow> properties;  // row k is property 8 + k
  std::unique_ptr<Component> (*make)();
};

// The registry is open: a library outside forms/ registers its types the same way (the drawing
// panel does so from its support library's start notice).
void RegisterComponentType(const ComponentType& type);
const ComponentType* FindComponentType(std::uint32_t typeId);
// The types of this folder; called once by the frame's initialisation (and by tests).
void RegisterStandardComponentTypes();

// The component of a control window the form created, or null.
Component* ComponentOfControl(HWND control);

// The re-creation counter: while it is above 0 no event is delivered.
void BeginRecreation();
void EndRecreation();
bool Recreating();

// Conversions shared by the control files.
RawValue NumberValue(std::int64_t number);
RawValue TextValue(std::string text);
std::string SettingText(const RawValue& value);
