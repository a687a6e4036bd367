#include "audio/codec/G726State.h"

#include <algorithm>
#include <cstdlib>

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

// FMULT and ACCUM for the signal estimate, LIMA and MIX for the scale factor.
inline Prediction PredictImpl(const State& s) {
  int sezi = 0;
  for (int i = 0; i < 6; ++i) sezi += Fmult(s.b[i], s.dq[i]);
  sezi = Wrap16(sezi);
  const int sei = Wrap16(sezi + Fmult(s.a[1], s.sr[1]) + Fmult(s.a[0], s.sr[0]));

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
  const int zero = (1 << rate.codeBits) - 1;
  if (ds) return zero - magnitude;
  return magnitude == 0 ? zero : magnitude;
}

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

  for (int i = 0; i < 6; ++i) {
    int bp = s.b[i] - (s.b[i] >> rate.zeroLeakShift);
    if (dqmag != 0) bp += (dqs ^ (s.dq[i] >> 10)) ? -128 : 128;
    s.b[i] = Wrap16(bp);
  }
  return a2p;
}

inline int UpdateImpl(State& s, const Prediction& p, int code, const Rate& rate) {
  const int y = p.y;

  // RECONST, ADDA, ANTILOG
  const int dqs = code >> (rate.codeBits - 1);
  const int dql = rate.dqln[code] + (y >> 2);
  const int dqmag = dql < 0 ? 0 : ((128 + (dql & 127)) << 7) >> (14 - ((dql >> 7) & 15));
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
  s.sr[0] = sr < 0 ? ToFloat(1, (-sr) & 32767) : ToFloat(0, sr);
  s.pk[1] = s.pk[0];
  s.pk[0] = pk0;

  // FUNCTF, FILTA, FILTB, SUBTC, FILTC, TRIGA
  const int fi = rate.f[code];
  const int dmsp = s.dms + ((fi * 512 - s.dms) >> 5);
  const int dmlp = s.dml + ((fi * 2048 - s.dml) >> 7);
  const bool ax = y < 1536 || tdp != 0 || std::abs(dmsp * 4 - dmlp) >= (dmlp >> 3);
  const int app = s.ap + (((ax ? 512 : 0) - s.ap) >> 4);

  s.ap = tr ? 256 : app;
  s.dms = dmsp;
  s.dml = dmlp;
  s.yu = yup;
  s.yl = ylp;
  s.td = tdp;
  return sr;
}

inline int CodeMask(const Rate& rate) { return (1 << rate.codeBits) - 1; }

}  // namespace

Prediction Predict(const State& state) { return PredictImpl(state); }

int Quantize(int d, int y, const Rate& rate) { return QuantizeImpl(d, y, rate); }

int Update(State& state, const Prediction& prediction, int code, const Rate& rate) {
  return UpdateImpl(state, prediction, code & CodeMask(rate), rate);
}

int EncodeSample(State& state, int sl, const Rate& rate) {
  const Prediction p = PredictImpl(state);
  const int code = QuantizeImpl(sl - p.se, p.y, rate);
  UpdateImpl(state, p, code, rate);
  return code;
}

int DecodeSample(State& state, int code, const Rate& rate) {
  return UpdateImpl(state, PredictImpl(state), code & CodeMask(rate), rate);
}

void EncodeBlock(State& state, const Rate& rate, const int16_t* pcm, size_t count,
                 uint8_t* codes) {
  for (size_t i = 0; i < count; ++i) {
    codes[i] = static_cast<uint8_t>(EncodeSample(state, pcm[i] >> 2, rate));
  }
}

void DecodeBlock(State& state, const Rate& rate, const uint8_t* codes, size_t count,
                 int16_t* pcm) {
  for (size_t i = 0; i < count; ++i) {
    // SR can exceed 14 bits on loud input; scaled by 4 it must not wrap.
    pcm[i] = static_cast<int16_t>(Saturate16(DecodeSample(state, codes[i], rate) * 4));
  }
}

}  // namespace pel::g726
