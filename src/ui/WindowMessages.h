#pragma once
// The main window's private messages. A worker sends one and waits until the
// UI thread has handled it; the record mirrors a window message: its number,
// two parameters and the handler's result.

#include <cstdint>

inline constexpr std::uint32_t WM_USER = 0x0400;
inline constexpr std::uint32_t WM_IMAGE_UPDATE = WM_USER + 4242;  // 5266: show PreviewPath; LParam points to its decoded picture
inline constexpr std::uint32_t WM_LOG_LINE = WM_USER + 4252;      // 5276: LParam points to a NUL-ended UTF-16 line
inline constexpr std::uint32_t WM_PROGRESS_POS = WM_USER + 4262;  // 5286: LParam is the bar's new position

struct TMessage {
  std::uint32_t Msg = 0;
  std::int32_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};
