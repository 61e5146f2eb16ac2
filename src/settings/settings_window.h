// A settings window with a Save button: its title (F::kTitleId) and captions from its table
// on every load, and the Save that checks the input, writes it, says so and closes. `F` is
// the window; its Write() gives the note to add below "Saved", or nothing when the write was
// refused.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "pravelo_version.h"
#include "settings/window_services.h"
#include "text_ids.h"
#include "ui/control_table.h"
#include "ui/form.h"

namespace pravelo::settings {

// What a save says once it has written.
enum class SaveMessage { Saved, None };

template <class F>
class SettingsWindow : public ui::Form {
 public:
  ui::Button Command1;  // Save

  // Sets the title and the captions; a window not loaded yet loads, hidden, and that sets them.
  void ApplyCaptions() {
    if (!Loaded()) return Load();
    SetCaptions();
  }

  // Refused input gets a message and nothing is saved; the window stays open to mend it.
  void Command1_Click() {
    F& self = static_cast<F&>(*this);
    if (const std::optional<int> refusal = self.Refusal()) {
      Say(services_.strings().Text(*refusal), kExclamationStyle);
      return;
    }
    // A refused write is said so, lest the user believe the change kept; the window stays
    // open with the choice in it.
    const std::optional<std::string> note = self.Write();
    if (!note) {
      Say(services_.strings().Text(IDS_NOT_SAVED), kExclamationStyle);
      return;
    }
    if (message_ == SaveMessage::Saved)
      Say(services_.strings().Text(IDS_SAVED) + (note->empty() ? "" : "\r\n" + *note), 0);
    Unload();
  }

 protected:
  SettingsWindow(ui::Rect bounds, WindowServices& services, SaveMessage message)
      : ui::Form(bounds), services_(services), message_(message) {
    onLoad = [this] {
      SetCaptions();
      static_cast<F&>(*this).Form_Load();
    };
    Command1.onClick = [this] { Command1_Click(); };
  }

  // The number of the text that refuses the input as it stands; nothing lets the save go on.
  std::optional<int> Refusal() { return std::nullopt; }

  WindowServices& services_;

 private:
  static constexpr uint32_t kExclamationStyle = 48;

  void SetCaptions() {
    StringTable& strings = services_.strings();
    SetText(strings.Text(F::kTitleId));
    ui::ApplyCaptions(static_cast<F&>(*this), F::Controls(), strings);
  }

  void Say(const std::string& text, uint32_t style) {
    services_.platform().dialogs.MessageBox(Handle(), text, PRAVELO_PRODUCT_NAME, style);
  }

  SaveMessage message_;
};

}  // namespace pravelo::settings
