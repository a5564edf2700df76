#include "keVorbisEncoder.h"

#include <cstdio>

#include <vorbis/vorbisenc.h>

#include "keAudioPassThroughPolicy.h"
#include "keAudioSample.h"

keVorbisEncoder::keVorbisEncoder(keEngineContext* context, const char* suffix)
    : keThreadedEncoder(context, std::string("Vorbis") + (suffix ? suffix : ""), 0, "Vorbis Encoder"),
      log_(keCreateLog("Vorbis")) {}

keVorbisEncoder::~keVorbisEncoder() { StopThread(); }

void keVorbisEncoder::OnFormat(int32_t channels, int32_t sampleRate) {
  if (!policy_) policy_ = std::make_unique<keAudioPassThroughPolicy>();
  policy_->SetChannels(channels);
  policy_->SetSampleRate(sampleRate);
  sourceChannels_ = channels;
  sourceSampleRate_ = sampleRate;
  if (channels_ == 0) channels_ = channels;
  if (sampleRate_ == 0) sampleRate_ = sampleRate;
  resampler_ = std::make_unique<keAudioResampler>(sourceChannels_, sourceSampleRate_, channels_, sampleRate_);
  resampler_->SetGain(gain_);
}

void keVorbisEncoder::OnStart() {
  if (policy_) policy_->Reset();
  BeginStream();
}

void keVorbisEncoder::OnSample(keAudioSample* sample) { QueueSample(sample); }

void keVorbisEncoder::OnEndOfStream() {
  EndStream();
  // Told only once the thread is done with the policy: it is not locked.
  if (policy_) policy_->OnEndOfStream();
}

bool keVorbisEncoder::AcceptsSettings(int32_t channels, int32_t sampleRate, int32_t maxBitrate, int32_t nominalBitrate,
                                      int32_t minBitrate, std::string* reason) {
  vorbis_info info;
  vorbis_info_init(&info);
  const int rc = vorbis_encode_init(&info, channels, sampleRate, maxBitrate, nominalBitrate, minBitrate);
  vorbis_info_clear(&info);
  if (rc == 0) return true;
  if (reason) {
    char text[200];
    std::snprintf(text, sizeof text, "the Vorbis encoder refuses %d channel(s) at %d Hz with %d kbit/s", channels,
                  sampleRate, nominalBitrate / 1000);
    *reason = text;
  }
  return false;
}

bool keVorbisEncoder::SetUpBeforeStreaming() {
  if (channels_ <= 0 || sampleRate_ <= 0) return true;
  if (!vorbis_.StartEncoding(channels_, sampleRate_, maxBitrate_, nominalBitrate_, minBitrate_))
    return !vorbis_.LackedMemory();
  // The header packets too: libvorbis allocates them unchecked as well.
  WriteHeaders();
  return true;
}

void keVorbisEncoder::WriteHeaders() {
  if (headersWritten_) return;
  headersWritten_ = true;
  char value[32];
  std::snprintf(value, sizeof value, "%d", channels_);
  vorbis_comment_add_tag(vorbis_.Comment(), "Channels", value);
  std::snprintf(value, sizeof value, "%d Hz", sampleRate_);
  vorbis_comment_add_tag(vorbis_.Comment(), "Sample Rate", value);
  std::snprintf(value, sizeof value, "%d Kb/s", nominalBitrate_ / 1024);
  vorbis_comment_add_tag(vorbis_.Comment(), "Audio bitrate", value);

  ogg_packet identification, comment, codebooks;
  vorbis_analysis_headerout(vorbis_.Dsp(), vorbis_.Comment(), &identification, &comment, &codebooks);
  wrapper_.HeaderPacketIn(&identification);
  wrapper_.HeaderPacketIn(&comment);
  wrapper_.HeaderPacketIn(&codebooks);
}

bool keVorbisEncoder::Setup() {
  char text[160];
  if (!resampler_ || !resampler_->IsReady()) {
    std::snprintf(text, sizeof text, "The audio cannot be converted from %d channels at %d Hz to %d channels at %d Hz",
                  sourceChannels_, sourceSampleRate_, channels_, sampleRate_);
    Fail(text);
    return false;
  }
  if (!vorbis_.StartEncoding(channels_, sampleRate_, maxBitrate_, nominalBitrate_, minBitrate_) &&
      vorbis_.LackedMemory()) {
    Fail("there is not enough memory to set up the Vorbis encoder");
    return false;
  }
  if (!vorbis_.IsAnalysing()) {
    std::snprintf(text, sizeof text,
                  "The Vorbis encoder refused %d channels at %d Hz with bitrates of %d, %d and "
                  "%d bit/s (maximum, nominal, minimum)",
                  channels_, sampleRate_, maxBitrate_, nominalBitrate_, minBitrate_);
    Fail(text);
    return false;
  }
  WriteHeaders();
  return true;
}

bool keVorbisEncoder::EncodeStep(keAudioSample* sample) {
  policy_->Process(sample);
  int32_t silenceBytes = 0;
  const uint8_t* silence = policy_->GetSilence(&silenceBytes);
  if (silenceBytes > 0) Encode(silence, silenceBytes);
  int32_t dataBytes = 0;
  const uint8_t* data = policy_->GetData(&dataBytes);
  if (dataBytes > 0) Encode(data, dataBytes);
  const bool last = sample->last;
  // The block is in libvorbis's own buffer now (in pass-through it was read
  // straight from the sample above): the source may load the next block
  // while the analysis runs.
  sample->Release();
  PassPackets();
  if (last) Drain();
  return !last;
}

void keVorbisEncoder::Drain() {
  resampler_->Flush();
  WriteResampled();
  vorbis_analysis_wrote(vorbis_.Dsp(), 0);
  PassPackets();
}

void keVorbisEncoder::Encode(const uint8_t* data, int32_t bytes) {
  resampler_->Resample(data, bytes);
  WriteResampled();
}

void keVorbisEncoder::WriteResampled() {
  const int32_t samples = resampler_->GetOutSamples();
  if (samples <= 0) return;
  float** buffer = vorbis_analysis_buffer(vorbis_.Dsp(), samples);
  resampler_->ToFloat(buffer);
  vorbis_analysis_wrote(vorbis_.Dsp(), samples);
}

void keVorbisEncoder::PassPackets() {
  ogg_packet packet;
  while (vorbis_analysis_blockout(vorbis_.Dsp(), vorbis_.Block()) == 1) {
    vorbis_analysis(vorbis_.Block(), nullptr);
    vorbis_bitrate_addblock(vorbis_.Block());
    while (vorbis_bitrate_flushpacket(vorbis_.Dsp(), &packet) == 1) {
      // Half the block size stands for the samples a packet completes: the
      // stream manager's clock and the seek times run on this count. Every
      // Vorbis packet is a seek point.
      const int32_t units = static_cast<int32_t>(vorbis_packet_blocksize(vorbis_.Info(), &packet) / 2);
      PacketOut(&packet, units, true);
    }
  }
}
