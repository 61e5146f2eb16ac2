// Where the controls of the three windows sit, in design pixels (96 DPI). The form
// constructors place their models from here; the binding sizes each window so that its
// client area is exactly the client size given here.
#pragma once

#include <climits>

#include "ui/controls.h"

namespace pravelo::ui::layout {

// A window position the binding replaces with one centred on the work area.
inline constexpr int kCentered = INT_MIN;

struct Size {
  int width = 0;
  int height = 0;
};

// A window's nominal outer bounds for a client area of `client`, before the binding knows
// the real frame.
constexpr Rect NominalWindow(Size client) {
  return {kCentered, kCentered, client.width + 8, client.height + 31};
}

namespace form1 {
inline constexpr Size kClient{399, 181};
inline constexpr Rect kWindow = NominalWindow(kClient);  // about 407 wide, as the bar width expects

inline constexpr Rect Label1{0, 2, 72, 24};
inline constexpr Rect Picture3{72, 0, 145, 27};                 // the bar; its width follows the load
inline constexpr Rect Picture6{72, 0, kClient.width - 72, 27};  // the track, to the right edge
inline constexpr Rect Picture1{0, 26, 217, 153};                // graph viewport
inline constexpr Rect Picture4{0, 0, 500, 153};                 // graph canvas, inside Picture1
inline constexpr Rect Status{0, 48, 217, 40};                   // notification template, over the graph
inline constexpr Rect Picture5{225, 33, 40, 40};                // logo
inline constexpr Rect Label5{269, 31, 126, 24};
inline constexpr Rect Label2{269, 57, 126, 16};

inline constexpr int kColumnA = 223;
inline constexpr int kColumnB = 311;
inline constexpr int kButtonWidth = 86;
inline constexpr int kButtonHeight = 23;
inline constexpr int kRowPitch = 25;
inline constexpr int kFirstRow = 79;
constexpr Rect Button(int column, int row) {
  return {column, kFirstRow + row * kRowPitch, kButtonWidth, kButtonHeight};
}
inline constexpr Rect Command1 = Button(kColumnA, 0);  // Optimize
inline constexpr Rect Command8 = Button(kColumnB, 0);  // Optimize2
inline constexpr Rect Command2 = Button(kColumnA, 1);  // Move on Tray
inline constexpr Rect Command5 = Button(kColumnB, 1);  // Minimize
inline constexpr Rect Command7 = Button(kColumnA, 2);  // Simple Mode
inline constexpr Rect Command3 = Button(kColumnB, 2);  // Op
inline constexpr Rect Command10{kColumnA, kFirstRow + 3 * kRowPitch, kColumnB + kButtonWidth - kColumnA,
                                kButtonHeight};  // What is Optimize2?

// Hidden helpers.
inline constexpr Rect Picture2{0, 0, 48, 48};  // tray icon canvas
inline constexpr Rect tmppc{0, 0, 145, 27};    // holder of the high-load bar
inline constexpr Rect pichook{0, 0, 1, 1};     // tray callback receiver
}  // namespace form1

namespace form2 {
inline constexpr Size kClient{370, 242};
inline constexpr Rect kWindow = NominalWindow(kClient);

inline constexpr int kMargin = 10;
inline constexpr int kCheckHeight = 18;
inline constexpr int kCheckWidth = kClient.width - 2 * kMargin;
constexpr Rect CheckRow(int top) { return {kMargin, top, kCheckWidth, kCheckHeight}; }

inline constexpr Rect Check1 = CheckRow(10);  // autostart
inline constexpr Rect Check2{kMargin, 34, 160, kCheckHeight};
inline constexpr Rect Label1{28, 61, 118, 16};  // "Optimize Interval(s)"
inline constexpr Rect Text1{148, 58, 60, 21};
inline constexpr Rect Label2{214, 61, 116, 16};  // "0:Do not"
inline constexpr Rect Check3 = CheckRow(86);
inline constexpr Rect Check5 = CheckRow(108);
inline constexpr Rect Check6 = CheckRow(130);
inline constexpr Rect Check4 = CheckRow(152);
inline constexpr Rect Label3{kMargin, 184, 140, 16};  // "Version <version>"
inline constexpr Rect Command2{174, 179, 75, 25};     // Update
inline constexpr Rect Command1{255, 179, 75, 25};     // Save
inline constexpr Rect Command3{200, 31, 130, 23};     // Memory areas...
inline constexpr Rect Command4{174, 210, 156, 25};    // Automation...
inline constexpr Rect Command5{kMargin, 210, 156, 25};  // Language...
}  // namespace form2

namespace areas {
inline constexpr Size kClient{790, 236};
inline constexpr Rect kWindow = NominalWindow(kClient);

inline constexpr int kFirstRow = 32;
inline constexpr int kRowPitch = 24;
inline constexpr int kRowHeight = 18;
inline constexpr int kManualLeft = 200;
inline constexpr int kAutomaticLeft = 270;
inline constexpr int kColumnWidth = 70;
inline constexpr int kCheckWidth = 16;
inline constexpr int kResultLeft = 345;
inline constexpr int kResultWidth = 270;
inline constexpr int kFreedLeft = kResultLeft + kResultWidth + 10;
inline constexpr int kFreedWidth = 80;
inline constexpr int kTimeLeft = kFreedLeft + kFreedWidth + 10;
inline constexpr int kTimeWidth = kClient.width - kTimeLeft - 10;
constexpr int RowTop(int row) { return kFirstRow + row * kRowPitch; }
// A check box without a caption, centred under its column's header.
constexpr Rect CheckIn(int columnLeft, int row) {
  return {columnLeft + (kColumnWidth - kCheckWidth) / 2, RowTop(row), kCheckWidth, kRowHeight};
}

inline constexpr Rect ManualHeader{kManualLeft, 10, kColumnWidth, 16};
inline constexpr Rect AutomaticHeader{kAutomaticLeft, 10, kColumnWidth, 16};
inline constexpr Rect ResultHeader{kResultLeft, 10, kResultWidth, 16};
inline constexpr Rect FreedHeader{kFreedLeft, 10, kFreedWidth, 16};
inline constexpr Rect TimeHeader{kTimeLeft, 10, kTimeWidth, 16};
constexpr Rect AreaLabel(int row) { return {10, RowTop(row) + 1, kManualLeft - 15, 16}; }
constexpr Rect ManualCheck(int row) { return CheckIn(kManualLeft, row); }
constexpr Rect AutomaticCheck(int row) { return CheckIn(kAutomaticLeft, row); }
constexpr Rect Result(int row) { return {kResultLeft, RowTop(row) + 1, kResultWidth, 16}; }
constexpr Rect Freed(int row) { return {kFreedLeft, RowTop(row) + 1, kFreedWidth, 16}; }
constexpr Rect Time(int row) { return {kTimeLeft, RowTop(row) + 1, kTimeWidth, 16}; }
inline constexpr Rect Command1{kClient.width - 85, kClient.height - 35, 75, 25};  // Save
}  // namespace areas

namespace automation {
inline constexpr Size kClient{380, 236};
inline constexpr Rect kWindow = NominalWindow(kClient);

inline constexpr int kMargin = 10;
inline constexpr int kWide = kClient.width - 2 * kMargin;
inline constexpr int kNumberLeft = 300;
inline constexpr int kNumberWidth = 70;
}  // namespace automation

namespace language {
inline constexpr Size kClient{260, 246};
inline constexpr Rect kWindow = NominalWindow(kClient);

inline constexpr int kMargin = 10;
inline constexpr int kWide = kClient.width - 2 * kMargin;
}  // namespace language

namespace form3 {
inline constexpr Size kClient{200, 54};
inline constexpr Rect kWindow = NominalWindow(kClient);

inline constexpr Rect Label1{0, 2, 62, 24};
inline constexpr Rect Picture3{64, 3, 72, 22};  // 72 pixels at full load
inline constexpr Rect Label2{138, 2, 62, 24};
inline constexpr int kButtonTop = 29;
inline constexpr int kButtonHeight = 23;
inline constexpr Rect Command4{2, kButtonTop, 47, kButtonHeight};    // Optz.
inline constexpr Rect Command1{51, kButtonTop, 47, kButtonHeight};   // Tray
inline constexpr Rect Command2{100, kButtonTop, 47, kButtonHeight};  // End
inline constexpr Rect Command3{149, kButtonTop, 49, kButtonHeight};  // Togle
}  // namespace form3

}  // namespace pravelo::ui::layout
