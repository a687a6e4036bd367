#include <algorithm>
#include <vector>

#include "control/PelioranCtrl.h"
#include "pane/PelioranOperPane.h"
#include "pane/SnapshotFiles.h"
#include "res/StringTable.h"

namespace pel {

bool CPelioranOperPane::SaveSnapshot() {
  if (ctrl_ == nullptr) return false;
  if (flags_.sequenceRunning) {
    Message(IDS_SEQ_BLOCKS_SNAP);
    return false;
  }
  const int32_t camera = ctrl_->iSelCam();
  if (ctrl_->iNumCam() < 1 || camera < 1 || camera > 6) return false;
  if (!Viewable(camera)) {
    Message(IDS_NO_PERMISSION);
    return false;
  }
  if (flags_.paused) StopSequenceAndPause();

  CSimpleViewer& viewer = ctrl_->viewer();
  const bool jpeg = viewer.GetCodecType(camera) == 0;
  Variant picture;
  Variant size;
  if (jpeg) {
    viewer.GetJpegFrame(picture, size, static_cast<int16_t>(camera));
  } else {
    viewer.GetBmpFrame(picture, size, static_cast<int16_t>(camera));
  }
  bool valid = true;
  if (size.vt != kVtInt) {
    ports_.messages.ShowMessage("vSize.vt != VT_INT");
    valid = false;
  }
  if (picture.vt != kVtByteArray) {
    ports_.messages.ShowMessage(jpeg ? "vJpg.vt != VT_ARRAY|VT_UI1" : "vBmp.vt != VT_ARRAY|VT_UI1");
    valid = false;
  }
  if (!valid) return false;

  // The byte count never reaches past the picture the viewer handed over; a picture larger
  // than its buffer makes the buffer grow.
  const size_t count = std::min<size_t>(static_cast<size_t>(std::max<int32_t>(size.i, 0)),
                                        picture.bytes.size());
  // No picture (a size of 0 or less, or no bytes): a save that writes an empty file and says
  // it is saved would report the viewer's failure as success. It ends as a save whose file
  // cannot be created: nothing written, no message, the button left as it is.
  if (count == 0) return false;
  std::vector<uint8_t> jpegBuffer;
  std::vector<uint8_t>& buffer = jpeg ? jpegBuffer : bmpBuffer_;
  if (jpeg) buffer.resize(kJpegBufferSize);
  // The bitmap buffer is made by the first bitmap snapshot: a wall of controls that never
  // takes one would otherwise hold 1.2 MB each.
  if (buffer.empty()) buffer.resize(kBmpBufferSize);
  if (buffer.size() < count) buffer.resize(count);
  std::copy_n(picture.bytes.begin(), count, buffer.begin());
  picture = Variant{};
  size = Variant{};

  const std::string name = SnapshotFileName(ports_.system.Now(), camera, jpeg);
  if (IsWindowsVistaOrLater(ports_.system)) {
    const std::string folder = GetSnapshotFolder(ports_.system, ctrl_->strServerTag());
    if (folder.empty()) {
      Message(IDS_SNAPSHOT_FOLDER_BAD);
      return false;
    }
    const std::string path = folder + "\\" + name;
    if (!ports_.system.WriteNewFile(path, buffer.data(), count)) return false;
    ports_.messages.ShowMessage(FormatResString(IDS_SNAPSHOT_SAVED, path.c_str()));
  } else {
    SaveAsRequest request;
    request.defaultExtension = jpeg ? "jpg" : "bmp";
    request.initialName = name;
    request.filter = jpeg ? "JPEG Files (*.jpg)|*.jpg||" : "Bitmap Files (*.bmp)|*.bmp||";
    if (const std::optional<std::string> path = ports_.system.AskSaveAsPath(request)) {
      ports_.system.WriteNewFile(*path, buffer.data(), count);
    }
  }
  Button(kButtonSnap).SetState(kButtonNormal);
  return true;
}

}  // namespace pel
