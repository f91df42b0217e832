#include "hostsim/drawntexts.h"

#include "base/gdi.h"
#include "hostsim/hostwindows.h"

namespace drawntexts {

namespace {

int CALLBACK Collect(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM texts) {
  if (record->iType == EMR_EXTTEXTOUTW) {
    const auto* out = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
    const auto* chars =
        reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + out->emrtext.offString);
    reinterpret_cast<std::vector<DrawnText>*>(texts)->push_back(
        {{out->emrtext.ptlReference.x, out->emrtext.ptlReference.y},
         std::wstring(chars, out->emrtext.nChars)});
  }
  return 1;
}

}  // namespace

std::vector<DrawnText> Of(HWND window) {
  std::vector<DrawnText> texts;
  // The window's own DC is the reference, so that text is measured as on
  // the screen and the layout is the one shown.
  HDC recorder = CreateEnhMetaFileW(WindowDC(window), nullptr, nullptr, nullptr);
  if (!recorder) return texts;
  hostwin::PaintContent(window, recorder);
  HENHMETAFILE recorded = CloseEnhMetaFile(recorder);
  if (!recorded) return texts;
  EnumEnhMetaFile(nullptr, recorded, Collect, &texts, nullptr);
  DeleteEnhMetaFile(recorded);
  return texts;
}

}  // namespace drawntexts
