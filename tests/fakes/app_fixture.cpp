#include "fakes/app_fixture.h"

namespace pravelo::fakes {

AppFixture::AppFixture() {
  memory.totalBytes = 4 * kGiB;
  memory.availableBytes = 1878 * 1048576ull;
  memory.load = 45;
  memory.version = FakeMemoryApi::VersionOf(6, 1);
  // No process can be opened by the idle process's id; the system's own only with the
  // debug privilege.
  machine.processes = {{0, "System Idle Process", 0, false, false, false, true},
                       {4, "System", 40, true},
                       {400, "400.exe", 1000},
                       {1234, "1234.exe", 2000}};

  app = std::make_unique<app::Application>(app::Form1Services{platform, strings, surfaces,
                                                               [this] {
                                                                 auto made = std::make_unique<FakeTaskbar>();
                                                                 taskbar = made.get();
                                                                 return made;
                                                               },
                                                               update::Version{1, 4, 2},
                                                               [this] {
                                                                 // Tests never take real memory: a tiny
                                                                 // block, and an address space of 64.
                                                                 if (++deepPassBlocks > 64) throw std::bad_alloc();
                                                                 return std::u16string(1, u' ');
                                                               },
                                                               kFixtureUpdateKey});
  app::Form1& f1 = form1();
  f1.Attach(&form1Peer, kForm1Window);
  f1.AttachForm(&form1Peer);
  form2().Attach(&form2Peer, kForm2Window);
  form2().AttachForm(&form2Peer);
  form3().Attach(&form3Peer, kForm3Window);
  form3().AttachForm(&form3Peer);
  areas().Attach(&areasPeer, kAreasWindow);
  areas().AttachForm(&areasPeer);
  automation().Attach(&automationPeer, kAutomationWindow);
  automation().AttachForm(&automationPeer);
  language().Attach(&languagePeer, kLanguageWindow);
  language().AttachForm(&languagePeer);
  f1.pichook.Attach(&peers[&f1.pichook], kPichookWindow);
  f1.Picture3.Attach(&peers[&f1.Picture3], kBarWindow);
  for (ui::Control* control : {static_cast<ui::Control*>(&f1.Label1), static_cast<ui::Control*>(&f1.Label2),
                               static_cast<ui::Control*>(&f1.Label5), static_cast<ui::Control*>(&form3().Label1),
                               static_cast<ui::Control*>(&form3().Label2), static_cast<ui::Control*>(&f1.Command8)}) {
    control->Attach(&peers[control], 0);
  }
  timers.Watch(f1.Timer1);
  timers.Watch(f1.Timer2);
  timers.Watch(form2().Timer1);
  f1.msgtimer.onLoaded = [this](int, ui::Timer& timer) { timers.Watch(timer); };
  f1.Status.onLoaded = [this](int, ui::Button& button) { button.Attach(&peers[&button], 0); };
  f1.Status.onUnloading = [this](int, ui::Button& button) { peers.erase(&button); };
}

void AppFixture::Start(const std::string& commandLine) {
  environment.commandLine = commandLine;
  form1().Load();
}

std::optional<std::string> AppFixture::Setting(std::string_view name) {
  const RegistryValue* value = registry.Find(RegistryRoot::CurrentUser, kSettingsKey, name);
  if (!value) return std::nullopt;
  return value->text;
}

void AppFixture::SetSetting(std::string_view name, std::string_view value) {
  registry.SetString(RegistryRoot::CurrentUser, kSettingsKey, name, value);
}

}  // namespace pravelo::fakes
