#pragma once

#include <utility>
#include <vector>

#include "StandinControl.h"

namespace pel::standin {

// The video viewer: draws the shown cameras as coloured tiles in the requested grid, fires
// camera-selected (3) on a click on a tile and picture-width (7) for every shown camera at
// each connect, and answers snapshots with real JPEG and BMP files.
//   PEL_STANDIN_PICTURE_WIDTH  picture width event 7 reports (352)
//   PEL_STANDIN_CODEC_TYPE     what GetCodecType answers (0: JPEG available)
class ViewerStandin : public StandinControl {
 public:
  ViewerStandin();

 protected:
  void OnPut(const com::DispMember& member, const VARIANT& value) override;
  HRESULT OnCall(const com::DispMember& member, const std::vector<VARIANT*>& args,
                 VARIANT* result) override;
  void OnDraw(HDC dc, const RECT& bounds) override;
  LRESULT OnWindowMessage(UINT msg, WPARAM wp, LPARAM lp, bool& handled) override;

 private:
  // The shown cameras' tiles within `client`.
  std::vector<std::pair<int, RECT>> Tiles(const RECT& client) const;
  HRESULT Snapshot(bool jpeg, const std::vector<VARIANT*>& args, VARIANT* result);
  std::wstring Title(int camera) const;

  int selected_ = 0;
};

HRESULT CreateViewerStandin(REFIID iid, void** out);

}  // namespace pel::standin
