#include "ValueMaker.h"

#include <climits>
#include <cmath>
#include <limits>
#include <string>

namespace hostile {

namespace {

const VARTYPE kScalarTypes[] = {VT_EMPTY, VT_NULL, VT_I1,   VT_UI1,  VT_I2,      VT_UI2,
                                VT_I4,    VT_UI4,  VT_I8,   VT_UI8,  VT_INT,     VT_UINT,
                                VT_R4,    VT_R8,   VT_CY,   VT_DATE, VT_BSTR,    VT_BOOL,
                                VT_ERROR, VT_DECIMAL, VT_UNKNOWN, VT_DISPATCH};
const VARTYPE kArrayElements[] = {VT_UI1, VT_I2, VT_I4, VT_R8, VT_BOOL, VT_BSTR, VT_VARIANT,
                                  VT_DISPATCH, VT_UNKNOWN, VT_DECIMAL, VT_CY};
// Types that oleaut32 refuses to hold or convert; sent with a zero payload.
const VARTYPE kInvalidTypes[] = {15,      VT_VOID,   VT_HRESULT, VT_PTR,  VT_SAFEARRAY,
                                 VT_CARRAY, VT_USERDEFINED, VT_LPSTR, VT_LPWSTR, 32,
                                 VT_FILETIME, VT_BLOB, VT_STREAM, VT_CLSID, 0x0FFF,
                                 VT_VECTOR | VT_I4, VT_RESERVED | VT_I4, VT_ARRAY | VT_EMPTY,
                                 VT_ARRAY | VT_NULL};
const int32_t kEdgeInts[] = {0, 1, -1, 2, 80, 443, 8080, 65535, 65536, 32767, -32768,
                             INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1, 0x7EC00};
const wchar_t* const kNumberTexts[] = {
    L"0",    L"80",   L"8080", L"-1",  L"2147483647", L"2147483648", L"-2147483649",
    L"0x50", L"&H50", L" 12 ", L"1.5", L"1,5",        L"1e3",        L"1e400",
    L"TRUE", L"False", L"#TRUE#", L"yes", L"-0",       L"+7",         L"12abc",
    L"127.0.0.1", L"user:pw@10.0.0.1:81", L"http://127.0.0.1:8080/", L"\x0660\x0661",
    L"NaN",  L"Infinity", L"  ", L"1/2/2003", L"$12.50"};

}  // namespace

double ValueMaker::Real() {
  static const double kEdges[] = {0.0,
                                  -0.0,
                                  1.5,
                                  -1.5,
                                  80.0,
                                  0.5,
                                  2.5,
                                  2147483647.0,
                                  2147483647.5,
                                  2147483648.0,
                                  -2147483648.5,
                                  -2147483649.0,
                                  1e300,
                                  -1e300,
                                  5e-324,
                                  std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity()};
  if (rng_.Percent(60)) return rng_.Pick(kEdges);
  return static_cast<double>(static_cast<int64_t>(rng_.Next())) / (1 + rng_.Below(1000000));
}

DECIMAL ValueMaker::Decimal() {
  DECIMAL d = {};
  d.Hi32 = rng_.OneIn(3) ? rng_.Next32() : 0;
  d.Lo64 = rng_.Next();
  if (malformed_ && rng_.OneIn(10)) {
    d.scale = static_cast<BYTE>(29 + rng_.Below(227));
    d.sign = static_cast<BYTE>(rng_.Next32());
  } else {
    d.scale = static_cast<BYTE>(rng_.Below(29));
    d.sign = rng_.OneIn(2) ? DECIMAL_NEG : 0;
  }
  return d;
}

BSTR ValueMaker::Text() {
  switch (rng_.Below(20)) {
    case 0:
      return nullptr;
    case 1:
      return SysAllocString(L"");
    case 2:
    case 3:
    case 4:
    case 5:
      return SysAllocString(rng_.Pick(kNumberTexts));
    case 6: {
      // Characters outside the ANSI code page, a lone surrogate, U+FFFF.
      static const wchar_t kOdd[] = {0x4E2D, 0x00E9, 0x20AC, 0xD800, 0xDFFF, 0xFFFF,
                                     0x0000, 0x0001, 0x007F, 0xFEFF};
      std::wstring text;
      for (uint32_t k = 1 + rng_.Below(12); k > 0; --k) text += rng_.Pick(kOdd);
      return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    case 7: {
      // Long: around 64 Ki characters, and rarely 1 Mi.
      static const UINT kSizes[] = {65535, 65536, 65537};
      UINT size = rng_.OneIn(40) ? 1024 * 1024 : kSizes[rng_.Below(3)];
      if (size > longestText_) size = longestText_;
      BSTR text = SysAllocStringLen(nullptr, size);
      if (text) {
        const wchar_t fill = static_cast<wchar_t>(L'A' + rng_.Below(26));
        for (UINT k = 0; k < size; ++k) text[k] = fill;
      }
      return text;
    }
    default: {
      std::wstring text;
      for (uint32_t k = rng_.Below(40); k > 0; --k) {
        text += static_cast<wchar_t>(0x20 + rng_.Below(0x5F));
      }
      return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
  }
}

VARTYPE ValueMaker::RandomValueType() {
  const uint32_t roll = rng_.Below(100);
  if (roll < 20) return VT_BSTR;
  if (roll < 35) return VT_I4;
  if (roll < 45) return VT_BOOL;
  if (roll < 55) return static_cast<VARTYPE>(VT_ARRAY | rng_.Pick(kArrayElements));
  if (roll < 59) return rng_.Pick(kInvalidTypes);
  return rng_.Pick(kScalarTypes);
}

void ValueMaker::Fill(VARIANT* out, VARTYPE vt) {
  VariantInit(out);
  if (vt & VT_ARRAY) {
    const VARTYPE element = vt & VT_TYPEMASK;
    if (element == VT_EMPTY || element == VT_NULL) {
      V_VT(out) = vt;  // no such array: a null pointer with a type oleaut32 refuses
      V_ARRAY(out) = nullptr;
      return;
    }
    FillArray(out, element);
    return;
  }
  switch (vt) {
    case VT_EMPTY:
    case VT_NULL:
      break;
    case VT_I1:
      V_I1(out) = static_cast<CHAR>(rng_.Next32());
      break;
    case VT_UI1:
      V_UI1(out) = static_cast<BYTE>(rng_.Next32());
      break;
    case VT_I2:
      V_I2(out) = static_cast<SHORT>(rng_.OneIn(2) ? rng_.Pick(kEdgeInts) : rng_.Next32());
      break;
    case VT_UI2:
      V_UI2(out) = static_cast<USHORT>(rng_.Next32());
      break;
    case VT_I4:
    case VT_INT:
      V_I4(out) = rng_.Percent(60) ? rng_.Pick(kEdgeInts) : static_cast<int32_t>(rng_.Next32());
      break;
    case VT_UI4:
    case VT_UINT:
      V_UI4(out) = rng_.OneIn(2) ? static_cast<ULONG>(rng_.Pick(kEdgeInts)) : rng_.Next32();
      break;
    case VT_I8:
      V_I8(out) = rng_.OneIn(3) ? rng_.Pick(kEdgeInts) : static_cast<LONGLONG>(rng_.Next());
      break;
    case VT_UI8:
      V_UI8(out) = rng_.Next();
      break;
    case VT_R4:
      V_R4(out) = static_cast<float>(Real());
      break;
    case VT_R8:
    case VT_DATE:
      V_R8(out) = Real();
      break;
    case VT_CY:
      V_CY(out).int64 = rng_.OneIn(3) ? static_cast<LONGLONG>(rng_.Pick(kEdgeInts)) * 10000
                                       : static_cast<LONGLONG>(rng_.Next());
      break;
    case VT_BSTR:
      V_BSTR(out) = Text();
      break;
    case VT_BOOL: {
      static const VARIANT_BOOL kBools[] = {VARIANT_TRUE, VARIANT_FALSE, 1, 0x1234};
      V_BOOL(out) = rng_.Pick(kBools);
      break;
    }
    case VT_ERROR:
      V_ERROR(out) = rng_.OneIn(2) ? DISP_E_PARAMNOTFOUND : static_cast<SCODE>(rng_.Next32());
      break;
    case VT_DECIMAL:
      V_DECIMAL(out) = Decimal();
      break;  // the type is written below: DECIMAL's first field overlays it
    case VT_UNKNOWN:
    case VT_DISPATCH:
      if (rng_.OneIn(4)) {
        V_DISPATCH(out) = nullptr;
      } else {
        IDispatch* probe = probes_.Pick(rng_.Next32());
        probe->AddRef();
        V_DISPATCH(out) = probe;
      }
      break;
    default:
      V_I8(out) = 0;  // a type no VARIANT may hold: nothing behind it
      break;
  }
  V_VT(out) = vt;
}

void ValueMaker::FillArray(VARIANT* out, VARTYPE element) {
  V_VT(out) = static_cast<VARTYPE>(VT_ARRAY | element);
  const uint32_t shape = rng_.Below(20);
  if (shape == 0) {
    V_ARRAY(out) = nullptr;
    return;
  }
  SAFEARRAYBOUND bounds[3];
  UINT dims = 1;
  if (shape < 4) {
    bounds[0] = {0, rng_.Between(-3, 3)};  // no elements
  } else {
    dims = shape < 14 ? 1 : (shape < 18 ? 2 : 3);
    for (UINT d = 0; d < dims; ++d) {
      bounds[d] = {1 + rng_.Below(dims == 1 ? 16 : 4), rng_.Between(-3, 3)};
    }
  }
  SAFEARRAY* array = SafeArrayCreate(element, dims, bounds);
  V_ARRAY(out) = array;
  if (!array) {
    V_VT(out) = VT_EMPTY;
    return;
  }
  size_t count = 1;
  for (UINT d = 0; d < dims; ++d) count *= bounds[d].cElements;
  if (count == 0) return;
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(array, &data))) return;
  for (size_t k = 0; k < count; ++k) {
    switch (element) {
      case VT_UI1:
        static_cast<BYTE*>(data)[k] = static_cast<BYTE>(rng_.Next32());
        break;
      case VT_I2:
        static_cast<SHORT*>(data)[k] = static_cast<SHORT>(rng_.Next32());
        break;
      case VT_I4:
        static_cast<LONG*>(data)[k] = rng_.Pick(kEdgeInts);
        break;
      case VT_R8:
        static_cast<double*>(data)[k] = Real();
        break;
      case VT_BOOL:
        static_cast<VARIANT_BOOL*>(data)[k] = rng_.OneIn(2) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
      case VT_BSTR: {
        BSTR text = Text();
        // No huge texts inside arrays: one per value is enough.
        if (text && SysStringLen(text) > 4096) {
          SysFreeString(text);
          text = SysAllocString(L"element");
        }
        static_cast<BSTR*>(data)[k] = text;
        break;
      }
      case VT_VARIANT: {
        VARIANT* item = static_cast<VARIANT*>(data) + k;
        VARTYPE vt = rng_.Pick(kScalarTypes);
        Fill(item, vt);
        if (vt == VT_BSTR && V_BSTR(item) && SysStringLen(V_BSTR(item)) > 4096) {
          VariantClear(item);
          V_VT(item) = VT_I4;
          V_I4(item) = 7;
        }
        break;
      }
      case VT_DISPATCH:
      case VT_UNKNOWN: {
        IDispatch* probe = rng_.OneIn(3) ? nullptr : probes_.Pick(rng_.Next32());
        if (probe) probe->AddRef();
        static_cast<IDispatch**>(data)[k] = probe;
        break;
      }
      case VT_DECIMAL:
        static_cast<DECIMAL*>(data)[k] = Decimal();
        break;
      case VT_CY:
        static_cast<CY*>(data)[k].int64 = static_cast<LONGLONG>(rng_.Next());
        break;
      default:
        break;
    }
  }
  SafeArrayUnaccessData(array);
}

void ValueMaker::AddArg(ArgSet& args) {
  VARIANT* arg = args.AddArg();
  if (!rng_.Percent(25)) {
    Fill(arg, RandomValueType());
    return;
  }
  // By reference, to storage the driver owns. VT_VARIANT | VT_BYREF points at a whole
  // VARIANT of any by-value type.
  if (rng_.OneIn(4)) {
    VARIANT* target = args.AddTarget();
    Fill(target, RandomValueType());
    V_VT(arg) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(arg) = target;
    return;
  }
  VARTYPE vt = rng_.OneIn(8) ? static_cast<VARTYPE>(VT_ARRAY | rng_.Pick(kArrayElements))
                             : rng_.Pick(kScalarTypes);
  if (vt == VT_EMPTY || vt == VT_NULL) vt = VT_I4;  // no by-reference form
  VARIANT* target = args.AddTarget();
  Fill(target, vt);
  if (V_VT(target) != vt) {  // an array that could not be made
    V_VT(arg) = VT_EMPTY;
    return;
  }
  V_VT(arg) = static_cast<VARTYPE>(vt | VT_BYREF);
  // A DECIMAL fills the whole VARIANT; every other payload sits in the union.
  if (vt == VT_DECIMAL) {
    V_DECIMALREF(arg) = &V_DECIMAL(target);
  } else {
    V_BYREF(arg) = &V_UI1(target);
  }
}

}  // namespace hostile
