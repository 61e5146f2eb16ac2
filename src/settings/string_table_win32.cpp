#include "settings/string_table_win32.h"

#include "platform/text_win32.h"

namespace pravelo::settings {

std::wstring LoadStringIn(HMODULE module, int id, uint16_t language) {
  // Strings live in blocks of sixteen, each a run of counted UTF-16 texts.
  const auto block = static_cast<WORD>(id / 16 + 1);
  HRSRC resource = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(block), language);
  if (!resource) return {};
  HGLOBAL loaded = LoadResource(module, resource);
  const auto* data = static_cast<const wchar_t*>(loaded ? LockResource(loaded) : nullptr);
  if (!data) return {};
  const wchar_t* end = data + SizeofResource(module, resource) / sizeof(wchar_t);
  for (int index = 0; index < id % 16 && data < end; ++index) data += 1 + *data;
  if (data >= end || data + 1 + *data > end) return {};
  return std::wstring(data + 1, *data);
}

std::string StringTableWin32::Text(int id) { return Narrow(LoadStringIn(module_, id, language_)); }

}  // namespace pravelo::settings
