// The host's game data and window variables, read through HostVariable. Every
// accessor fetches the address anew: the host may move its data between calls
// (SetGameTag can reallocate a header), so nothing here is cached.
#pragma once

#include <span>
#include <string_view>

#include "host/hostservices.h"
#include "lumora/hostabi.h"

template <class T>
T* HostVariableAs(uint32_t n) {
  return static_cast<T*>(HostVariable(n));
}

template <class T>
T* HostMetricAs(uint32_t n) {
  return static_cast<T*>(HostMetric(n));
}

// A host metric that is an int32 or COLORREF; 0 when the host lacks it.
inline int32_t HostMetricValue(uint32_t n) {
  auto* p = HostMetricAs<int32_t>(n);
  return p ? *p : 0;
}

// The open base's game records.
inline std::span<hostabi::GameRecord> GameList() {
  auto* var = HostVariableAs<hostabi::GameRecord*>(hostabi::kGameList);
  return var ? hostabi::ArrayView(*var) : std::span<hostabi::GameRecord>();
}

// Displayed position -> game record index.
inline std::span<int32_t> GameOrder() {
  auto* var = HostVariableAs<int32_t*>(hostabi::kGameOrder);
  return var ? hostabi::ArrayView(*var) : std::span<int32_t>();
}

// The displayed position of the current game; -1 when the host lacks it.
inline int32_t CurrentGame() {
  auto* var = HostVariableAs<int32_t>(hostabi::kCurrentGame);
  return var ? *var : -1;
}

// The game record index shown at a displayed position, or -1 when the
// position lies outside the base.
inline int32_t GameAtPosition(int32_t position) {
  auto order = GameOrder();
  auto games = GameList();
  if (position < 0 || position >= static_cast<int32_t>(games.size()) ||
      position >= static_cast<int32_t>(order.size()))
    return -1;
  int32_t game = order[static_cast<size_t>(position)];
  return game >= 0 && game < static_cast<int32_t>(games.size()) ? game : -1;
}

// The tag pairs of a game record; empty for an index outside the base.
inline std::span<hostabi::TagPair> GameHeader(int32_t game) {
  auto games = GameList();
  if (game < 0 || game >= static_cast<int32_t>(games.size())) return {};
  return hostabi::ArrayView(games[static_cast<size_t>(game)].header);
}

// The value at a header position; empty when the header is shorter.
inline std::string_view HeaderValue(std::span<const hostabi::TagPair> header, int position) {
  if (position < 0 || position >= static_cast<int>(header.size())) return {};
  return hostabi::HostString(header[static_cast<size_t>(position)].value);
}

// The host's main window, through the main-window object.
inline HWND MainWindowHandle() {
  auto* ref = HostVariableAs<uint8_t*>(hostabi::kMainWindowRef);
  if (!ref || !*ref) return nullptr;
  return *reinterpret_cast<HWND*>(*ref + hostabi::kMainWindowHandleOffset);
}

// The result cell of the open plug-in window.
inline int32_t* WindowResult() { return HostVariableAs<int32_t>(hostabi::kWindowResult); }

inline void SetWindowResult(int32_t value) {
  if (int32_t* cell = WindowResult()) *cell = value;
}

// A copy of one of the host's button templates (kWideButtonTemplate or
// kNormalButtonTemplate), with a counted reference to each picture.
inline hostabi::TButInf CopyButtonTemplate(size_t offset) {
  hostabi::TButInf button{};
  auto* style = HostVariableAs<uint8_t*>(hostabi::kButtonStyle);
  if (style && *style) {
    button = *reinterpret_cast<const hostabi::TButInf*>(*style + offset);
    for (IPicture* p : button.pictures)
      if (p) p->AddRef();
  }
  return button;
}

// Drops the picture references a button record holds.
inline void ReleaseButtonPictures(hostabi::TButInf& button) {
  for (IPicture*& p : button.pictures) {
    if (p) p->Release();
    p = nullptr;
  }
}
