// Recorders of the refresh's drawing, the tray calls and the taskbar calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "display/surfaces.h"
#include "taskbar/taskbar_list.h"

namespace pravelo::fakes {

class FakeGraphCanvas final : public display::GraphCanvas {
 public:
  struct Call {
    std::string what;  // "point", "scroll", "line"
    int a = 0, b = 0, c = 0, d = 0;
    bool operator==(const Call&) const = default;
  };
  void PlotPoint(int x, int y) override { calls.push_back({"point", x, y}); }
  void ScrollLeft(int pixels) override { calls.push_back({"scroll", pixels}); }
  void DrawLine(int x0, int y0, int x1, int y1) override { calls.push_back({"line", x0, y0, x1, y1}); }
  std::vector<Call> calls;
};

class FakeIconCanvas final : public display::IconCanvas {
 public:
  void Clear() override {
    ++clears;
    printed.clear();
    bars.clear();
  }
  void PrintText(int x, int y, std::string_view text) override {
    printed.push_back({x, y, std::string(text)});
  }
  void PaintFillBar(int width, int height) override { bars.push_back({width, height}); }
  NativeHandle MakeIcon() override {
    ++made;
    ++live;
    return failMake ? 0 : next++;
  }
  void DestroyIcon(NativeHandle icon) override {
    destroyed.push_back(icon);
    --live;
  }
  struct Print {
    int x, y;
    std::string text;
  };
  std::vector<Print> printed;
  std::vector<std::pair<int, int>> bars;
  std::vector<NativeHandle> destroyed;
  int made = 0;
  int clears = 0;
  int live = 0;  // icons made and not destroyed
  bool failMake = false;
  NativeHandle next = 0x1C00;
};

class FakeTray final : public display::TrayApi {
 public:
  bool NotifyIcon(display::TrayOperation operation, const display::TrayIconData& data) override {
    calls.push_back({operation, data});
    // Like the shell, the icon is found by its window and number only.
    const bool found = present && owner == data.hWnd && id == data.uID;
    if (operation == display::TrayOperation::Add) {
      if (!acceptAdd || found) return false;
      present = true;
      owner = data.hWnd;
      id = data.uID;
      return true;
    }
    if (operation == display::TrayOperation::Delete && found) present = false;
    return found;
  }
  struct Call {
    display::TrayOperation operation;
    display::TrayIconData data;
  };
  std::vector<Call> calls;
  bool present = false;
  WindowId owner = 0;
  uint32_t id = 0;
  bool acceptAdd = true;
  std::size_t Count(display::TrayOperation operation) const {
    std::size_t n = 0;
    for (const Call& call : calls) n += call.operation == operation;
    return n;
  }
};

class FakeRegion final : public display::WindowRegion {
 public:
  void SetRoundRectRegion(WindowId window, int width, int height) override {
    regions.push_back({window, width, height});
  }
  struct Region {
    WindowId window;
    int width, height;
  };
  std::vector<Region> regions;
};

class FakeTaskbar final : public taskbar::TaskbarList {
 public:
  struct Call {
    std::string method;
    WindowId window = 0;
    std::vector<int64_t> values{};
    std::string text{};
    bool operator==(const Call&) const = default;
  };
  int32_t SetProgressState(WindowId hwnd, int32_t flags) override { return Record({"state", hwnd, {flags}}); }
  int32_t SetProgressValue(WindowId hwnd, uint32_t completed, uint32_t total) override {
    return Record({"value", hwnd, {completed, total}});
  }
  int32_t SetOverlayIcon(WindowId hwnd, NativeHandle icon, std::string_view text) override {
    return Record({"overlay", hwnd, {static_cast<int64_t>(icon)}, std::string(text)});
  }
  int32_t SetThumbnailClip(WindowId hwnd, int32_t l, int32_t t, int32_t r, int32_t b) override {
    return Record({"clip", hwnd, {l, t, r, b}});
  }
  int32_t SetThumbnailTooltip(WindowId hwnd, std::string_view tip) override {
    return Record({"tooltip", hwnd, {}, std::string(tip)});
  }
  int32_t ThumbBarAddButtons(WindowId hwnd, int32_t count, const std::vector<NativeHandle>& icons) override {
    Call call{"buttons", hwnd, {count}};
    for (NativeHandle icon : icons) call.values.push_back(static_cast<int64_t>(icon));
    return Record(call);
  }
  int32_t ThumbBarReAddButtons() override { return Record({"readd"}); }
  void Class_Terminate() override { Record({"terminate"}); }

  std::vector<Call> calls;
  std::vector<Call> Named(const std::string& method) const {
    std::vector<Call> out;
    for (const Call& call : calls) {
      if (call.method == method) out.push_back(call);
    }
    return out;
  }

 private:
  int32_t Record(Call call) {
    calls.push_back(std::move(call));
    return 0;
  }
};

}  // namespace pravelo::fakes
