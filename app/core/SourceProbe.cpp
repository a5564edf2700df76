#include "SourceProbe.h"

#include "keFactory.h"
#include "keMediaInfo.h"

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
  info->CloseMediaDet();
  delete info;
  return probe;
}
