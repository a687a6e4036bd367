#include "audio/codec/G726State.h"

#include <algorithm>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pel::g726 {

namespace {

// Number of significant bits: 0 for 0, 1 for 1, 15 for 16384..32767.
inline int BitLength(unsigned value) { return value == 0 ? 0 : 32 - __builtin_clz(value); }

// The standard's 16-bit modular arithmetic.
inline int Wrap16(int value) { return ((value + 32768) & 0xFFFF) - 32768; }

inline int Saturate16(int value) { return std::clamp(value, -32768, 32767); }

// FLOATA / FLOATB: sign, 4-bit exponent and 6-bit mantissa (the leading one kept) of a
// 15-bit magnitude, packed as sign << 10 | exponent << 6 | mantissa.
inline int ToFloat(int sign, int magnitude) {
  const int exponent = BitLength(static_cast<unsigned>(magnitude));
  // A normalised mantissa has bit 5 set already; a zero magnitude gets 32 (one, exponent 0).
  const int mantissa = ((magnitude << 6) >> exponent) | 32;
  return (sign << 10) + (exponent << 6) + mantissa;
}

#if defined(__SSE2__)

// FMULT on four lanes at once. SSE2 has neither a bit count nor per-lane shifts, so both
// go through single precision, where every value here is exact: the float of AnMAG holds
// its bit length less one in the exponent and the mantissa's next five bits at the top of
// its fraction, and scaling WANMANT by a power of two then truncating is the shift.
inline __m128i FmultLanes(__m128i an, __m128i srn) {
  const __m128i quarter = _mm_srai_epi32(an, 2);
  const __m128i ans = _mm_srai_epi32(quarter, 31);
  const __m128i anmag =
      _mm_and_si128(_mm_sub_epi32(_mm_xor_si128(quarter, ans), ans), _mm_set1_epi32(8191));
  const __m128i bits = _mm_castps_si128(_mm_cvtepi32_ps(anmag));
  const __m128i isZero = _mm_cmpeq_epi32(anmag, _mm_setzero_si128());
  const __m128i anexp =
      _mm_andnot_si128(isZero, _mm_sub_epi32(_mm_srli_epi32(bits, 23), _mm_set1_epi32(126)));
  const __m128i anmant =
      _mm_or_si128(_mm_and_si128(_mm_srli_epi32(bits, 18), _mm_set1_epi32(31)), _mm_set1_epi32(32));
  const __m128i wanexp =
      _mm_add_epi32(_mm_and_si128(_mm_srli_epi32(srn, 6), _mm_set1_epi32(15)), anexp);
  // Both mantissas fit in 6 bits, so a 16-bit multiply gives the whole product.
  const __m128i product = _mm_mullo_epi16(_mm_and_si128(srn, _mm_set1_epi32(63)), anmant);
  const __m128i wanmant = _mm_srli_epi32(_mm_add_epi32(product, _mm_set1_epi32(48)), 4);
  const __m128 scale =
      _mm_castsi128_ps(_mm_slli_epi32(_mm_add_epi32(wanexp, _mm_set1_epi32(127 - 19)), 23));
  const __m128i wanmag = _mm_and_si128(
      _mm_cvttps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(wanmant), scale)), _mm_set1_epi32(32767));
  const __m128i sign = _mm_xor_si128(_mm_srai_epi32(_mm_slli_epi32(srn, 21), 31), ans);
  return _mm_sub_epi32(_mm_xor_si128(wanmag, sign), sign);
}

// FMULT for the six zero taps and the two pole taps, and ACCUM: SEZI and SEI.
inline void Accumulate(const State& s, int& sezi, int& sei) {
  const auto load2 = [](const int* two) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(two));
  };
  const __m128i b0to3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.b));
  const __m128i dq0to3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.dq));
  const __m128i b4b5a = _mm_unpacklo_epi64(load2(s.b + 4), load2(s.a));
  const __m128i dq4dq5sr = _mm_unpacklo_epi64(load2(s.dq + 4), load2(s.sr));
  alignas(16) int w[8];
  _mm_store_si128(reinterpret_cast<__m128i*>(w), FmultLanes(b0to3, dq0to3));
  _mm_store_si128(reinterpret_cast<__m128i*>(w + 4), FmultLanes(b4b5a, dq4dq5sr));
  sezi = Wrap16(w[0] + w[1] + w[2] + w[3] + w[4] + w[5]);
  sei = Wrap16(sezi + w[6] + w[7]);
}

#else

// FMULT: a predictor coefficient (16 bits, 14 fraction bits) times a floating-format value.
// Written without branches: the coder spends most of its time here.
inline int Fmult(int an, int srn) {
  const int quarter = an >> 2;
  const int ans = quarter >> 31;  // 0 or -1
  const int anmag = ((quarter ^ ans) - ans) & 8191;
  const int anexp = BitLength(static_cast<unsigned>(anmag));
  const int anmant = ((anmag << 6) >> anexp) | 32;
  const int wanexp = ((srn >> 6) & 15) + anexp;
  const int wanmant = ((srn & 63) * anmant + 48) >> 4;
  // (WANMANT << 7) scaled by 2^(WANEXP - 26), kept to 15 bits; WANEXP is at most 28.
  const int wanmag = ((wanmant << 9) >> (28 - wanexp)) & 32767;
  const int sign = -((srn >> 10) & 1) ^ ans;  // 0 or -1
  return (wanmag ^ sign) - sign;
}

// FMULT for the six zero taps and the two pole taps, and ACCUM: SEZI and SEI.
inline void Accumulate(const State& s, int& sezi, int& sei) {
  int sum = 0;
  for (int i = 0; i < 6; ++i) sum += Fmult(s.b[i], s.dq[i]);
  sezi = Wrap16(sum);
  sei = Wrap16(sezi + Fmult(s.a[0], s.sr[0]) + Fmult(s.a[1], s.sr[1]));
}

#endif

// FMULT and ACCUM for the signal estimate, LIMA and MIX for the scale factor.
__attribute__((always_inline)) inline Prediction PredictImpl(const State& s) {
  int sezi = 0;
  int sei = 0;
  Accumulate(s, sezi, sei);

  const int al = s.ap >= 256 ? 64 : s.ap >> 2;
  const int ylShort = s.yl >> 6;
  const int dif = s.yu - ylShort;
  const int prodm = (std::abs(dif) * al) >> 6;  // sign-magnitude product: truncates to zero
  const int y = ylShort + (dif < 0 ? -prodm : prodm);
  return {sei >> 1, sezi >> 1, y};
}

inline int QuantizeImpl(int d, int y, const Rate& rate) {
  // LOG: DL holds log2|d| with 7 fraction bits.
  const int ds = d < 0;
  const int dqm = ds ? (-d) & 32767 : d;
  const int exponent = BitLength(static_cast<unsigned>(dqm >> 1));
  const int mantissa = ((dqm << 7) >> exponent) & 127;
  const int dl = (exponent << 7) + mantissa;
  // SUBTB, QUAN
  const int dln = dl - (y >> 2);
  int magnitude = 0;
  for (int i = 0; i < rate.decisionCount; ++i) magnitude += dln >= rate.decisions[i];
  // Negative differences take the ones' complement; a zero magnitude is sent as the
  // largest code whatever its sign.
  const int zero = (1 << rate.codeBits) - 1;
  const int positive = magnitude == 0 ? zero : magnitude;
  return ds ? zero - magnitude : positive;
}

#if defined(__SSE2__)

// UPB for the six zero coefficients, as four lanes and two.
inline void UpdateZeros(State& s, int dqs, int dqmag, int leakShift) {
  const __m128i shift = _mm_cvtsi32_si128(leakShift);
  const __m128i gain = _mm_set1_epi32(dqmag != 0 ? 128 : 0);
  const __m128i ownSign = _mm_set1_epi32(dqs);
  const auto update = [&](__m128i bn, __m128i dqn) {
    const __m128i leaked = _mm_sub_epi32(bn, _mm_sra_epi32(bn, shift));
    const __m128i dqnSign = _mm_and_si128(_mm_srli_epi32(dqn, 10), _mm_set1_epi32(1));
    const __m128i differ = _mm_sub_epi32(_mm_setzero_si128(), _mm_xor_si128(dqnSign, ownSign));
    const __m128i gradient = _mm_sub_epi32(_mm_xor_si128(gain, differ), differ);
    const __m128i sum = _mm_add_epi32(leaked, gradient);
    return _mm_srai_epi32(_mm_slli_epi32(sum, 16), 16);  // 16-bit wrap
  };
  auto* b = reinterpret_cast<__m128i*>(s.b);
  const auto* dq = reinterpret_cast<const __m128i*>(s.dq);
  _mm_storeu_si128(b, update(_mm_loadu_si128(b), _mm_loadu_si128(dq)));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(s.b + 4),
                   update(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(s.b + 4)),
                          _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s.dq + 4))));
}

#else

inline void UpdateZeros(State& s, int dqs, int dqmag, int leakShift) {
  for (int i = 0; i < 6; ++i) {
    int bp = s.b[i] - (s.b[i] >> leakShift);
    if (dqmag != 0) bp += (dqs ^ (s.dq[i] >> 10)) ? -128 : 128;
    s.b[i] = Wrap16(bp);
  }
}

#endif

// Adaptive predictor: UPA2, LIMC, UPA1, LIMD, UPB (TRIGB is the caller's). Answers A2P for
// tone detection.
inline int AdaptPredictor(State& s, int pk0, bool sigpk, int dqs, int dqmag, const Rate& rate) {
  const int pks1 = pk0 ^ s.pk[0];
  const int pks2 = pk0 ^ s.pk[1];

  int a2t = s.a[1] - (s.a[1] >> 7);
  int a1t = s.a[0] - (s.a[0] >> 8);
  if (!sigpk) {
    const int fa1 = std::clamp(s.a[0], -8191, 8191) * 4;
    const int fa = pks1 ? fa1 : -fa1;
    a2t += ((pks2 ? -16384 : 16384) + fa) >> 7;
    a1t += pks1 ? -192 : 192;
  }
  const int a2p = std::clamp(a2t, -12288, 12288);
  const int a1ul = 15360 - a2p;
  s.a[0] = std::clamp(a1t, -a1ul, a1ul);
  s.a[1] = a2p;

  UpdateZeros(s, dqs, dqmag, rate.zeroLeakShift);
  return a2p;
}

__attribute__((always_inline)) inline int UpdateImpl(State& s, const Prediction& p, int code,
                                                     const Rate& rate) {
  const int y = p.y;

  // RECONST, ADDA, ANTILOG
  const int dqs = code >> (rate.codeBits - 1);
  const int dql = rate.dqln[code] + (y >> 2);
  // A negative DQL (log of zero) gives magnitude 0; the shift is kept in range for it.
  const int dqmag = (((128 + (dql & 127)) << 7) >> ((14 - ((dql >> 7) & 15)) & 15)) & ~(dql >> 31);
  const int dq = dqs ? -dqmag : dqmag;

  // ADDB, ADDC
  const int sr = Wrap16(p.se + dq);
  const int dqsez = Wrap16(p.sez + dq);
  const int pk0 = dqsez < 0;
  const bool sigpk = dqsez == 0;

  // TRANS: a large difference while a tone was detected means data; the predictor restarts.
  const int ylint = s.yl >> 15;
  const int ylfrac = (s.yl >> 10) & 31;
  const int thr2 = ylint > 9 ? 31 << 10 : (32 + ylfrac) << ylint;
  const int dqthr = (thr2 + (thr2 >> 1)) >> 1;
  const bool tr = s.td != 0 && dqmag > dqthr;

  // FUNCTW, FILTD, LIMB, FILTE
  const int yut = y + ((rate.w[code] * 32 - y) >> 5);
  const int yup = std::clamp(yut, 544, 5120);
  const int ylp = s.yl + yup + ((-s.yl) >> 6);

  // Predictor adaptation, TRIGB, TONE
  int tdp = 0;
  if (tr) {
    s.a[0] = s.a[1] = 0;
    for (int& bn : s.b) bn = 0;
  } else {
    tdp = AdaptPredictor(s, pk0, sigpk, dqs, dqmag, rate) < -11776;
  }

  // FLOATA, FLOATB, DELAY
  for (int i = 5; i > 0; --i) s.dq[i] = s.dq[i - 1];
  s.dq[0] = ToFloat(dqs, dqmag);
  s.sr[1] = s.sr[0];
  const int srs = sr >> 31;  // 0 or -1
  s.sr[0] = ToFloat(-srs, ((sr ^ srs) - srs) & 32767);
  s.pk[1] = s.pk[0];
  s.pk[0] = pk0;

  // FUNCTF, FILTA, FILTB, SUBTC, FILTC, TRIGA
  const int fi = rate.f[code];
  const int dmsp = s.dms + ((fi * 512 - s.dms) >> 5);
  const int dmlp = s.dml + ((fi * 2048 - s.dml) >> 7);
  const int ax = (y < 1536) | tdp | (std::abs(dmsp * 4 - dmlp) >= (dmlp >> 3));
  const int app = s.ap + ((ax * 512 - s.ap) >> 4);

  s.ap = tr ? 256 : app;
  s.dms = dmsp;
  s.dml = dmlp;
  s.yu = yup;
  s.yl = ylp;
  s.td = tdp;
  return sr;
}

inline int CodeMask(const Rate& rate) { return (1 << rate.codeBits) - 1; }

__attribute__((always_inline)) inline int EncodeImpl(State& s, int sl, const Rate& rate) {
  const Prediction p = PredictImpl(s);
  const int code = QuantizeImpl(sl - p.se, p.y, rate);  // SUBTA, then the quantiser
  UpdateImpl(s, p, code, rate);
  return code;
}

__attribute__((always_inline)) inline int DecodeImpl(State& s, int code, const Rate& rate) {
  return UpdateImpl(s, PredictImpl(s), code & CodeMask(rate), rate);
}

}  // namespace

Prediction Predict(const State& state) { return PredictImpl(state); }

int Quantize(int d, int y, const Rate& rate) { return QuantizeImpl(d, y, rate); }

int Update(State& state, const Prediction& prediction, int code, const Rate& rate) {
  return UpdateImpl(state, prediction, code & CodeMask(rate), rate);
}

int DecodeSample(State& state, int code, const Rate& rate) { return DecodeImpl(state, code, rate); }

// The block loops work on a local copy of the state: the output bytes could otherwise alias
// it, and every field would go back to memory after each sample.
void EncodeBlock(State& state, const Rate& rate, const int16_t* pcm, size_t count, uint8_t* codes) {
  State s = state;
  for (size_t i = 0; i < count; ++i)
    codes[i] = static_cast<uint8_t>(EncodeImpl(s, pcm[i] >> 2, rate));
  state = s;
}

void DecodeBlock(State& state, const Rate& rate, const uint8_t* codes, size_t count, int16_t* pcm) {
  State s = state;
  for (size_t i = 0; i < count; ++i) {
    // SR can exceed 14 bits on loud input; scaled by 4 it must not wrap.
    pcm[i] = static_cast<int16_t>(Saturate16(DecodeImpl(s, codes[i], rate) * 4));
  }
  state = s;
}

}  // namespace pel::g726
