// The whole program on fakes: every port, the drawing surfaces, the taskbar, the window
// peers and virtual time, with a machine of 4 GiB at 45 percent load running Windows 7.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "app/application.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_surfaces.h"

namespace pravelo::fakes {

inline constexpr uint64_t kGiB = 1024ull * 1024 * 1024;
inline constexpr WindowId kForm1Window = 0xF1;
inline constexpr WindowId kForm2Window = 0xF2;
inline constexpr WindowId kForm3Window = 0xF3;
inline constexpr WindowId kAreasWindow = 0xF4;
inline constexpr WindowId kAutomationWindow = 0xA7;
inline constexpr WindowId kLanguageWindow = 0x1A;
inline constexpr WindowId kPichookWindow = 0xB00C;
inline constexpr WindowId kBarWindow = 0xBA3;

// The release key the fixture's program trusts (signatures come from testing::FakeSignatures).
inline const std::string kFixtureUpdateKey(128, 'c');

class AppFixture : public FakePlatform {
 public:
  AppFixture();

  app::Form1& form1() { return app->form1; }
  settings::Form2& form2() { return app->form2; }
  simple::Form3& form3() { return app->form3; }
  settings::AreasWindow& areas() { return app->areas; }
  settings::AutomationWindow& automation() { return app->automation; }
  settings::LanguageWindow& language() { return app->language; }

  // Runs start-up with the given command line; a switch that ends the process throws
  // ProcessEnded out of here.
  void Start(const std::string& commandLine = "");
  // A setting as stored, or nothing.
  std::optional<std::string> Setting(std::string_view name);
  void SetSetting(std::string_view name, std::string_view value);
  // The peer that counts what a control of the windows was told.
  RecordingPeer& PeerOf(ui::Control& control) { return peers[&control]; }

  RcStringTable strings{settings::kLanguageEnglish};

  FakeGraphCanvas graph;
  FakeIconCanvas icon;
  FakeTray tray;
  FakeRegion region;
  display::Surfaces surfaces{graph, icon, tray, region};
  FakeTaskbar* taskbar = nullptr;  // the one start-up made
  int deepPassBlocks = 0;          // blocks the deep pass asked for

  FakeFormPeer form1Peer, form2Peer, form3Peer, areasPeer, automationPeer, languagePeer;
  std::map<ui::Control*, RecordingPeer> peers;
  std::unique_ptr<app::Application> app;
};

}  // namespace pravelo::fakes
