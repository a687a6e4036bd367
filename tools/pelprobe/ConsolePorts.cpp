#include "pelprobe/ConsolePorts.h"

namespace pel::probe {

std::u16string PageBrowser::LocationURL() {
  std::u16string units;
  units.reserve(url_.size());
  for (const char c : url_) units.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  return units;
}

IOperPaneLink* ProbeChildren::CreatePane(const ChildRect&, int) {
  pane_ = std::make_unique<CPelioranOperPane>(
      PanePorts{paneView_, paneDialogs_, messages_, snapshots_}, &ctrl_);
  created_ = pane_->OnCreate();
  return pane();
}

IDispatchPort* ProbeChildren::CreateViewer(const ChildRect&, int) { return &viewer_; }

}  // namespace pel::probe
