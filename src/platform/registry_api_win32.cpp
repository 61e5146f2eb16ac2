#include "platform/registry_api_win32.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "platform/owned_win32.h"
#include "platform/text_win32.h"

namespace pravelo {
namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

OwnedKey OpenKey(RegistryRoot root, std::string_view key, REGSAM access) {
  OwnedKey handle;
  if (RegOpenKeyExW(RootKey(root), Widen(key).c_str(), 0, access, handle.Put()) != ERROR_SUCCESS) return {};
  return handle;
}

OwnedKey CreateKey(RegistryRoot root, std::string_view key) {
  OwnedKey handle;
  if (RegCreateKeyExW(RootKey(root), Widen(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, handle.Put(), nullptr) != ERROR_SUCCESS) {
    return {};
  }
  return handle;
}

bool SetValue(RegistryRoot root, std::string_view key, std::string_view name, DWORD type, const void* data,
              size_t size) {
  OwnedKey handle = CreateKey(root, key);
  return handle && RegSetValueExW(handle.Get(), Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                                  static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

}  // namespace

std::optional<std::string> RegistryApiWin32::Read(RegistryRoot root, std::string_view key,
                                                  std::string_view name) {
  OwnedKey handle = OpenKey(root, key, KEY_QUERY_VALUE);
  if (!handle) return std::nullopt;
  const std::wstring valueName = Widen(name);
  // The value may grow between the size query and the read; ask again until it fits.
  std::vector<BYTE> data(256);
  DWORD type = 0;
  LSTATUS status = ERROR_MORE_DATA;
  DWORD size = 0;
  while (status == ERROR_MORE_DATA) {
    size = static_cast<DWORD>(data.size());
    status = RegQueryValueExW(handle.Get(), valueName.c_str(), nullptr, &type, data.data(), &size);
    if (status == ERROR_MORE_DATA) data.resize(size + sizeof(wchar_t));
  }
  if (status != ERROR_SUCCESS) return std::nullopt;

  if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD number = 0;
    std::memcpy(&number, data.data(), sizeof number);
    return std::to_string(number);
  }
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    std::wstring_view text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
    // Stored strings normally end in one NUL, but nothing forces a writer to add it.
    while (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
    return Narrow(text);
  }
  return std::nullopt;
}

bool RegistryApiWin32::WriteString(RegistryRoot root, std::string_view key, std::string_view name,
                                   std::string_view value) {
  const std::wstring text = Widen(value);
  return SetValue(root, key, name, REG_SZ, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

bool RegistryApiWin32::WriteDword(RegistryRoot root, std::string_view key, std::string_view name,
                                  uint32_t value) {
  const DWORD number = value;
  return SetValue(root, key, name, REG_DWORD, &number, sizeof number);
}

bool RegistryApiWin32::DeleteValue(RegistryRoot root, std::string_view key, std::string_view name) {
  OwnedKey handle;
  LSTATUS status = RegOpenKeyExW(RootKey(root), Widen(key).c_str(), 0, KEY_SET_VALUE, handle.Put());
  // Without its key the value is gone as well.
  if (status == ERROR_FILE_NOT_FOUND) return true;
  if (status != ERROR_SUCCESS) return false;
  status = RegDeleteValueW(handle.Get(), Widen(name).c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace pravelo
