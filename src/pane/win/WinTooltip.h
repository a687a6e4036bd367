#pragma once

#include <windows.h>

#include <string>

namespace pel::win {

// The tooltip control of one child window, made when the mouse first moves over the window
// after a text was set (until then the text and activation wait here: a wall of controls would
// otherwise hold a tooltip window and its two fonts for every button): inactive at first, with
// the window's client rectangle as its only tool. The owner relays the window's messages to
// it. Destroyed with this object (or with its window).
class WinTooltip {
 public:
  // `initialDelayMs` above 0 replaces the tooltip's initial delay.
  explicit WinTooltip(int initialDelayMs = 0) : initialDelayMs_(initialDelayMs) {}
  WinTooltip(const WinTooltip&) = delete;
  WinTooltip& operator=(const WinTooltip&) = delete;
  ~WinTooltip() { Destroy(); }

  // Sets the tip text and the activation.
  void SetText(HWND tool, const std::string& text, bool active);
  // Only when there is a text.
  void Activate(bool active);
  // Hands a message of the tool's window to the tooltip, making it at the first mouse move
  // when there is a text.
  void Relay(HWND tool, UINT message, WPARAM wParam, LPARAM lParam);
  // Asks the tooltip to show or hide its tip for the current mouse position.
  void Update();
  // The tool's window changed its size.
  void ToolResized(HWND tool);
  void Destroy();

  HWND Window() const { return tooltip_; }

 private:
  bool Make(HWND tool);
  void Apply(HWND tool);

  int initialDelayMs_;
  HWND tooltip_ = nullptr;
  bool hasText_ = false;
  std::wstring text_;
  bool active_ = false;
};

}  // namespace pel::win
