// The name and type information calls of DispatchFuzzer.
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "ComRef.h"
#include "DispatchFuzzer.h"
#include "Verdict.h"

namespace hostile {

namespace {

std::wstring Mangled(Random& rng, const wchar_t* name) {
  std::wstring out = name;
  switch (rng.Below(4)) {
    case 0:
      break;
    case 1:
      for (wchar_t& c : out) c = static_cast<wchar_t>(towupper(c));
      break;
    case 2:
      for (wchar_t& c : out) c = static_cast<wchar_t>(towlower(c));
      break;
    default:
      for (wchar_t& c : out) {
        c = static_cast<wchar_t>(rng.OneIn(2) ? towupper(c) : towlower(c));
      }
      break;
  }
  return out;
}

const wchar_t* MemberName(DISPID id) {
  if (id == kDispidAboutBox) return L"AboutBox";
  const PropertyDef* def = FindProperty(id);
  return def ? def->name : nullptr;
}

// The member a name denotes, compared as a script engine would (case-insensitively), or 0.
DISPID MemberOfName(const std::wstring& name, bool* found) {
  *found = false;
  if (lstrcmpiW(name.c_str(), L"AboutBox") == 0 && name.size() == 8) {
    *found = true;
    return kDispidAboutBox;
  }
  for (const PropertyDef& def : Properties()) {
    if (name.size() == wcslen(def.name) && lstrcmpiW(name.c_str(), def.name) == 0) {
      *found = true;
      return def.id;
    }
  }
  return 0;
}

}  // namespace

void DispatchFuzzer::GetIdsOfNames(IDispatch* control) {
  ++stats_.getIdsOfNames;
  std::vector<std::wstring> texts;
  bool null_first = false;
  const uint32_t kind = rng_.Below(20);
  if (kind < 10) {
    const DISPID member =
        rng_.OneIn(15) ? kDispidAboutBox : static_cast<DISPID>(1 + rng_.Below(kPropertyCount));
    texts.push_back(Mangled(rng_, MemberName(member)));
  } else if (kind < 13) {
    std::wstring close = MemberName(static_cast<DISPID>(1 + rng_.Below(kPropertyCount)));
    static const wchar_t* const kAffixes[] = {L" ", L"x", L"_", L"1", L"\x00e9"};
    if (rng_.OneIn(2)) {
      close += rng_.Pick(kAffixes);
    } else if (close.size() > 1) {
      close.pop_back();
    }
    texts.push_back(close);
  } else if (kind < 14) {
    texts.emplace_back();
  } else if (kind < 15) {
    null_first = true;
    texts.emplace_back();
  } else if (kind < 16) {
    texts.push_back(std::wstring(65536, L'n'));
  } else {
    static const wchar_t* const kOthers[] = {L"Value", L"_NewEnum", L"length", L"toString",
                                             L"constructor", L"Item", L"\x4E2D\x6587",
                                             L"strIpAddr.", L"About Box", L"DISPID_VALUE"};
    texts.push_back(rng_.Pick(kOthers));
  }
  const uint32_t extra_roll = rng_.Below(100);
  UINT count = 1;
  if (extra_roll < 5) {
    count = 0;
  } else if (extra_roll < 25) {
    count = 2 + rng_.Below(3);
    static const wchar_t* const kParams[] = {L"value", L"newValue", L"index", L"x", L""};
    while (texts.size() < count) texts.push_back(rng_.Pick(kParams));
  }
  std::vector<LPOLESTR> names;
  for (std::wstring& t : texts) names.push_back(t.data());
  if (null_first) names[0] = nullptr;
  // Room beyond `count`, to see whether the control writes past what it was given.
  constexpr DISPID kUnset = 0x5A5A5A5A;
  std::vector<DISPID> ids(names.size() + 2, kUnset);
  const IID iid = rng_.OneIn(20) ? kNobodysIid : IID_NULL;
  const bool null_names = rng_.OneIn(50);
  const bool null_ids = rng_.OneIn(50);

  char head[160];
  std::snprintf(head, sizeof(head), "GetIDsOfNames #%llu: %u name(s)%s%s%s, first %zu chars%s",
                static_cast<unsigned long long>(stats_.getIdsOfNames), count,
                null_names ? ", rgszNames null" : "", null_ids ? ", rgDispId null" : "",
                IsEqualIID(iid, IID_NULL) ? "" : ", iid not NULL", texts[0].size(),
                null_first ? " (null)" : "");
  SetCurrentCall(head);
  const HRESULT hr = control->GetIDsOfNames(iid, null_names ? nullptr : names.data(), count,
                                            rng_.Pick(kLcids), null_ids ? nullptr : ids.data());
  if (!AcceptableHr(hr, Surface::kDispatch)) Fault("GetIDsOfNames answered %s", HrText(hr).c_str());
  for (size_t k = count; k < ids.size(); ++k) {
    if (ids[k] != kUnset) Fault("GetIDsOfNames wrote rgDispId[%zu] beyond its %u names", k, count);
  }
  if (count == 0) return;
  if (null_names || null_ids) {
    if (SUCCEEDED(hr)) Fault("GetIDsOfNames with a null array answered %s", HrText(hr).c_str());
    return;
  }
  if (!IsEqualIID(iid, IID_NULL)) {
    if (hr != DISP_E_UNKNOWNINTERFACE) {
      Fault("GetIDsOfNames with riid not IID_NULL answered %s", HrText(hr).c_str());
    }
    return;
  }
  bool found = false;
  const DISPID expected = null_first ? 0 : MemberOfName(texts[0], &found);
  if (found) {
    if (ids[0] != expected) Fault("GetIDsOfNames gave %ld for a member of DISPID %ld",
                                  static_cast<long>(ids[0]), static_cast<long>(expected));
    // No member of the control has named parameters.
    if (count == 1 && hr != S_OK) Fault("GetIDsOfNames of a member answered %s", HrText(hr).c_str());
    if (count > 1 && hr != DISP_E_UNKNOWNNAME) {
      Fault("GetIDsOfNames of unknown parameter names answered %s", HrText(hr).c_str());
    }
  } else {
    if (hr != DISP_E_UNKNOWNNAME) {
      Fault("GetIDsOfNames of an unknown name answered %s", HrText(hr).c_str());
    }
    if (ids[0] != DISPID_UNKNOWN) {
      Fault("GetIDsOfNames gave %ld for an unknown name", static_cast<long>(ids[0]));
    }
  }
  for (UINT k = 1; k < count; ++k) {
    if (ids[k] != DISPID_UNKNOWN) {
      Fault("GetIDsOfNames gave %ld for parameter name %u", static_cast<long>(ids[k]), k);
    }
  }
}

void DispatchFuzzer::GetTypeInfo(IDispatch* control) {
  ++stats_.typeInfo;
  static const UINT kIndices[] = {0, 0, 0, 1, 2, 0xFFFFFFFFu, 0x80000000u, 12345};
  const UINT index = rng_.Pick(kIndices);
  const bool null_out = rng_.OneIn(10);
  char head[120];
  std::snprintf(head, sizeof(head), "GetTypeInfo #%llu: index %u%s",
                static_cast<unsigned long long>(stats_.typeInfo), index,
                null_out ? ", ppTInfo null" : "");
  SetCurrentCall(head);

  UINT count = 7;
  HRESULT hr = control->GetTypeInfoCount(&count);
  if (hr != S_OK || count > 1) {
    Fault("GetTypeInfoCount answered %s with %u", HrText(hr).c_str(), count);
  }
  if (rng_.OneIn(10)) {
    hr = control->GetTypeInfoCount(nullptr);
    if (!AcceptableHr(hr, Surface::kDispatch) || SUCCEEDED(hr)) {
      Fault("GetTypeInfoCount(NULL) answered %s", HrText(hr).c_str());
    }
  }
  ITypeInfo* const unset = reinterpret_cast<ITypeInfo*>(static_cast<uintptr_t>(0x10));
  ITypeInfo* raw = unset;
  hr = control->GetTypeInfo(index, rng_.Pick(kLcids), null_out ? nullptr : &raw);
  if (SUCCEEDED(hr) && raw == unset) {
    Fault("GetTypeInfo answered %s without setting *ppTInfo", HrText(hr).c_str());
    raw = nullptr;
  }
  hostkit::ComRef<ITypeInfo> info(SUCCEEDED(hr) && !null_out ? raw : nullptr);
  if (!AcceptableHr(hr, Surface::kDispatch)) Fault("GetTypeInfo answered %s", HrText(hr).c_str());
  if (null_out) {
    if (SUCCEEDED(hr)) Fault("GetTypeInfo with ppTInfo null answered %s", HrText(hr).c_str());
    return;
  }
  if (FAILED(hr) && raw != nullptr) Fault("a failed GetTypeInfo left *ppTInfo not null");
  if (index != 0) {
    if (hr != DISP_E_BADINDEX) Fault("GetTypeInfo(%u) answered %s", index, HrText(hr).c_str());
    return;
  }
  if (count == 1) {
    if (hr != S_OK || !info) {
      Fault("GetTypeInfo(0) answered %s although there is type information", HrText(hr).c_str());
      return;
    }
    TYPEATTR* attr = nullptr;
    if (SUCCEEDED(info->GetTypeAttr(&attr)) && attr) {
      if (attr->typekind != TKIND_DISPATCH) {
        Fault("GetTypeInfo(0) describes type kind %d, not a dispinterface", attr->typekind);
      }
      info->ReleaseTypeAttr(attr);
    }
  }
}

}  // namespace hostile
