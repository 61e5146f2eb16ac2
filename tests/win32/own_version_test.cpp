#include <gtest/gtest.h>

#include "update/own_version_win32.h"

namespace pravelo::update {
namespace {

// The test program carries the product's version resource, 1.4.2.
TEST(OwnVersion, ReadFromTheRunningModule) { EXPECT_EQ(ReadOwnVersion(), 1.42); }

}  // namespace
}  // namespace pravelo::update
