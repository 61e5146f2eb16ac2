#include "ui/picture_library_win32.h"

#include "display/bar_picture.h"
#include "display/drawn_pictures_win32.h"
#include "resource_ids.h"

namespace pravelo::ui {
namespace {

// The pictures the program draws itself; null for the others.
UniqueBitmap DrawnPicture(Picture picture) {
  switch (picture) {
    case Picture::Grid:
      return display::MakeGridBitmap();
    case Picture::BarGreen:
      return display::MakeBarBitmap(display::kBarGreenRgb);
    case Picture::BarGrey:
      return display::MakeBarBitmap(display::kBarGreyRgb);
    case Picture::BarRed:
      return display::MakeBarBitmap(display::kBarRedRgb);
    default:
      return {};
  }
}

}  // namespace

int BitmapResourceOf(Picture picture) {
  switch (picture) {
    case Picture::IconStrip:
      return IDB_ICON_STRIP;
    case Picture::Logo:
      return IDB_PRAVELO_PIC;
    case Picture::BarGreen:  // drawn, see DrawnPicture
    case Picture::BarGrey:
    case Picture::BarRed:
    case Picture::Grid:
    case Picture::None:
      break;
  }
  return 0;
}

HBITMAP PictureLibrary::Bitmap(Picture picture) {
  auto found = loaded_.find(picture);
  if (found != loaded_.end()) return found->second.Get();
  UniqueBitmap bitmap = DrawnPicture(picture);
  if (const int resource = BitmapResourceOf(picture); !bitmap && resource != 0) {
    bitmap.Reset(static_cast<HBITMAP>(
        LoadImageW(instance_, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  }
  if (!bitmap) return nullptr;
  return loaded_.emplace(picture, std::move(bitmap)).first->second.Get();
}

}  // namespace pravelo::ui
