#include "display/tray_icon_win32.h"

namespace pravelo::display {
namespace {

// A colour-to-monochrome copy turns pixels equal to the source's background colour into 1.
constexpr DWORD kMaskCopy = SRCCOPY;
// With the mask drawn as black (1) and white (0), ANDing blackens the transparent pixels
// and leaves the others alone, as an icon's colour bitmap must be under a mask.
constexpr DWORD kBlackenTransparent = SRCAND;

// An icon takes the size of its colour bitmap on some systems and of its mask on others;
// cutting the picture to the icon's size makes it 32 x 32 everywhere.
UniqueBitmap CutToIconSize(UniqueBitmap picture) {
  const SIZE size = BitmapSize(picture.Get());
  if (size.cx <= kTrayIconSize && size.cy <= kTrayIconSize) return picture;
  UniqueDc source(::CreateCompatibleDC(nullptr));
  UniqueDc target(::CreateCompatibleDC(nullptr));
  ScopedSelect sourceSelection(source.Get(), picture.Get());
  if (!sourceSelection || !target) return {};
  // Compatible with a context holding the picture: the same pixel format.
  UniqueBitmap cut(::CreateCompatibleBitmap(source.Get(), kTrayIconSize, kTrayIconSize));
  ScopedSelect targetSelection(target.Get(), cut.Get());
  if (!targetSelection ||
      !::BitBlt(target.Get(), 0, 0, kTrayIconSize, kTrayIconSize, source.Get(), 0, 0, SRCCOPY)) {
    return {};
  }
  return cut;
}

}  // namespace

UniqueBitmap MakeMaskBitmap(HDC dc, COLORREF key) {
  UniqueDc maskDc(::CreateCompatibleDC(dc));
  if (!maskDc) return {};
  UniqueBitmap mask(::CreateBitmap(kTrayIconSize, kTrayIconSize, 1, 1, nullptr));
  if (!mask) return {};
  BOOL copied = FALSE;
  {
    ScopedSelect selection(maskDc.Get(), mask.Get());
    if (!selection) return {};
    const COLORREF oldBackground = ::SetBkColor(dc, key);
    copied = ::BitBlt(maskDc.Get(), 0, 0, kTrayIconSize, kTrayIconSize, dc, 0, 0, kMaskCopy);
    ::SetBkColor(dc, oldBackground);
  }
  if (!copied) return {};
  return mask;
}

UniqueIcon MakeTrayIcon(UniqueBitmap bitmap) {
  bitmap = CutToIconSize(std::move(bitmap));
  UniqueBitmap mask;
  {
    // A null context stands for the screen.
    UniqueDc colourDc(::CreateCompatibleDC(nullptr));
    UniqueDc maskDc(::CreateCompatibleDC(nullptr));
    ScopedSelect colourSelection(colourDc.Get(), bitmap.Get());
    if (colourSelection) {
      mask = MakeMaskBitmap(colourDc.Get(), kTransparentKey);
      ScopedSelect maskSelection(maskDc.Get(), mask.Get());
      if (maskSelection) {
        ::SetTextColor(colourDc.Get(), RGB(255, 255, 255));
        ::SetBkColor(colourDc.Get(), RGB(0, 0, 0));
        ::BitBlt(colourDc.Get(), 0, 0, kTrayIconSize, kTrayIconSize, maskDc.Get(), 0, 0, kBlackenTransparent);
      }
    }
  }
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = mask.Get();
  info.hbmColor = bitmap.Get();
  // The icon holds copies; both bitmaps go when this returns.
  return UniqueIcon(::CreateIconIndirect(&info));
}

}  // namespace pravelo::display
