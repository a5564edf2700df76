// Result codes of the media-graph layer. Zero and positive values are
// successes (S_FALSE and the VFW_S_ codes carry a qualified yes); negative
// values are failures.
#pragma once

#include <cstdint>

using HRESULT = int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;

/// RenderFile rendered every stream but the audio ones.
constexpr HRESULT VFW_S_AUDIO_NOT_RENDERED = 0x00040258;
/// RenderFile rendered every stream but the video ones.
constexpr HRESULT VFW_S_VIDEO_NOT_RENDERED = 0x00040257;
/// RenderFile rendered some streams, and neither of the two cases above holds.
constexpr HRESULT VFW_S_PARTIAL_RENDER = 0x00040242;

constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
/// A wait ran out of time.
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);
/// A buffer could not be had: the run fails for want of memory.
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);

// Failures of our own.
constexpr HRESULT MG_E_CANNOT_OPEN_FILE = static_cast<HRESULT>(0x80041001u);
constexpr HRESULT MG_E_NO_STREAM = static_cast<HRESULT>(0x80041002u);
constexpr HRESULT MG_E_CANNOT_CONNECT = static_cast<HRESULT>(0x80041003u);
constexpr HRESULT MG_E_ALREADY_CONNECTED = static_cast<HRESULT>(0x80041004u);
constexpr HRESULT MG_E_NOT_IN_GRAPH = static_cast<HRESULT>(0x80041005u);
constexpr HRESULT MG_E_WRONG_STATE = static_cast<HRESULT>(0x80041006u);
constexpr HRESULT MG_E_SAMPLE_REJECTED_EOS = static_cast<HRESULT>(0x80041007u);
constexpr HRESULT MG_E_CANNOT_RENDER = static_cast<HRESULT>(0x80041008u);
constexpr HRESULT MG_E_NO_TIME = static_cast<HRESULT>(0x80041009u);
constexpr HRESULT MG_E_BUFFER_TOO_SMALL = static_cast<HRESULT>(0x8004100Au);

/// The event code WaitForCompletion reports when every renderer has finished.
constexpr int32_t EC_COMPLETE = 1;

inline bool Succeeded(HRESULT result) { return result >= 0; }
inline bool Failed(HRESULT result) { return result < 0; }

/// A short English text for a result code, for failure reasons shown to people.
const char* DescribeResult(HRESULT result);
