// Drives the windows of programs in the same Wine prefix from outside, for the end-to-end
// tests. One command per run; windows are printed one per line, tab-separated:
//   handle parent pid image class visible left top right bottom text
// with tabs, line ends and backslashes in the text escaped as \t \r \n \\.
// Exit codes: 0 done, 1 no such window (or the wait ran out), 2 bad usage, 3 refused.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/owned_win32.h"
#include "platform/text_win32.h"

namespace {

using pravelo::Narrow;

constexpr int kDone = 0;
constexpr int kNotFound = 1;
constexpr int kUsage = 2;
constexpr int kRefused = 3;
constexpr DWORD kPollMs = 50;
constexpr DWORD kWatchPollMs = 10;
constexpr DWORD kDefaultTimeoutMs = 10000;
constexpr UINT kTextTimeoutMs = 2000;
constexpr wchar_t kMessageBoxClass[] = L"#32770";
constexpr int kMessageBoxTextId = 0xFFFF;

struct Options {
  std::wstring command;
  std::map<std::wstring, std::wstring> values;  // --name value
  std::vector<std::wstring> flags;              // --name
  std::vector<std::wstring> positional;

  bool Has(const wchar_t* flag) const {
    for (const auto& f : flags)
      if (f == flag) return true;
    return values.count(flag) > 0;
  }
  std::optional<std::wstring> Value(const wchar_t* name) const {
    auto found = values.find(name);
    if (found == values.end()) return std::nullopt;
    return found->second;
  }
};

bool TakesValue(const std::wstring& name) {
  return name == L"--class" || name == L"--title" || name == L"--timeout" || name == L"--window" ||
         name == L"--caption" || name == L"--parent" || name == L"--image" || name == L"--width" ||
         name == L"--parent-class" || name == L"--other-than";
}

Options Parse(int argc, wchar_t** argv) {
  Options options;
  if (argc > 1) options.command = argv[1];
  for (int i = 2; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg.rfind(L"--", 0) == 0 && TakesValue(arg) && i + 1 < argc) {
      options.values[arg] = argv[++i];
    } else if (arg.rfind(L"--", 0) == 0) {
      options.flags.push_back(arg);
    } else {
      options.positional.push_back(arg);
    }
  }
  return options;
}

void Write(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

std::string Escape(const std::wstring& text) {
  std::string out;
  for (char c : Narrow(text)) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string Hex(HWND window) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "0x%lx",
                static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
  return buffer;
}

// A window of a hung program must not hang the driver.
std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &length))
    return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kTextTimeoutMs, &copied)) {
    return {};
  }
  text.resize(copied);
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, ARRAYSIZE(name));
  return name;
}

std::wstring ImageName(DWORD processId) {
  pravelo::OwnedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return {};
  wchar_t path[MAX_PATH * 4] = {};
  DWORD size = ARRAYSIZE(path);
  if (!QueryFullProcessImageNameW(process.Get(), 0, path, &size)) return {};
  std::wstring full(path, size);
  return full.substr(full.find_last_of(L"\\/") + 1);
}

void PrintWindow(HWND window, HWND parent) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  RECT rect{};
  GetWindowRect(window, &rect);
  Write(Hex(window) + "\t" + Hex(parent) + "\t" + std::to_string(processId) + "\t" +
        Escape(ImageName(processId)) + "\t" + Escape(ClassName(window)) + "\t" +
        (IsWindowVisible(window) ? "1" : "0") + "\t" + std::to_string(rect.left) + "\t" +
        std::to_string(rect.top) + "\t" + std::to_string(rect.right) + "\t" + std::to_string(rect.bottom) +
        "\t" + Escape(WindowText(window)) + "\n");
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// All descendants, grandchildren included.
std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::optional<HWND> ParseWindow(const Options& options, const wchar_t* name = L"--window") {
  auto text = options.Value(name);
  if (!text) return std::nullopt;
  HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoull(text->c_str(), nullptr, 0)));
  if (!IsWindow(window)) return std::nullopt;
  return window;
}

DWORD Timeout(const Options& options) {
  auto text = options.Value(L"--timeout");
  return text ? static_cast<DWORD>(std::wcstoul(text->c_str(), nullptr, 10)) : kDefaultTimeoutMs;
}

// Polls until `find` gives a window or the time is up.
template <typename Find>
std::optional<HWND> WaitFor(DWORD timeoutMs, Find find) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (std::optional<HWND> window = find()) return window;
    if (GetTickCount64() >= deadline) return std::nullopt;
    Sleep(kPollMs);
  }
}

int Width(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect.right - rect.left;
}

// Among `candidates`, the first with the class, title, width and visibility asked for.
std::optional<HWND> FindMatching(const Options& options, const std::vector<HWND>& candidates) {
  const auto className = options.Value(L"--class");
  const auto title = options.Value(L"--title");
  const auto width = options.Value(L"--width");
  const bool visibleOnly = options.Has(L"--visible");
  for (HWND window : candidates) {
    if (className && ClassName(window) != *className) continue;
    if (title && WindowText(window) != *title) continue;
    if (width && Width(window) != _wtoi(width->c_str())) continue;
    if (visibleOnly && !IsWindowVisible(window)) continue;
    return window;
  }
  return std::nullopt;
}

std::optional<HWND> FindTopLevel(const Options& options) { return FindMatching(options, TopLevelWindows()); }

// Captions match with or without their '&' accelerator marks.
bool CaptionMatches(const std::wstring& text, const std::wstring& caption) {
  if (text == caption) return true;
  std::wstring plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&' && i + 1 < text.size()) ++i;
    plain += text[i];
  }
  return plain == caption;
}

std::optional<HWND> FindButton(HWND parent, const std::wstring& caption) {
  std::optional<HWND> other;
  for (HWND child : ChildWindows(parent)) {
    if (!CaptionMatches(WindowText(child), caption)) continue;
    if (_wcsicmp(ClassName(child).c_str(), L"Button") == 0) return child;
    if (!other) other = child;
  }
  return other;
}

int List(const Options& options) {
  const bool children = options.Has(L"--children");
  for (HWND window : TopLevelWindows()) {
    PrintWindow(window, nullptr);
    if (!children) continue;
    for (HWND child : ChildWindows(window)) PrintWindow(child, GetParent(child));
  }
  return kDone;
}

// With --parent, waits among that window's descendants (a notification that lives for two
// seconds is missed by a list taken from outside every now and then).
int Wait(const Options& options) {
  if (!options.Value(L"--class") && !options.Value(L"--title")) return kUsage;
  std::optional<HWND> parent;
  if (options.Value(L"--parent")) {
    parent = ParseWindow(options, L"--parent");
    if (!parent) return kNotFound;
  }
  std::optional<HWND> window = WaitFor(Timeout(options), [&] {
    return parent ? FindMatching(options, ChildWindows(*parent)) : FindTopLevel(options);
  });
  if (!window) return kNotFound;
  PrintWindow(*window, parent ? GetParent(*window) : nullptr);
  return kDone;
}

// When each window was made, by the time its maker stamped on the event: what a program shows
// for a moment is timed from its start however late the driver looks.
std::map<HWND, DWORD>& CreationTimes() {
  static std::map<HWND, DWORD> times;
  return times;
}

void CALLBACK WindowCreated(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD time) {
  if (object == OBJID_WINDOW) CreationTimes()[window] = time;
}

// Runs the events that came in, waiting for them at most `ms`.
void TakeEvents(DWORD ms) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// The windows among `candidates` that were made since the hook was set.
std::vector<HWND> MadeSinceWatching(const std::vector<HWND>& candidates) {
  std::vector<HWND> made;
  for (HWND window : candidates)
    if (CreationTimes().count(window)) made.push_back(window);
  return made;
}

// A window made after this command started, below a top-level window of --parent-class, also of
// a program that starts later (and not of the process --other-than names): prints "watching" once it looks, the window once shown, then the
// milliseconds from its creation until it went. Started before the action, it needs no program
// start between the action and its first look.
int Watch(const Options& options) {
  const auto parentClass = options.Value(L"--parent-class");
  if (!parentClass || !options.Value(L"--class")) return kUsage;
  using OwnedHook = pravelo::Owned<HWINEVENTHOOK, &UnhookWinEvent>;
  OwnedHook hook(SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE, nullptr, WindowCreated, 0, 0,
                                 WINEVENT_OUTOFCONTEXT));
  if (!hook) return kRefused;
  const auto otherThan = options.Value(L"--other-than");
  const DWORD skipped = otherThan ? std::wcstoul(otherThan->c_str(), nullptr, 10) : 0;
  Options child = options;
  child.flags.push_back(L"--visible");
  Write("watching\n");
  std::fflush(stdout);
  const ULONGLONG deadline = GetTickCount64() + Timeout(options);
  std::optional<HWND> shown;
  while (GetTickCount64() < deadline) {
    TakeEvents(kWatchPollMs);
    if (shown) {
      if (IsWindow(*shown) && IsWindowVisible(*shown)) continue;
      Write(std::to_string(GetTickCount() - CreationTimes()[*shown]) + "\n");
      return kDone;
    }
    for (HWND top : TopLevelWindows()) {
      DWORD processId = 0;
      GetWindowThreadProcessId(top, &processId);
      if (ClassName(top) != *parentClass || (otherThan && processId == skipped)) continue;
      shown = FindMatching(child, MadeSinceWatching(ChildWindows(top)));
      if (!shown) continue;
      PrintWindow(*shown, GetParent(*shown));
      std::fflush(stdout);
      break;
    }
  }
  return kNotFound;
}

int Click(const Options& options) {
  auto window = ParseWindow(options);
  auto caption = options.Value(L"--caption");
  if (!window || !caption) return window ? kUsage : kNotFound;
  std::optional<HWND> button = WaitFor(Timeout(options), [&] { return FindButton(*window, *caption); });
  if (!button) return kNotFound;
  // A user cannot press a disabled button either.
  if (!IsWindowEnabled(*button)) return kRefused;
  PostMessageW(*button, BM_CLICK, 0, 0);
  PrintWindow(*button, GetParent(*button));
  return kDone;
}

int Close(const Options& options) {
  auto window = ParseWindow(options);
  if (!window) return kNotFound;
  PostMessageW(*window, WM_CLOSE, 0, 0);
  return kDone;
}

// Waits for the message box with the given title, prints its text and presses OK.
int PressOk(const Options& options) {
  auto title = options.Value(L"--title");
  if (!title) return kUsage;
  Options box = options;
  box.values[L"--class"] = kMessageBoxClass;
  box.flags.push_back(L"--visible");
  std::optional<HWND> found = WaitFor(Timeout(options), [&] { return FindTopLevel(box); });
  if (!found) return kNotFound;
  HWND text = GetDlgItem(*found, kMessageBoxTextId);
  Write(Escape(text ? WindowText(text) : std::wstring{}) + "\n");
  HWND ok = GetDlgItem(*found, IDOK);
  if (ok) {
    PostMessageW(ok, BM_CLICK, 0, 0);
  } else {
    PostMessageW(*found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
  return kDone;
}

std::optional<UINT> VirtualKey(const std::wstring& name) {
  static const std::map<std::wstring, UINT> names = {
      {L"f4", VK_F4}, {L"enter", VK_RETURN}, {L"escape", VK_ESCAPE}, {L"space", VK_SPACE}, {L"tab", VK_TAB}};
  auto found = names.find(name);
  if (found != names.end()) return found->second;
  if (name.size() == 1 && iswalnum(name[0])) return static_cast<UINT>(towupper(name[0]));
  return std::nullopt;
}

// Posts a key press as the keyboard would deliver it; with --alt as a system key, which is
// how Alt+F4 reaches the default window procedure.
int Key(const Options& options) {
  auto window = ParseWindow(options);
  if (!window) return kNotFound;
  if (options.positional.size() != 1) return kUsage;
  std::optional<UINT> key = VirtualKey(options.positional[0]);
  if (!key) return kUsage;
  const bool alt = options.Has(L"--alt");
  const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(*key, MAPVK_VK_TO_VSC)) << 16;
  const LPARAM altDown = alt ? (LPARAM{1} << 29) : 0;
  const LPARAM released = (LPARAM{1} << 30) | (LPARAM{1} << 31);
  PostMessageW(*window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, *key, 1 | scan | altDown);
  PostMessageW(*window, alt ? WM_SYSKEYUP : WM_KEYUP, *key, 1 | scan | altDown | released);
  return kDone;
}

// The client area in screen coordinates: where the window's own children are placed from.
int Client(const Options& options) {
  auto window = ParseWindow(options);
  if (!window) return kNotFound;
  RECT rect{};
  GetClientRect(*window, &rect);
  MapWindowPoints(*window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  Write(std::to_string(rect.left) + "\t" + std::to_string(rect.top) + "\t" + std::to_string(rect.right) +
        "\t" + std::to_string(rect.bottom) + "\n");
  return kDone;
}

int Text(const Options& options) {
  auto window = ParseWindow(options);
  if (!window) return kNotFound;
  Write(Escape(WindowText(*window)) + "\n");
  return kDone;
}

// The check mark (0 unchecked, 1 checked, 2 grayed) and whether the window takes input.
int State(const Options& options) {
  auto window = ParseWindow(options);
  if (!window) return kNotFound;
  DWORD_PTR check = 0;
  SendMessageTimeoutW(*window, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kTextTimeoutMs, &check);
  Write(std::to_string(check) + "\t" + (IsWindowEnabled(*window) ? "1" : "0") + "\n");
  return kDone;
}

// The GDI and USER objects of the process with a top-level window of this image name.
int Gui(const Options& options) {
  const auto image = options.Value(L"--image");
  if (!image) return kUsage;
  for (HWND window : TopLevelWindows()) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (_wcsicmp(ImageName(processId).c_str(), image->c_str()) != 0) continue;
    pravelo::OwnedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) return kNotFound;
    Write(std::to_string(GetGuiResources(process.Get(), GR_GDIOBJECTS)) + "\t" +
          std::to_string(GetGuiResources(process.Get(), GR_USEROBJECTS)) + "\n");
    return kDone;
  }
  return kNotFound;
}

// Brings a minimized window back, as a click on its taskbar button would.
int Restore(const Options& options) {
  auto window = ParseWindow(options);
  if (!window) return kNotFound;
  ShowWindow(*window, SW_RESTORE);
  return kDone;
}

// Replaces the text as typing would, so the program sees its change notification.
int SetText(const Options& options) {
  auto window = ParseWindow(options);
  if (!window) return kNotFound;
  if (options.positional.size() != 1) return kUsage;
  if (!IsWindowEnabled(*window)) return kRefused;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(*window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(options.positional[0].c_str()),
                           SMTO_ABORTIFHUNG, kTextTimeoutMs, &result)) {
    return kRefused;
  }
  return kDone;
}

// Puts a top-level window elsewhere on the screen, so that it covers nothing a test looks at.
int Move(const Options& options) {
  auto window = ParseWindow(options);
  if (!window) return kNotFound;
  if (options.positional.size() != 2) return kUsage;
  const int x = _wtoi(options.positional[0].c_str());
  const int y = _wtoi(options.positional[1].c_str());
  return SetWindowPos(*window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? kDone : kRefused;
}

void Usage() {
  std::fputs(
      "usage: pravelo_driver list [--children]\n"
      "       pravelo_driver wait [--class C] [--title T] [--width W] [--visible] [--parent H] [--timeout MS]\n"
      "       pravelo_driver watch --parent-class P --class C [--title T] [--width W] [--other-than PID]\n"
      "                            [--timeout MS]\n"
      "       pravelo_driver click --window H --caption TEXT [--timeout MS]\n"
      "       pravelo_driver close --window H\n"
      "       pravelo_driver ok --title T [--timeout MS]\n"
      "       pravelo_driver key --window H [--alt] f4|enter|escape|space|tab|<letter>\n"
      "       pravelo_driver text --window H\n"
      "       pravelo_driver client --window H\n"
      "       pravelo_driver state --window H\n"
      "       pravelo_driver settext --window H TEXT\n"
      "       pravelo_driver restore --window H\n"
      "       pravelo_driver gui --image NAME.exe\n"
      "       pravelo_driver move --window H X Y\n",
      stderr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Plain LF line ends and UTF-8 bytes, whatever the console would make of them.
  _setmode(_fileno(stdout), _O_BINARY);
  const Options options = Parse(argc, argv);
  using Command = int (*)(const Options&);
  static const std::map<std::wstring, Command> commands = {
      {L"list", List}, {L"wait", Wait}, {L"click", Click},   {L"close", Close},     {L"ok", PressOk},
      {L"key", Key},   {L"text", Text}, {L"client", Client}, {L"state", State}, {L"settext", SetText},
      {L"restore", Restore}, {L"gui", Gui}, {L"move", Move}, {L"watch", Watch},
  };
  auto found = commands.find(options.command);
  int result = kUsage;
  if (found != commands.end()) result = found->second(options);
  if (result == kUsage) Usage();
  std::fflush(stdout);
  return result;
}
