#include <gtest/gtest.h>

#include "pravelo_version.h"
#include "update/own_version_win32.h"
#include "update/version_file.h"

namespace pravelo::update {
namespace {

// The test program carries the product's version resource.
TEST(OwnVersion, ReadFromTheRunningModule) {
  EXPECT_EQ(ReadOwnVersion(), (Version{PRAVELO_VERSION_MAJOR, PRAVELO_VERSION_MINOR, PRAVELO_VERSION_PATCH}));
}

}  // namespace
}  // namespace pravelo::update
