// The fonts of the windows at one DPI.
#pragma once

#include <windows.h>

#include "platform/gdi_win32.h"

namespace pravelo::ui {

enum class FontRole {
  Message,  // the system's message font
  Verdana,  // the large load figures, 14.25 pt
  Notice,   // the notification buttons, Korean, 9.75 pt
};

// Hundredths of a point.
inline constexpr int kVerdanaCentipoints = 1425;
inline constexpr int kNoticeCentipoints = 975;
inline constexpr wchar_t kVerdanaFace[] = L"Verdana";
inline constexpr wchar_t kNoticeFace[] = L"맑은 고딕";

LOGFONTW FontDescription(FontRole role, int dpi);

class FontSet {
 public:
  explicit FontSet(int dpi);
  int Dpi() const { return dpi_; }
  HFONT Get(FontRole role) const;

 private:
  int dpi_;
  UniqueFont message_;
  UniqueFont verdana_;
  UniqueFont notice_;
};

}  // namespace pravelo::ui
