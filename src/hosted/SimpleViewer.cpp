#include "hosted/SimpleViewer.h"

#include <utility>
#include <vector>

namespace pel {

bool CSimpleViewer::FrameCall(int32_t dispid, Variant& picture, Variant& size, int16_t camera) {
  // The picture and its size are VARIANT* parameters; the camera is a short by value.
  std::vector<Variant> args{Variant::Ref(std::move(picture)), Variant::Ref(std::move(size)),
                            Variant::I2(camera)};
  const Variant result = CallWithRefs(dispid, args);
  picture = std::move(args[0]);
  size = std::move(args[1]);
  picture.byRef = false;
  size.byRef = false;
  return result.AsBool();
}

}  // namespace pel
