#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "control/PelioranCtrl.h"
#include "pane/PelioranOperPane.h"
#include "pelprobe/PanePorts.h"
#include "ports/BrowserProxySetting.h"
#include "ports/ControlChildren.h"
#include "ports/ControlWindow.h"
#include "ports/HostBrowser.h"
#include "ports/UserMessages.h"

namespace pel::probe {

// Message boxes: their texts are kept in the order shown; nobody has to press OK.
class MessageSink : public IUserMessages {
 public:
  void ShowMessage(const std::string& text) override { texts_.push_back(text); }
  const std::vector<std::string>& texts() const { return texts_; }

 private:
  std::vector<std::string> texts_;
};

// A hosting web browser showing the page at `url`. Each byte of the URL is one UTF-16 unit,
// so the control, which takes the low byte of each unit, sees the bytes as given.
class PageBrowser : public IHostBrowser {
 public:
  explicit PageBrowser(std::string url) : url_(std::move(url)) {}
  std::u16string LocationURL() override;
  const std::string& url() const { return url_; }

 private:
  std::string url_;
};

// A browser that uses no proxy: the registry values are not there.
class NoBrowserProxy : public IBrowserProxySetting {
 public:
  std::optional<Value> ReadValue(const std::string&) override { return std::nullopt; }
};

// The control's window without a screen: it keeps where the viewer was put and counts the
// layout messages posted.
class HeadlessWindow : public IControlWindow {
 public:
  struct Placement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
  };

  void MoveViewer(int x, int y, int width, int height, bool) override {
    viewer_ = Placement{x, y, width, height};
  }
  void SizePane(int, int) override {}
  void Invalidate(bool) override {}
  void Update() override {}
  void PostCameraLayout() override { ++posted_; }

  const std::optional<Placement>& viewer() const { return viewer_; }
  int postedLayouts() const { return posted_; }

 private:
  std::optional<Placement> viewer_;
  int posted_ = 0;
};

// Makes the control's children: the real operation pane over the headless pane ports (its
// creation drives its serial/PTZ panel), and the viewer component.
class ProbeChildren : public IControlChildren {
 public:
  ProbeChildren(CPelioranCtrl& ctrl, IUserMessages& messages, IDispatchPort& viewer,
                IDispatchPort& panel)
      : ctrl_(ctrl), messages_(messages), viewer_(viewer), paneView_(panel) {}

  IOperPaneLink* CreatePane(const ChildRect& rect, int id) override;
  IDispatchPort* CreateViewer(const ChildRect& rect, int id) override;

  // Null before the start sequence made the pane, or when its creation failed.
  CPelioranOperPane* pane() const { return created_ ? pane_.get() : nullptr; }
  const HeadlessPaneView& paneView() const { return paneView_; }

 private:
  CPelioranCtrl& ctrl_;
  IUserMessages& messages_;
  IDispatchPort& viewer_;
  HeadlessPaneView paneView_;
  NoPaneDialogs paneDialogs_;
  NoSnapshotSystem snapshots_;
  std::unique_ptr<CPelioranOperPane> pane_;
  bool created_ = false;
};

}  // namespace pel::probe
