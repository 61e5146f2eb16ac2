#include "ui/picture_library_win32.h"

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
    case Picture::Grid:
      return IDB_GRID;
    case Picture::IconStrip:
      return IDB_ICON_STRIP;
    case Picture::Logo:
      return IDB_PRAVELO_PIC;
    case Picture::None:
      break;
  }
  return 0;
}

HBITMAP PictureLibrary::Bitmap(Picture picture) {
  const int resource = BitmapResourceOf(picture);
  if (resource == 0) return nullptr;
  auto found = loaded_.find(picture);
  if (found == loaded_.end()) {
    HANDLE image = LoadImageW(instance_, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    found = loaded_.emplace(picture, UniqueBitmap(static_cast<HBITMAP>(image))).first;
  }
  return found->second.Get();
}

}  // namespace pravelo::ui
