#include "display/tray_api_win32.h"

#include <algorithm>
#include <string_view>

#include "platform/gdi_win32.h"
#include "platform/text_win32.h"

namespace pravelo::display {
namespace {

// The record says 488, the size of the single-byte record with a 128-character tip and
// the balloon fields but no GUID. The wide record of that same layout is
// NOTIFYICONDATAW_V2_SIZE; a wide record sent with the single-byte size would be misread.
DWORD WideRecordSize(uint32_t recordSize) {
  if (recordSize == kTrayRecordSize) return NOTIFYICONDATAW_V2_SIZE;
  // The shell reads cbSize bytes; never let it read past the record.
  return std::min<DWORD>(recordSize, sizeof(NOTIFYICONDATAW));
}

// Stops before the last unit if that would split a surrogate pair.
void CopyTip(std::string_view tip, wchar_t (&field)[kTrayTipLength]) {
  const std::wstring wide = Widen(tip.substr(0, tip.find('\0')));
  std::size_t length = std::min(wide.size(), kTrayTipLength - 1);
  if (length < wide.size() && length > 0 && IS_HIGH_SURROGATE(wide[length - 1])) --length;
  std::copy_n(wide.begin(), length, field);
  field[length] = L'\0';
}

}  // namespace

NOTIFYICONDATAW ToNotifyIconData(const TrayIconData& data) {
  NOTIFYICONDATAW record{};
  record.cbSize = WideRecordSize(data.cbSize);
  record.hWnd = FromNative<HWND>(data.hWnd);
  record.uID = data.uID;
  record.uFlags = data.uFlags;
  record.uCallbackMessage = data.uCallbackMessage;
  record.hIcon = FromNative<HICON>(data.hIcon);
  CopyTip(data.szTip, record.szTip);
  return record;
}

bool TrayApiWin32::NotifyIcon(TrayOperation operation, const TrayIconData& data) {
  NOTIFYICONDATAW record = ToNotifyIconData(data);
  return ::Shell_NotifyIconW(static_cast<DWORD>(operation), &record) != FALSE;
}

}  // namespace pravelo::display
