#include "MediaResult.h"

const char* DescribeResult(HRESULT result) {
  switch (result) {
    case S_OK: return "success";
    case S_FALSE: return "success, with nothing to report";
    case VFW_S_AUDIO_NOT_RENDERED: return "the audio could not be rendered";
    case VFW_S_VIDEO_NOT_RENDERED: return "the video could not be rendered";
    case VFW_S_PARTIAL_RENDER: return "some streams could not be rendered";
    case E_FAIL: return "unspecified failure";
    case E_POINTER: return "missing pointer";
    case E_INVALIDARG: return "invalid argument";
    case E_ABORT: return "timed out";
    case MG_E_CANNOT_OPEN_FILE: return "the file cannot be opened as media";
    case MG_E_NO_STREAM: return "no such stream";
    case MG_E_CANNOT_CONNECT: return "no stream of the source can be connected to the renderer";
    case MG_E_ALREADY_CONNECTED: return "the renderer is already connected";
    case MG_E_NOT_IN_GRAPH: return "the filter is not in this graph";
    case MG_E_WRONG_STATE: return "the operation does not fit the current state";
    case MG_E_SAMPLE_REJECTED_EOS: return "sample rejected after the end of the stream";
    case MG_E_CANNOT_RENDER: return "no stream of the file can be rendered";
    case MG_E_NO_TIME: return "the sample carries no time";
    case MG_E_BUFFER_TOO_SMALL: return "the sample buffer is too small";
    default: return Succeeded(result) ? "success" : "failure";
  }
}
