#include "SourceProbe.h"

#include "keFactory.h"
#include "dshow/keMediaInfo.h"

SourceProbe ProbeSource(keFactory& factory, const std::string& path) {
  keAbstractMediaInfo* info = factory.CreateMediaInfo(path.c_str());
  SourceProbe probe;
  probe.good = info->IsOpened() && info->HasAudio() && !info->IsAudioNotRendered() && info->IsRenderable() &&
               !info->IsVideoNotRendered();
  probe.width = info->GetWidth();
  probe.height = info->GetHeight();
  probe.frameRate = info->GetFrameRate();
  probe.channels = info->GetChannels();
  probe.sampleRate = info->GetSampleRate();
  probe.duration = info->GetDuration();
  const std::string why = info->GetFailureReason();
  probe.unreadable = !why.empty();
  if (!info->IsOpened()) probe.problem = "cannot be opened as a media file" + (why.empty() ? "" : ": " + why);
  else if (!info->IsRenderable() && !why.empty()) probe.problem = "cannot be read: " + why;
  else if (!info->HasAudio()) probe.problem = "has no audio: a source needs video and audio";
  else if (info->IsAudioNotRendered()) probe.problem = "has audio that cannot be decoded";
  else if (!info->IsRenderable() || info->IsVideoNotRendered()) probe.problem = "has video that cannot be decoded";
  else if (probe.width == 0 || probe.height == 0) probe.problem = "has no picture: a source needs video and audio";
  info->CloseMediaDet();
  delete info;
  return probe;
}

std::string UnencodableSourceMessage() {
  return "Unable to find any audio/video codec.\n\n"
         "Perhaps an appropriate audio/video codec is not present in the system.\n\n"
         "Try to download it by visiting the appropriate website.\n";
}
