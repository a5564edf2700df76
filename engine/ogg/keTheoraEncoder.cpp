#include "keTheoraEncoder.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "keFrameRatioPolicy.h"
#include "kePlanarPicture.h"
#include "keVideoSample.h"
#include "platform/keMemoryRoom.h"

namespace {

int32_t RoundUpTo16(int32_t value) { return (value + 15) & ~15; }

}  // namespace

keTheoraEncoder::keTheoraEncoder(keEngineContext* context, const char* suffix)
    : keThreadedEncoder(context, std::string("Theora") + (suffix ? suffix : ""), 1, "Theora Encoder"),
      log_(keCreateLog("Theora")) {
  theora_info* i = info();
  i->colorspace = OC_CS_UNSPECIFIED;
  i->dropframes_p = 0;
  i->quick_p = 1;
  i->keyframe_auto_p = 1;
  i->keyframe_frequency = 64;
  i->keyframe_frequency_force = 64;
  i->keyframe_auto_threshold = 80;
  i->keyframe_mindistance = 1;
  i->noise_sensitivity = 1;
  i->sharpness = 1;
}

keTheoraEncoder::~keTheoraEncoder() { StopThread(); }

void keTheoraEncoder::OnFormat(int32_t width, int32_t height, double fps, int32_t topBand, int32_t bottomBand,
                               int32_t leftBand, int32_t rightBand) {
  if (!policy_) policy_ = std::make_unique<keFrameRatioPolicy>();
  sourceWidth_ = width;
  sourceHeight_ = height;
  sourceFps_ = fps;

  const int32_t outWidth = RoundUpTo16(width_ != 0 ? width_ : width);
  const int32_t outHeight = RoundUpTo16(height_ != 0 ? height_ : height);
  theora_info* i = info();
  i->width = i->frame_width = static_cast<ogg_uint32_t>(outWidth);
  i->height = i->frame_height = static_cast<ogg_uint32_t>(outHeight);
  i->offset_x = i->offset_y = 0;

  // Crop margins are honoured whenever one is set, even when the output
  // keeps the source's size: the rectangle inside them is scaled to fill it.
  const keCropBands bands{topBand, bottomBand, leftBand, rightBand};
  scaler_.reset();
  held_.reset();
  if (outWidth != width || outHeight != height || bands.Any()) {
    scaler_ = std::make_unique<keVideoScaler>(width, height, bands, outWidth, outHeight);
    if (!scaler_->IsReady()) {
      char text[200];
      std::snprintf(text, sizeof text,
                    "The video of %dx%d pixels cannot be cropped by %d, %d, %d, %d pixels (top, "
                    "bottom, left, right) and scaled to %dx%d",
                    width, height, topBand, bottomBand, leftBand, rightBand, outWidth, outHeight);
      Fail(text);
    }
  } else {
    held_ = std::make_unique<kePlanarPicture>(outWidth, outHeight);
    // A picture of no size is libtheora's to refuse, in Setup.
    if (!held_->IsReady() && outWidth > 0 && outHeight > 0) Fail("There is no memory for a picture of the video");
  }
  yuv_.y_width = outWidth;
  yuv_.y_height = outHeight;
  yuv_.y_stride = outWidth;
  yuv_.uv_width = outWidth / 2;
  yuv_.uv_height = outHeight / 2;
  yuv_.uv_stride = outWidth / 2;

  // A policy that only drops frames cannot raise the rate above the source's.
  if (!policy_->CanRepeat() && sourceFps_ < fps_) fps_ = 0.0;
  const double rate = GetFps();
  // A rate that does not fit the stream clock's 32-bit numerator is left at
  // 0, which Setup reports as a failure: libtheora divides by it.
  const double numerator = rate * 1000.0;
  i->fps_numerator = numerator >= 1.0 && numerator <= 2147483647.0 ? static_cast<ogg_uint32_t>(numerator) : 0;
  i->fps_denominator = 1000;
  policy_->SetSourceFps(sourceFps_);
  policy_->SetTargetFps(rate);

  i->target_bitrate = bitrate_;
  i->keyframe_data_target_bitrate = static_cast<ogg_uint32_t>(bitrate_ * 1.5);
}

void keTheoraEncoder::OnStart() {
  if (policy_) policy_->Reset();
  BeginStream();
}

void keTheoraEncoder::OnSample(keVideoSample* frame) { QueueSample(frame); }

void keTheoraEncoder::OnEndOfStream() { EndStream(); }

int32_t keTheoraEncoder::GetRateNumerator() { return static_cast<int32_t>(info()->fps_denominator * 1000); }

int32_t keTheoraEncoder::GetRateDenominator() {
  const int32_t numerator = static_cast<int32_t>(info()->fps_numerator);
  return numerator > 0 ? numerator : 1;
}

bool keTheoraEncoder::Setup() {
  theora_info* i = info();
  if (i->fps_numerator == 0) {
    // theora_encode_init would end the process with a division by zero.
    char text[160];
    std::snprintf(text, sizeof text,
                  "The video has no frame rate to encode at (source %.3f, set %.3f frames per "
                  "second)",
                  sourceFps_, fps_);
    Fail(text);
    return false;
  }
  if (theora_.StartEncoder() != 0) {
    // libtheora tells only that it failed: want of memory is said as such,
    // not as settings it refused. Its pictures alone take about this much.
    const size_t room = static_cast<size_t>(i->width) * i->height * 6 + (1u << 20);
    if (kePlatform::MemoryRunsShort(room)) {
      Fail("there is not enough memory to set up the Theora encoder");
      return false;
    }
    char text[200];
    std::snprintf(text, sizeof text,
                  "The Theora encoder refused a picture of %ux%u at %.3f frames per second "
                  "with %d bit/s",
                  i->width, i->height,
                  i->fps_denominator ? static_cast<double>(i->fps_numerator) / i->fps_denominator : 0.0,
                  i->target_bitrate);
    Fail(text);
    return false;
  }
  ogg_packet packet;
  theora_encode_header(theora_.State(), &packet);
  wrapper_.HeaderPacketIn(&packet);

  char value[32];
  theora_comment* comment = theora_.Comment();
  std::snprintf(value, sizeof value, "%u", i->width);
  theora_comment_add_tag(comment, const_cast<char*>("Width"), value);
  std::snprintf(value, sizeof value, "%u", i->height);
  theora_comment_add_tag(comment, const_cast<char*>("Height"), value);
  std::snprintf(value, sizeof value, "%d Kb/s", bitrate_ / 1024);
  theora_comment_add_tag(comment, const_cast<char*>("Video bitrate"), value);
  std::snprintf(value, sizeof value, "%.1f", static_cast<double>(i->fps_numerator) / i->fps_denominator);
  theora_comment_add_tag(comment, const_cast<char*>("Fps"), value);
  if (theora_encode_comment(comment, &packet) == 0) {
    wrapper_.HeaderPacketIn(&packet);
    // libtheora copies the comment packet into memory of its caller's.
    std::free(packet.packet);
  }

  theora_encode_tables(theora_.State(), &packet);
  wrapper_.HeaderPacketIn(&packet);
  return true;
}

bool keTheoraEncoder::EncodeStep(keVideoSample* frame) {
  policy_->Decide(frame);
  const bool last = frame->last;
  // A frame of another size than announced would be read past its planes.
  const bool fits = frame->width == sourceWidth_ && frame->height == sourceHeight_ && frame->planes[0] &&
                    frame->planes[1] && frame->planes[2];
  if (!fits) {
    // Dropping it would leave a hole in the video without a word.
    char text[160];
    std::snprintf(text, sizeof text, "a video frame of %dx%d pixels differs from the announced %dx%d", frame->width,
                  frame->height, sourceWidth_, sourceHeight_);
    Fail(text);
  }
  int32_t emits = fits ? policy_->GetEmitCount() : 0;
  if (emits > 0) {
    // The picture is taken out of the sample (scaled, or copied) so that the
    // sample is released before libtheora's work on it.
    if (scaler_) {
      const uint8_t* planes[3] = {frame->planes[0], frame->planes[1], frame->planes[2]};
      scaler_->Scale(planes);
      Use(scaler_->GetPicture());
    } else if (held_ && held_->IsReady()) {
      CopyPlanes(frame, *held_);
      Use(*held_);
    } else {
      emits = 0;
    }
  }
  frame->Release();
  // Only the very last encoding of the stream's last frame ends the stream:
  // libtheora accepts no frame after that.
  for (int32_t k = 0; k < emits; ++k) EncodeOnce(last && k + 1 == emits);
  // A last frame that could not be encoded still ends the stream (the
  // caller adds the empty end-of-stream packet).
  return !last;
}

void keTheoraEncoder::Use(const kePlanarPicture& picture) {
  yuv_.y = picture.data[0];
  yuv_.u = picture.data[1];
  yuv_.v = picture.data[2];
  yuv_.y_stride = picture.linesize[0];
  yuv_.uv_stride = picture.linesize[1];
}

void keTheoraEncoder::CopyPlanes(const keVideoSample* frame, kePlanarPicture& picture) {
  // Unscaled frames have the encoded size (a multiple of 16), chroma a
  // quarter of the luma.
  const int32_t width = picture.GetWidth();
  const int32_t height = picture.GetHeight();
  const uint8_t* const from[3] = {frame->planes[0], frame->planes[1], frame->planes[2]};
  const int32_t lineBytes[3] = {width, width / 2, width / 2};
  const int32_t rows[3] = {height, height / 2, height / 2};
  for (int plane = 0; plane < 3; ++plane)
    for (int32_t row = 0; row < rows[plane]; ++row)
      std::memcpy(picture.data[plane] + static_cast<ptrdiff_t>(row) * picture.linesize[plane],
                  from[plane] + static_cast<ptrdiff_t>(row) * lineBytes[plane], static_cast<size_t>(lineBytes[plane]));
}

void keTheoraEncoder::EncodeOnce(bool last) {
  if (theora_encode_YUVin(theora_.State(), &yuv_) != 0) {
    Fail("the Theora encoder refused a video frame");
    return;
  }
  ogg_packet packet;
  while (theora_encode_packetout(theora_.State(), last ? 1 : 0, &packet) > 0)
    PacketOut(&packet, 1, theora_packet_iskeyframe(&packet) > 0);
}
