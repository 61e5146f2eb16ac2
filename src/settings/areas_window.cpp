#include "settings/areas_window.h"

#include <algorithm>

#include "memory/memory_status.h"
#include "settings/area_settings.h"
#include "text_ids.h"
#include "ui/layout.h"

namespace pravelo::settings {
namespace {

namespace layout = ui::layout::areas;

std::size_t IndexOf(memory::MemoryArea area) { return static_cast<std::size_t>(area); }

// The element `index` of the array `Member`.
template <auto Member>
auto& At(AreasWindow& window, std::size_t index) {
  return (window.*Member)[index];
}

// The text with "%1", "%2", ... replaced by the values in their order.
std::string Filled(std::string text, std::initializer_list<std::string> values) {
  int number = 1;
  for (const std::string& value : values) {
    const std::string placeholder = "%" + std::to_string(number++);
    const std::size_t at = text.find(placeholder);
    if (at != std::string::npos) text.replace(at, placeholder.size(), value);
  }
  return text;
}

std::string NeedsWindows(StringTable& strings, std::string_view version) {
  return Filled(strings.Text(IDS_NEEDS_WINDOWS), {std::string(version)});
}

}  // namespace

std::string AreaResultText(const memory::AreaResult& result, StringTable& strings) {
  std::string text;
  switch (result.outcome) {
    case memory::AreaOutcome::NotSupported:
      return strings.Text(IDS_NOT_SUPPORTED);
    case memory::AreaOutcome::NotMeasured:
      return strings.Text(IDS_NOT_MEASURED);
    case memory::AreaOutcome::Done:
      text = strings.Text(IDS_DONE);
      break;
    case memory::AreaOutcome::Partly:
      text = strings.Text(IDS_PARTLY);
      break;
    case memory::AreaOutcome::Failed:
      text = strings.Text(IDS_FAILED_ERROR) + std::to_string(result.errorCode);
      break;
  }
  if (result.area != memory::MemoryArea::WorkingSets) return text;
  const memory::ProcessCounts& counts = result.processes;
  return text + ": " +
         Filled(strings.Text(IDS_PROCESS_COUNTS),
                {std::to_string(counts.trimmed), std::to_string(counts.refused),
                 std::to_string(counts.excluded)});
}

std::string FreedText(const memory::AreaResult& result, StringTable& strings,
                      const std::string& decimalSeparator) {
  if (!result.freedBytes) return strings.Text(IDS_NOT_MEASURED);
  const int64_t bytes = *result.freedBytes;
  const Currency megabytes =
      memory::AvailableMemoryOf(bytes < 0 ? 0 - static_cast<uint64_t>(bytes) : static_cast<uint64_t>(bytes));
  return (bytes < 0 && megabytes.Scaled() != 0 ? "-" : "") + megabytes.ToText(decimalSeparator);
}

std::string SupportText(memory::AreaSupport support, StringTable& strings) {
  switch (support) {
    case memory::AreaSupport::Supported:
      return {};
    case memory::AreaSupport::NeedsVista:
      return NeedsWindows(strings, "Vista");
    case memory::AreaSupport::NeedsWindows81:
      return NeedsWindows(strings, "8.1");
    case memory::AreaSupport::NeedsWindows10:
      return NeedsWindows(strings, "10");
    case memory::AreaSupport::NotUnderWow64:
      return strings.Text(IDS_NOT_UNDER_WOW64);
  }
  return {};
}

std::span<const ui::ControlRow<AreasWindow>> AreasWindow::Controls() {
  using W = AreasWindow;
  using ui::TextStyle;
  using Label = ui::Element<W, ui::Label>;
  using Check = ui::Element<W, ui::CheckBox>;
  constexpr std::size_t kHeaders = 5;
  constexpr std::size_t kPerArea = 6;
  static constexpr auto rows = [] {
    std::array<ui::ControlRow<W>, kHeaders + kPerArea * memory::kAreaCount + 1> r{{
        {"ManualHeader", &W::ManualHeader, layout::ManualHeader, IDS_MANUAL, TextStyle::Centred},
        {"AutomaticHeader", &W::AutomaticHeader, layout::AutomaticHeader, IDS_AUTOMATIC, TextStyle::Centred},
        {"ResultHeader", &W::ResultHeader, layout::ResultHeader, IDS_LAST_OPTIMIZATION},
        {"FreedHeader", &W::FreedHeader, layout::FreedHeader, IDS_FREED, TextStyle::RightAligned},
        {"TimeHeader", &W::TimeHeader, layout::TimeHeader, IDS_TIME, TextStyle::RightAligned},
    }};
    // A row of the table per area, in the order a pass runs them; the area's name is its caption.
    for (std::size_t i = 0; i < memory::kAreaCount; ++i) {
      const int n = static_cast<int>(i);
      ui::ControlRow<W>* row = &r[kHeaders + kPerArea * i];
      *row++ = {"AreaLabel", Label{&At<&W::AreaLabel>, i}, layout::AreaLabel(n), IDS_AREA_WORKING_SETS + n};
      *row++ = {"Manual", Check{&At<&W::Manual>, i}, layout::ManualCheck(n)};
      *row++ = {"Automatic", Check{&At<&W::Automatic>, i}, layout::AutomaticCheck(n)};
      *row++ = {"Result", Label{&At<&W::Result>, i}, layout::Result(n)};
      *row++ = {"Freed", Label{&At<&W::Freed>, i}, layout::Freed(n), 0, TextStyle::RightAligned};
      *row = {"Time", Label{&At<&W::Time>, i}, layout::Time(n), 0, TextStyle::RightAligned};
    }
    r.back() = {"Command1", &W::Command1, layout::Command1, IDS_SAVE};
    return r;
  }();
  return rows;
}

AreasWindow::AreasWindow(WindowServices& services)
    : SettingsWindow(layout::kWindow, services, SaveMessage::None) {
  ui::PlaceControls(*this, Controls());
}

void AreasWindow::Form_Load() {
  StringTable& strings = services_.strings();
  SettingsStore& store = services_.store();
  const memory::AreaSet manual = ReadAreas(store, kManualAreas);
  const memory::AreaSet automatic = ReadAreas(store, kAutomaticAreas);
  memory::Optimizer& optimizer = services_.optimizer();
  const std::vector<memory::AreaResult>& last = optimizer.LastResults();
  const std::string separator = services_.platform().environment.DecimalSeparator();
  for (memory::MemoryArea area : memory::kAreaOrder) {
    const std::size_t i = IndexOf(area);
    Manual[i].SetValue(manual.Has(area) ? 1 : 0);
    Automatic[i].SetValue(automatic.Has(area) ? 1 : 0);
    const memory::AreaSupport support = optimizer.Support(area);
    const bool supported = support == memory::AreaSupport::Supported;
    Manual[i].SetEnabled(supported);
    Automatic[i].SetEnabled(supported);
    const auto result = std::find_if(last.begin(), last.end(),
                                     [area](const memory::AreaResult& r) { return r.area == area; });
    Freed[i].SetText({});
    Time[i].SetText({});
    if (!supported) {
      Result[i].SetText(SupportText(support, strings));
    } else if (result != last.end()) {
      Result[i].SetText(AreaResultText(*result, strings));
      Freed[i].SetText(FreedText(*result, strings, separator));
      Time[i].SetText(std::to_string(result->durationMs));
    } else {
      Result[i].SetText(strings.Text(IDS_NOT_IN_LAST_PASS));
    }
  }
}

std::optional<std::string> AreasWindow::Write() {
  memory::AreaSet manual;
  memory::AreaSet automatic;
  for (memory::MemoryArea area : memory::kAreaOrder) {
    if (Manual[IndexOf(area)].Value() != 0) manual.Add(area);
    if (Automatic[IndexOf(area)].Value() != 0) automatic.Add(area);
  }
  SettingsStore& store = services_.store();
  WriteAreas(store, kManualAreas, manual);
  WriteAreas(store, kAutomaticAreas, automatic);
  return std::string();
}

}  // namespace pravelo::settings
