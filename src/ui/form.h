// The portable model of a window: its load state, visibility, window state and the
// events the Win32 binding forwards (load, close request, unload, resize).
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "ui/controls.h"

namespace pravelo::ui {

enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// Why a window is asked to close.
enum class CloseReason { User = 0, Code = 1, Shutdown = 2, TaskManager = 3 };

class Form;

class FormPeer : public ControlPeer {
 public:
  // Creates the real window, hidden, with its controls bound.
  virtual void Create() = 0;
  virtual void Destroy() = 0;
  // Shows the window modally over `owner` (null: no owner) and returns once it is hidden
  // or unloaded.
  virtual void RunModal(Form* owner) = 0;
  // Shows a pop-up menu at the mouse position; returns the item chosen (null for none) once
  // it has closed. The caller runs its handler, outside whatever held the menu open.
  virtual MenuItem* ChooseFromMenu(const std::vector<MenuItem*>& items) = 0;
  // Height in pixels of a text in the window's font, all its lines.
  virtual int TextHeight(std::string_view text) = 0;
  // The window state changed in the model. The binding does not raise the resize event
  // for it; the model does.
  virtual void ApplyWindowState() = 0;
};

class Form : public Control {
 public:
  explicit Form(Rect bounds, std::string caption = {}) : Control(bounds, std::move(caption)) { SetVisible(false); }

  bool Loaded() const { return loaded_; }
  // Loads the window, hidden, if it is not loaded yet; its load handler runs then.
  void Load();
  void Show();
  void Hide();
  void ShowModal(Form* owner);
  // Asks the window to close: the close-request handler may cancel; otherwise the unload
  // handler runs and the window is destroyed. Returns whether it was unloaded.
  bool Unload(CloseReason reason = CloseReason::Code);

  WindowState State() const { return state_; }
  void SetWindowState(WindowState state);
  void SetStateFromUser(WindowState state) { state_ = state; }

  MenuItem* ChooseFromMenu(const std::vector<MenuItem*>& items);
  int TextHeight(std::string_view text);

  void AttachForm(FormPeer* peer) { formPeer_ = peer; }
  FormPeer* PeerOfForm() const { return formPeer_; }

  std::function<void()> onLoad;
  // Sets `cancel` to keep the window.
  std::function<void(bool& cancel, CloseReason reason)> onQueryUnload;
  std::function<void()> onUnload;
  std::function<void()> onResize;

 private:
  bool loaded_ = false;
  WindowState state_ = WindowState::Normal;
  FormPeer* formPeer_ = nullptr;
};

}  // namespace pravelo::ui
