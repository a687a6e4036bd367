#include "hosted/SimpleViewer.h"

#include <utility>
#include <vector>

namespace pel {

bool CSimpleViewer::FrameCall(int32_t dispid, Variant& picture, Variant& size, int16_t camera) {
  std::vector<Variant> args{std::move(picture), std::move(size), Variant::I2(camera)};
  const Variant result = CallWithRefs(dispid, args);
  picture = std::move(args[0]);
  size = std::move(args[1]);
  return result.AsBool();
}

}  // namespace pel
