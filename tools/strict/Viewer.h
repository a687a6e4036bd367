#pragma once

#include <utility>
#include <vector>

#include "StrictControl.h"

namespace strict {

// The video viewer: shown cameras as coloured tiles in a grid of iTileWidth x iTileHeight
// across the area it was given (the first shown camera alone when the tile size is 0); a
// click on a tile fires camera-selected (3); every put of a non-empty strServerAddr fires
// picture-width (7) for each shown camera. Snapshots of either kind are BMP files.
//   PEL_STANDIN_PICTURE_WIDTH  the width event 7 reports (352)
//   PEL_STANDIN_CODEC_TYPE     what GetCodecType answers (0)
//   PEL_STANDIN_SERVER_TAG     what GetServerTag answers (strServerAddr:iServerPort)
class Viewer final : public StrictControl {
 public:
  Viewer();

 private:
  void OnPut(const Member& member, const VARIANT& value) override;
  HRESULT OnCall(const Member& member, const std::vector<VARIANT*>& args,
                 VARIANT* result) override;
  void Paint(HDC dc, const RECT& bounds) override;
  void OnClick(POINT at) override;

  std::vector<std::pair<int, RECT>> Tiles(const RECT& area) const;
  void Snapshot(const std::vector<VARIANT*>& args, VARIANT* result) const;

  int selected_ = 0;
};

HRESULT CreateViewer(REFIID iid, void** out);

}  // namespace strict
