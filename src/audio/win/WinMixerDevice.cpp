#include "audio/win/WinMixerDevice.h"

#include <new>
#include <vector>

namespace pel::win {

namespace {

// A line may report any channel count; the details are exchanged for this many at most.
constexpr uint32_t kMostChannels = 64;
// Put in the first value before a read; no volume reaches it.
constexpr DWORD kUnread = 0xFFFFFFFF;

MIXERCONTROLDETAILS Details(uint32_t controlId, uint32_t channels,
                            std::vector<MIXERCONTROLDETAILS_UNSIGNED>& values) {
  MIXERCONTROLDETAILS details{};
  details.cbStruct = sizeof details;
  details.dwControlID = controlId;
  details.cChannels = channels;
  details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
  details.paDetails = values.data();
  return details;
}

}  // namespace

int WinMixerDevice::Open(unsigned id, std::unique_ptr<IMixerDevice>& mixer) {
  HMIXER handle = nullptr;
  const MMRESULT result = mixerOpen(&handle, id, 0, 0, MIXER_OBJECTF_MIXER);
  if (result != MMSYSERR_NOERROR) return static_cast<int>(result);
  mixer.reset(new (std::nothrow) WinMixerDevice(handle));
  if (mixer) return MMSYSERR_NOERROR;
  mixerClose(handle);
  return MMSYSERR_NOMEM;
}

WinMixerDevice::~WinMixerDevice() { mixerClose(mixer_); }

int WinMixerDevice::GetLine(MIXERLINEA& line, DWORD how, MixerLine& out) {
  line.cbStruct = sizeof line;
  const MMRESULT result = mixerGetLineInfoA(Object(), &line, MIXER_OBJECTF_HMIXER | how);
  if (result != MMSYSERR_NOERROR) return static_cast<int>(result);
  out.destination = line.dwDestination;
  out.source = line.dwSource;
  out.lineId = line.dwLineID;
  out.componentType = line.dwComponentType;
  out.channels = line.cChannels;
  out.connections = line.cConnections;
  return MMSYSERR_NOERROR;
}

int WinMixerDevice::GetLineByComponentType(uint32_t componentType, MixerLine& line) {
  MIXERLINEA query{};
  query.dwComponentType = componentType;
  return GetLine(query, MIXER_GETLINEINFOF_COMPONENTTYPE, line);
}

int WinMixerDevice::GetLineBySource(uint32_t destination, uint32_t source, MixerLine& line) {
  MIXERLINEA query{};
  query.dwDestination = destination;
  query.dwSource = source;
  return GetLine(query, MIXER_GETLINEINFOF_SOURCE, line);
}

int WinMixerDevice::GetControlByType(uint32_t lineId, uint32_t controlType,
                                     uint32_t& controlId) {
  MIXERCONTROLA control{};
  control.cbStruct = sizeof control;
  MIXERLINECONTROLSA query{};
  query.cbStruct = sizeof query;
  query.dwLineID = lineId;
  query.dwControlType = controlType;
  query.cControls = 1;
  query.cbmxctrl = sizeof control;
  query.pamxctrl = &control;
  const MMRESULT result = mixerGetLineControlsA(
      Object(), &query, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE);
  if (result == MMSYSERR_NOERROR) controlId = control.dwControlID;
  return static_cast<int>(result);
}

int WinMixerDevice::GetUnsignedValues(uint32_t controlId, uint32_t channels,
                                      uint32_t* values) {
  if (channels == 0 || channels > kMostChannels || values == nullptr) return MMSYSERR_INVALPARAM;
  std::vector<MIXERCONTROLDETAILS_UNSIGNED> read(channels);
  MMRESULT result = Read(controlId, kUnread, read);
  // Wine answers success for the controls of source lines without writing a value: a first
  // value still holding one mark, and on a second read another, was never read.
  if (result == MMSYSERR_NOERROR && read[0].dwValue == kUnread) {
    result = Read(controlId, 0, read);
    if (result == MMSYSERR_NOERROR && read[0].dwValue == 0) result = MMSYSERR_NOTSUPPORTED;
  }
  if (result != MMSYSERR_NOERROR) return static_cast<int>(result);
  for (uint32_t i = 0; i < channels; ++i) values[i] = read[i].dwValue;
  return MMSYSERR_NOERROR;
}

MMRESULT WinMixerDevice::Read(uint32_t controlId, DWORD mark,
                               std::vector<MIXERCONTROLDETAILS_UNSIGNED>& values) {
  values[0].dwValue = mark;
  MIXERCONTROLDETAILS details =
      Details(controlId, static_cast<uint32_t>(values.size()), values);
  return mixerGetControlDetailsA(Object(), &details,
                                 MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
}

int WinMixerDevice::SetUnsignedValues(uint32_t controlId, uint32_t channels,
                                      const uint32_t* values) {
  if (channels == 0 || channels > kMostChannels || values == nullptr) return MMSYSERR_INVALPARAM;
  std::vector<MIXERCONTROLDETAILS_UNSIGNED> written(channels);
  for (uint32_t i = 0; i < channels; ++i) written[i].dwValue = values[i];
  MIXERCONTROLDETAILS details = Details(controlId, channels, written);
  return static_cast<int>(mixerSetControlDetails(
      Object(), &details, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE));
}

}  // namespace pel::win
