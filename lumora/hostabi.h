// The binary contract between the plug-in and its host: service codes,
// variable and style numbers, callback types and the records both sides share.
// The plug-in, the stand-in host and the fake hosts of the tests all build on
// this one header.
#pragma once

#include <windows.h>
#include <olectl.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

static_assert(sizeof(void*) == 4, "the host interface is 32-bit");

namespace hostabi {

// Service codes, asked from the host's service function F.
enum ServiceCode : uint32_t {
  kHostHandle = 10001,
  kHostMetric = 10002,
  kRegisterCommand = 10004,
  kHostVariable = 10005,
  kUnusedValue = 10000,
  kRegisterDownloadTarget = 10009,
  kStyleButton = 10011,
  kMessageLines = 10012,
  kSetGameTag = 10014,
  kCreateHostWindow = 37,
  kDefaultWindowProc = 38,
  kPaintWindowBackground = 39,
  kPlaceControl = 40,
  kGameHeaderChanged = 52,
  kStartDownload = 79,
  kUnusedValue2 = 80,
  kShowHostMessage = 94,
};

// HostHandle(n)
enum HandleNumber : uint32_t { kOwnerWindow = 1, kMainMenu = 9 };

// HostVariable(n)
enum VariableNumber : uint32_t {
  kMouseBusy = 8,         // byte, non-zero while the host handles the mouse
  kWindowResult = 14,     // int32 result cell of the open plug-in window
  kButtonStyle = 15,      // pointer to the button style object
  kCurrentGame = 42,      // int32 displayed position
  kMainWindowRef = 45,    // pointer to the main-window object
  kGameOrder = 60,        // dynamic array of int32 record indexes
  kMessageX = 96,         // int32 screen x of the message point
  kMessageY = 97,         // int32 screen y
  kMessageLineList = 98,  // opaque, passed back to MessageLines
  kGameList = 102,        // dynamic array of GameRecord
};

// HostMetric(n)
enum MetricNumber : uint32_t {
  kSelectionBackground = 18,  // COLORREF
  kSelectionText = 19,        // COLORREF
  kMarginTop = 20,            // int32
  kMarginBottom = 21,
  kMarginLeft = 22,
  kMarginRight = 23,
  kCheckBoxHeight = 32,
  kCheckBoxWidth = 33,
  kBodyFont = 37,         // LOGFONTA
  kCaptionFont = 39,      // LOGFONTA
  kSeparatorColour = 49,  // COLORREF
};

// The command id of the host's main-menu item before which the plug-in's
// separator and popup go.
constexpr UINT kAnchorCommand = 57;
// The value the host puts into WindowResult while a plug-in window is open.
constexpr int32_t kWindowOpen = INT32_MIN;
// Byte offsets of the TButInf templates in the button style object.
constexpr size_t kWideButtonTemplate = 360;
constexpr size_t kNormalButtonTemplate = 400;
// Byte offset of the HWND in the main-window object (its ninth field).
constexpr size_t kMainWindowHandleOffset = 32;

// Procedures the plug-in hands to the host.
using HostFunction = uint32_t(__stdcall*)(uint32_t code);
using CommandHandler = void(__stdcall*)();
using DownloadHandler = void(__stdcall*)(const char* data);
using PaintCallback = void(__stdcall*)(HWND window, HDC dc);

// A host-styled push button.
struct TButInf {
  HWND window;
  IPicture* pictures[3];  // counted references; nil allowed
  CommandHandler onClick;
};
static_assert(sizeof(TButInf) == 20);
static_assert(offsetof(TButInf, pictures) == 4);
static_assert(offsetof(TButInf, onClick) == 16);

// A host check box.
struct TCheckInf {
  int32_t hostValue;  // the host's
  uint8_t state;      // 1 ticked, 2 clear
  uint8_t hostBytes[3];
  CommandHandler onChange;
  uint8_t flag;  // set to 0 by the plug-in
  uint8_t hostTail[3];
};
static_assert(sizeof(TCheckInf) == 16);
static_assert(offsetof(TCheckInf, state) == 4);
static_assert(offsetof(TCheckInf, onChange) == 8);
static_assert(offsetof(TCheckInf, flag) == 12);
constexpr uint8_t kTicked = 1;
constexpr uint8_t kClear = 2;

// The record passed with every command registration.
struct TRegRecord {
  uint16_t hostField0;
  uint16_t zeroField;  // set to 0 by the plug-in
  uint32_t hostField4;
};
static_assert(sizeof(TRegRecord) == 8);
static_assert(offsetof(TRegRecord, zeroField) == 2);

// One tag pair of a game header: two narrow host strings.
struct TagPair {
  const char* name;
  const char* value;
};
static_assert(sizeof(TagPair) == 8);

// One game of the open base.
struct GameRecord {
  int32_t hostField0;
  TagPair* header;  // dynamic array of tag pairs, Seven Tag Roster first
  uint8_t hostFields[12];
};
static_assert(sizeof(GameRecord) == 20);
static_assert(offsetof(GameRecord, header) == 4);

// Header positions of the Seven Tag Roster.
constexpr int kWhitePosition = 4;
constexpr int kBlackPosition = 5;
constexpr int kRosterSize = 7;

// The element count of a host dynamic array: the int32 before its first
// element; nil is the empty array.
template <class T>
inline int32_t ArrayLength(const T* first) {
  return first ? reinterpret_cast<const int32_t*>(first)[-1] : 0;
}

template <class T>
inline std::span<T> ArrayView(T* first) {
  int32_t n = ArrayLength(first);
  return n > 0 ? std::span<T>(first, static_cast<size_t>(n)) : std::span<T>();
}

// A narrow host string: its int32 length stands before the first byte.
inline std::string_view HostString(const char* s) {
  if (!s) return {};
  int32_t n = reinterpret_cast<const int32_t*>(s)[-1];
  return n > 0 ? std::string_view(s, static_cast<size_t>(n)) : std::string_view();
}

}  // namespace hostabi
