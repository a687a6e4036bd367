#include "ViewerPictures.h"

#include <oaidl.h>
#include <objbase.h>

#include <cstdio>
#include <memory>

#include "ComRef.h"
#include "Report.h"
#include "Text.h"
#include "WallOptions.h"

namespace {

const CLSID kViewer = {
    0x775D096D, 0x0F0F, 0x45FA, {0x8E, 0xE1, 0x4C, 0x1F, 0xD1, 0x94, 0x91, 0x0B}};

struct VariantHolder {
  VARIANT v;
  VariantHolder() { VariantInit(&v); }
  VariantHolder(const VariantHolder&) = delete;
  VariantHolder& operator=(const VariantHolder&) = delete;
  ~VariantHolder() { VariantClear(&v); }
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

DISPID IdOf(IDispatch* viewer, const wchar_t* name) {
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  DISPID id = DISPID_UNKNOWN;
  viewer->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

HRESULT PutLong(IDispatch* viewer, DISPID id, long value) {
  VARIANT arg;
  VariantInit(&arg);
  V_VT(&arg) = VT_I4;
  V_I4(&arg) = value;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&arg, &named, 1, 1};
  return viewer->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                        nullptr, nullptr, nullptr);
}

// GetJpegFrame(picture, size, camera) as the control calls it: two empty VARIANTs by
// reference and the camera as a short. The bytes, or an empty text when it gave none.
std::string Picture(IDispatch* viewer, DISPID id, short camera) {
  VariantHolder picture, size, result;
  VARIANT args[3];
  for (VARIANT& a : args) VariantInit(&a);
  V_VT(&args[0]) = VT_I2;
  V_I2(&args[0]) = camera;
  V_VT(&args[1]) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&args[1]) = &size.v;
  V_VT(&args[2]) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&args[2]) = &picture.v;
  DISPPARAMS params = {args, nullptr, 3, 0};
  if (FAILED(viewer->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                            &result.v, nullptr, nullptr)) ||
      V_VT(&picture.v) != (VT_ARRAY | VT_UI1) || V_VT(&size.v) != VT_INT) {
    return {};
  }
  SAFEARRAY* array = V_ARRAY(&picture.v);
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(array, &data))) return {};
  const ULONG have = array->rgsabound[0].cElements;
  const ULONG count = V_INT(&size.v) > 0 ? static_cast<ULONG>(V_INT(&size.v)) : 0;
  std::string bytes(static_cast<const char*>(data), count < have ? count : have);
  SafeArrayUnaccessData(array);
  return bytes;
}

}  // namespace

int WriteViewerPictures(const std::wstring& folder, hostkit::Report& report) {
  hostkit::ComRef<IDispatch> viewer;
  if (FAILED(CoCreateInstance(kViewer, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                              viewer.PutVoid()))) {
    report.Line("error\tviewer");
    return 1;
  }
  const DISPID tile_height = IdOf(viewer.Get(), L"iTileHeight");
  const DISPID get_jpeg = IdOf(viewer.Get(), L"GetJpegFrame");
  int status = 0;
  for (int height : {0, 240}) {
    if (FAILED(PutLong(viewer.Get(), tile_height, height))) status = 1;
    for (short camera = 1; camera <= 6; ++camera) {
      const std::string bytes = Picture(viewer.Get(), get_jpeg, camera);
      const std::wstring path = folder + L"\\cam" + std::to_wstring(camera) + L"-" +
                                std::to_wstring(height) + L".jpg";
      std::unique_ptr<std::FILE, FileCloser> file(_wfopen(path.c_str(), L"wb"));
      if (bytes.empty() || !file ||
          std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
        report.Line("error\tpicture\t" + hostkit::Utf8(path));
        status = 1;
        continue;
      }
      report.Line("picture\t" + std::to_string(camera) + "\t" + std::to_string(height) + "\t" +
                  std::to_string(bytes.size()));
    }
  }
  return status;
}
