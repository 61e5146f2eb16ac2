#include <windows.h>

#include <gtest/gtest.h>

#include "resource_ids.h"

// The test program links the same resources as the product.
TEST(Resources, VersionRecordSaysOneFourTwo) {
  wchar_t path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  ASSERT_GT(size, 0u);
  std::string data(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, data.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length));
  EXPECT_EQ(HIWORD(info->dwFileVersionMS), 1);
  EXPECT_EQ(LOWORD(info->dwFileVersionMS), 4);
  EXPECT_EQ(HIWORD(info->dwFileVersionLS), 2);
}
