#include "KestrinAvEncoder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string>

#include "keAVSource.h"
#include "keAlloc.h"
#include "ogg/keAudioPassThroughPolicy.h"
#include "ogg/keAudioSilenceFillPolicy.h"
#include "ogg/keFrameRatioPolicy.h"
#include "ogg/keFrameTimestampPolicy.h"
#include "ogg/keStreamManager.h"
#include "ogg/keTheoraEncoder.h"
#include "ogg/keVorbisEncoder.h"

KestrinAvEncoder::KestrinAvEncoder(keEngineContext* context)
    : streamManager_(new keStreamManager()), context_(context), log_(keCreateLog("KestrinAvEncoder")) {}

KestrinAvEncoder::~KestrinAvEncoder() {
  // The stream manager reads the encoders' pages until both streams end, so
  // the streams are ended first (at once for an encoder whose stream never
  // started), then the manager's thread is joined, and only then do the
  // encoders go.
  if (vorbis_) vorbis_->OnEndOfStream();
  if (theora_) theora_->OnEndOfStream();
  delete streamManager_;
  delete vorbis_;
  delete theora_;
  keFree(name_);
  delete log_;
}

void KestrinAvEncoder::ApplyDefaultPolicies() {
  if (!source_) return;
  if (videoPolicyMode_ == -1) SetVideoPolicy(source_->GetVideoPolicyMode());
  if (audioPolicyMode_ == -1) SetAudioPolicy(source_->GetAudioPolicyMode());
}

keVideoListener* KestrinAvEncoder::GetVideoInput() { return theora_; }
keAudioListener* KestrinAvEncoder::GetAudioInput() { return vorbis_; }

void KestrinAvEncoder::CreateVideoEncoder(const char* suffix) {
  if (theora_) return;
  theora_ = new keTheoraEncoder(context_, suffix);
  streamManager_->AddStream(theora_);
}

void KestrinAvEncoder::CreateAudioEncoder(const char* suffix) {
  if (vorbis_) return;
  vorbis_ = new keVorbisEncoder(context_, suffix);
  streamManager_->AddStream(vorbis_);
}

keTheoraEncoderSettings* KestrinAvEncoder::GetVideoEncoder() {
  if (!theora_) std::exit(1);
  return theora_;
}

keVorbisEncoderSettings* KestrinAvEncoder::GetAudioEncoder() {
  if (!vorbis_) std::exit(1);
  return vorbis_;
}

bool KestrinAvEncoder::SetUpBeforeStreaming(std::string* reason) {
  if (!vorbis_ || vorbis_->SetUpBeforeStreaming()) return true;
  if (reason) *reason = "there is not enough memory to set up the Vorbis encoder";
  return false;
}

void KestrinAvEncoder::SetVideoPolicy(int32_t mode) {
  videoPolicyMode_ = mode;
  keVideoSyncPolicy* policy = nullptr;
  if (mode == 0) policy = new keFrameRatioPolicy();
  else if (mode == 1) policy = new keFrameTimestampPolicy();
  if (policy == nullptr) return;
  if (theora_) theora_->SetVideoPolicy(policy);
  else delete policy;
}

void KestrinAvEncoder::SetAudioPolicy(int32_t mode) {
  audioPolicyMode_ = mode;
  keAudioSyncPolicy* policy = nullptr;
  if (mode == 0) policy = new keAudioPassThroughPolicy();
  else if (mode == 1) policy = new keAudioSilenceFillPolicy();
  if (policy == nullptr) return;
  if (vorbis_) vorbis_->SetAudioPolicy(policy);
  else delete policy;
}

void KestrinAvEncoder::SetName(const char* name) {
  keFree(name_);
  name_ = keStrDup(name);
  // Set up like the objects around it, which new makes: a profile without
  // its name would be written under none.
  if (name && !name_) throw std::bad_alloc();
}

int64_t KestrinAvEncoder::GetRequiredBitrate() {
  int64_t bitrate = 0;
  if (vorbis_) bitrate += vorbis_->GetMaxBitrate();
  if (theora_) bitrate += theora_->GetBitrate();
  return bitrate;
}

int32_t keProgressPercent(int64_t streamTimeMs, double startSeconds, double endSeconds) {
  const int64_t t = streamTimeMs / 10;
  const double span = endSeconds - startSeconds;
  if (!(span > 0.0)) return 0;  // no range to measure against
  int64_t percent = static_cast<int64_t>(std::trunc(static_cast<double>(t) / span)) + 1;
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  return static_cast<int32_t>(percent);
}

int32_t KestrinAvEncoder::GetProgressPercent() {
  if (streamManager_->IsFinished()) {
    log_->Log("100%");
    return 100;
  }
  if (!source_) return 0;
  const double end = source_->GetEndTime();
  const double start = source_->GetStartTime();
  const int32_t percent = end == -1.0 && start == -1.0
                              ? source_->GetProgressPercent()
                              : keProgressPercent(streamManager_->GetCurrentTime(), start, end);
  // 100 is the end, and the application stops polling there: only the
  // finished stream manager says it. Until then the data may outlast the
  // source's end as known before decoding, and the percentage waits at 99.
  return std::min(percent, 99);
}

double KestrinAvEncoder::GetCurrentPosition() { return source_ ? source_->GetCurrentPosition() : 0.0; }

std::string KestrinAvEncoder::GetMissingStreamReason() {
  if (vorbis_ && !vorbis_->HasStreamed()) return "the source gave no audio to encode";
  if (theora_ && !theora_->HasStreamed()) return "the source gave no video to encode";
  return std::string();
}
