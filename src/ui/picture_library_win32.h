// The bitmaps behind the pictures a picture box can show, loaded once from the resources.
#pragma once

#include <windows.h>

#include <map>

#include "ui/controls.h"
#include "platform/gdi_win32.h"

namespace pravelo::ui {

// The bitmap resource of a picture; 0 for none and for the pictures the program draws.
int BitmapResourceOf(Picture picture);

class PictureLibrary {
 public:
  explicit PictureLibrary(HINSTANCE instance) : instance_(instance) {}
  PictureLibrary(const PictureLibrary&) = delete;
  PictureLibrary& operator=(const PictureLibrary&) = delete;

  // Null for Picture::None or a resource that cannot be loaded; owned by the library.
  HBITMAP Bitmap(Picture picture);

 private:
  HINSTANCE instance_;
  std::map<Picture, UniqueBitmap> loaded_;
};

}  // namespace pravelo::ui
