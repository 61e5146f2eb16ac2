#include "ui/fonts_win32.h"

#include <cwchar>

#include "ui/dpi_scale.h"
#include "ui/dpi_win32.h"

namespace pravelo::ui {
namespace {

constexpr int kCentipointsPerInch = 7200;

LOGFONTW NamedFont(const wchar_t* face, int centipoints, BYTE charset, int dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDivRound(centipoints, dpi, kCentipointsPerInch);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = charset;
  font.lfQuality = DEFAULT_QUALITY;
  wcsncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return font;
}

}  // namespace

LOGFONTW FontDescription(FontRole role, int dpi) {
  switch (role) {
    case FontRole::Verdana:
      return NamedFont(kVerdanaFace, kVerdanaCentipoints, DEFAULT_CHARSET, dpi);
    case FontRole::Notice:
      return NamedFont(kNoticeFace, kNoticeCentipoints, HANGEUL_CHARSET, dpi);
    case FontRole::Message:
      break;
  }
  return MessageFont(dpi);
}

FontSet::FontSet(int dpi) : dpi_(dpi) {
  const auto make = [dpi](FontRole role) {
    const LOGFONTW description = FontDescription(role, dpi);
    return UniqueFont(CreateFontIndirectW(&description));
  };
  message_ = make(FontRole::Message);
  verdana_ = make(FontRole::Verdana);
  notice_ = make(FontRole::Notice);
}

HFONT FontSet::Get(FontRole role) const {
  switch (role) {
    case FontRole::Verdana:
      return verdana_.Get();
    case FontRole::Notice:
      return notice_.Get();
    case FontRole::Message:
      break;
  }
  return message_.Get();
}

}  // namespace pravelo::ui
