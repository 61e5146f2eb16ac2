#include "ui/picture_library_win32.h"

#include "display/grid_picture_win32.h"
#include "resource_ids.h"

namespace pravelo::ui {

int BitmapResourceOf(Picture picture) {
  switch (picture) {
    case Picture::BarGreen:
      return IDB_BAR_GREEN;
    case Picture::BarGrey:
      return IDB_BAR_GREY;
    case Picture::BarRed:
      return IDB_BAR_RED;
    case Picture::IconStrip:
      return IDB_ICON_STRIP;
    case Picture::Logo:
      return IDB_PRAVELO_PIC;
    case Picture::Grid:  // drawn, see MakeGridBitmap
    case Picture::None:
      break;
  }
  return 0;
}

HBITMAP PictureLibrary::Bitmap(Picture picture) {
  auto found = loaded_.find(picture);
  if (found != loaded_.end()) return found->second.Get();
  UniqueBitmap bitmap;
  if (picture == Picture::Grid) {
    bitmap = display::MakeGridBitmap();
  } else if (const int resource = BitmapResourceOf(picture); resource != 0) {
    bitmap.Reset(static_cast<HBITMAP>(
        LoadImageW(instance_, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  } else {
    return nullptr;
  }
  return loaded_.emplace(picture, std::move(bitmap)).first->second.Get();
}

}  // namespace pravelo::ui
