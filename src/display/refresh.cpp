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
  MemoryApi& memory = platform().memory;
  // One sample of the load serves the whole refresh: the estimate, the bars, the graph and
  // the tray tip are all taken within it.
  const int load = memory::GetMemoryLoad(memory);

  if (RefreshCount != kFiguresEveryRuns) {
    ++RefreshCount;
  } else {
    Label2.SetText(display::FiguresText(TotalPhysMB, memory::GetAvailableMemory(memory).ToInt32()));
    RefreshCount = 0;
    z18 = display::EstimateAvailableMb(load, TotalMem);
  }

  UpdateBarsAndLabels(load);

  const bool high = display::IsHighLoad(load, z17);
  const ui::Picture bar = high ? SavedTmppcPicture : SavedPicture3;
  SetPictureIfChanged(Picture3, bar);
  SetPictureIfChanged(form3_.Picture3, bar);
  Timer1.SetTag(display::TimerTagText(NumericValue(store_.Read(settings::kInterval)), high));

  const display::GraphSegment segment = graph_.Advance(load, Picture1.Width(), Picture4.Height());
  if (segment.scrollFirst) services_.surfaces.graph.ScrollLeft(display::kGraphStep);
  services_.surfaces.graph.DrawLine(segment.x0, segment.y0, segment.x1, segment.y1);

  if (IsWindows7) {
    UpdateTaskbarButton(load);
  } else if (const std::string title = display::TitleText(load); Text() != title) {
    SetText(title);
  }

  DrawTrayIcon(load, high);

  // A region of the same size is the region the bar already has.
  if (Picture3.Width() != barRegionWidth_ || Picture3.Height() != barRegionHeight_) {
    barRegionWidth_ = Picture3.Width();
    barRegionHeight_ = Picture3.Height();
    services_.surfaces.region.SetRoundRectRegion(Picture3.Handle(), barRegionWidth_, barRegionHeight_);
  }
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
  if (Command8.Enabled()) {
    taskbar.SetProgressValue(SimpleMode ? form3_.Handle() : Handle(), static_cast<uint32_t>(load), 100);
    taskbar.SetProgressState(Handle(), load <= display::kHighLoad ? taskbar::kProgressNormal : taskbar::kProgressPaused);
    if (load > display::kAlarmLoad) taskbar.SetProgressState(Handle(), taskbar::kProgressErrorPaused);
  } else {
    taskbar.SetProgressState(Handle(), taskbar::kProgressIndeterminate);
  }
  taskbar.SetThumbnailTooltip(Handle(), display::TitleText(load));
}

}  // namespace pravelo::app
