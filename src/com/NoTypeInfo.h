#pragma once

#include <oaidl.h>

namespace pel::com {

// IDispatch::GetTypeInfoCount and GetTypeInfo of a dispatch object without type information
// (sinks, ambient properties, late-bound helpers).
inline HRESULT NoTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

inline HRESULT NoTypeInfo(ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

}  // namespace pel::com
