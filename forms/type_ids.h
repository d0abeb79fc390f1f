// Component type ids: library number x 0x10000 + type number within the library.
#pragma once

#include <cstdint>

inline constexpr std::uint32_t kTypeWindow = 0x00010001;
inline constexpr std::uint32_t kTypeEditBox = 0x00010005;
inline constexpr std::uint32_t kTypePicBox = 0x00010006;
inline constexpr std::uint32_t kTypeDrawPanel = 0x00010008;
inline constexpr std::uint32_t kTypeGroupBox = 0x00010009;
inline constexpr std::uint32_t kTypeLabel = 0x0001000A;
inline constexpr std::uint32_t kTypeButton = 0x0001000B;
inline constexpr std::uint32_t kTypeComboBox = 0x0001000E;
inline constexpr std::uint32_t kTypeSliderBar = 0x00010014;
inline constexpr std::uint32_t kTypeTabBox = 0x00010015;
inline constexpr std::uint32_t kTypeColorPicker = 0x0001001C;
inline constexpr std::uint32_t kTypeCommonDlg = 0x0001001F;
inline constexpr std::uint32_t kTypeTimer = 0x00010020;
inline constexpr std::uint32_t kTypeQTip = 0x00020001;
inline constexpr std::uint32_t kTypeZipBox = 0x00050001;

// Unit flags of a layout row.
inline constexpr std::uint32_t kUnitVisible = 1u << 0;
inline constexpr std::uint32_t kUnitDisabled = 1u << 1;
inline constexpr std::uint32_t kUnitFocusable = 1u << 2;
