#include "app/form1.h"
#include "base/numeric.h"
#include "display/figures.h"
#include "memory/memory_status.h"
#include "simple/form3.h"

namespace pravelo::app {
namespace {

constexpr int kFiguresEveryRuns = 5;

void SetWidthIfChanged(ui::Control& control, int width) {
  if (control.Width() != width) control.SetWidth(width);
}

void SetPictureIfChanged(ui::PictureBox& box, ui::Picture picture) {
  if (box.CurrentPicture() != picture) box.SetPicture(picture);
}

}  // namespace

void Form1::UpdateDisplay() {
  MemoryApi& memory = services_.platform.memory;
  // One sample of the load serves the whole refresh: the estimate, the bars, the graph and
  // the tray tip are all taken within it.
  const int load = memory::GetMemoryLoad(memory);

  if (refresh_.count != kFiguresEveryRuns) {
    ++refresh_.count;
  } else {
    Label2.SetText(display::FiguresText(facts_.TotalPhysMB, memory::GetAvailableMemory(memory).ToInt32()));
    refresh_.count = 0;
    command_.Figures().z18 = display::EstimateAvailableMb(load, facts_.TotalMem);
  }

  UpdateBarsAndLabels(load);

  const bool high = display::IsHighLoad(load, command_.Figures().z17);
  const ui::Picture bar = high ? refresh_.highBar : refresh_.normalBar;
  SetPictureIfChanged(Picture3, bar);
  SetPictureIfChanged(form3_.Picture3, bar);
  Timer1.SetTag(display::TimerTagText(NumericValue(store_.Read(settings::kInterval)), high));

  const display::GraphSegment segment = refresh_.graph.Advance(load, Picture1.Width(), Picture4.Height());
  if (segment.scrollFirst) services_.surfaces.graph.ScrollLeft(display::kGraphStep);
  services_.surfaces.graph.DrawLine(segment.x0, segment.y0, segment.x1, segment.y1);

  if (facts_.IsWindows7) {
    UpdateTaskbarButton(load);
  } else if (const std::string title = display::TitleText(load); Text() != title) {
    SetText(title);
  }

  tray_.Refresh(load, high);

  // A region of the same size is the region the bar already has.
  if (Picture3.Width() != refresh_.regionWidth || Picture3.Height() != refresh_.regionHeight) {
    refresh_.regionWidth = Picture3.Width();
    refresh_.regionHeight = Picture3.Height();
    services_.surfaces.region.SetRoundRectRegion(Picture3.Handle(), refresh_.regionWidth,
                                                 refresh_.regionHeight);
  }

  // Last, so that a pass it starts finds this refresh done.
  autoOptimize_.OnRefresh(load);
}

void Form1::UpdateBarsAndLabels(int load) {
  SetWidthIfChanged(Picture3, display::MainBarWidth(Width(), Picture3.Left(), load));
  form3_.Load();
  SetWidthIfChanged(form3_.Picture3, display::SimpleBarWidth(load));

  const std::string text = display::LoadText(load);
  if (Label1.Text() == text) return;
  Label1.SetText(text);
  Label5.SetText(text);
  form3_.Label1.SetText(text);
  form3_.Label2.SetText(text);
}

void Form1::UpdateTaskbarButton(int load) {
  taskbar::TaskbarList& taskbar = *itbar_list3_;
  if (!command_.DeepPassRunning()) {
    taskbar.SetProgressValue(SimpleMode ? form3_.Handle() : Handle(), static_cast<uint32_t>(load), 100);
    taskbar.SetProgressState(
        Handle(), load <= display::kHighLoad ? taskbar::kProgressNormal : taskbar::kProgressPaused);
    if (load > display::kAlarmLoad) taskbar.SetProgressState(Handle(), taskbar::kProgressErrorPaused);
  } else {
    taskbar.SetProgressState(Handle(), taskbar::kProgressIndeterminate);
  }
  taskbar.SetThumbnailTooltip(Handle(), display::TitleText(load));
}

}  // namespace pravelo::app
