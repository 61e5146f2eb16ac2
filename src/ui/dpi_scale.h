// Design pixels (96 DPI) to device pixels and back, rounding as MulDiv does.
#pragma once

#include <cstdint>

#include "ui/controls.h"

namespace pravelo::ui {

inline constexpr int kDesignDpi = 96;

// value * numerator / denominator to the nearest whole number, halves away from zero.
// The denominator must not be 0.
constexpr int MulDivRound(int value, int numerator, int denominator) {
  const int64_t product = int64_t{value} * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const int64_t magnitude = (product < 0 ? -product : product);
  const int64_t divisor = denominator < 0 ? -int64_t{denominator} : int64_t{denominator};
  const int64_t rounded = (magnitude + divisor / 2) / divisor;
  return static_cast<int>(negative ? -rounded : rounded);
}

constexpr int ScaleToDpi(int value, int dpi) { return MulDivRound(value, dpi, kDesignDpi); }
constexpr int ScaleFromDpi(int value, int dpi) { return MulDivRound(value, kDesignDpi, dpi); }

// Edges are scaled rather than sizes, so controls that touch at 96 DPI still touch.
constexpr Rect ScaleToDpi(Rect r, int dpi) {
  const int left = ScaleToDpi(r.left, dpi);
  const int top = ScaleToDpi(r.top, dpi);
  return {left, top, ScaleToDpi(r.left + r.width, dpi) - left, ScaleToDpi(r.top + r.height, dpi) - top};
}

constexpr Rect ScaleFromDpi(Rect r, int dpi) {
  const int left = ScaleFromDpi(r.left, dpi);
  const int top = ScaleFromDpi(r.top, dpi);
  return {left, top, ScaleFromDpi(r.left + r.width, dpi) - left, ScaleFromDpi(r.top + r.height, dpi) - top};
}

}  // namespace pravelo::ui
