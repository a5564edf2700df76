// The video renderer filter with hand-made media samples and in a graph.
#include <gtest/gtest.h>

#include "dshow/DirectShowVideoSource.h"
#include "dshow/FfmpegSourceFilter.h"
#include "dshow/FilterGraph.h"
#include "RecordingListeners.h"
#include "TestMedia.h"

namespace {

MediaSample Picture(const keGuid& subtype, int w, int h, uint8_t fill, int64_t start, int64_t end) {
  const int32_t bytes = static_cast<int32_t>(VideoFrameBytes(subtype, w, h));
  MediaSample sample(bytes);
  std::fill(sample.Data(), sample.Data() + bytes, fill);
  sample.SetActualDataLength(bytes);
  sample.SetTime(start, end);
  return sample;
}

TEST(DirectShowVideoSource, AcceptsTheEightSubtypesAndTakesTheSize) {
  for (const keGuid* subtype : {&MEDIASUBTYPE_YV12, &MEDIASUBTYPE_IYUV, &MEDIASUBTYPE_YUY2, &MEDIASUBTYPE_UYVY,
                                &MEDIASUBTYPE_YVYU, &MEDIASUBTYPE_AYUV, &MEDIASUBTYPE_RGB32, &MEDIASUBTYPE_RGB24}) {
    DirectShowVideoSource filter(nullptr);
    EXPECT_EQ(filter.CheckMediaType(MakeVideoType(*subtype, 320, 240, 0)), S_OK) << SubtypeName(*subtype);
    EXPECT_EQ(filter.GetWidth(), 320);
    EXPECT_EQ(filter.GetHeight(), 240);
  }
  DirectShowVideoSource filter(nullptr);
  MediaType other = MakeVideoType(MEDIASUBTYPE_IYUV, 16, 16, 0);
  other.subtype = MEDIASUBTYPE_PCM;
  EXPECT_EQ(filter.CheckMediaType(other), S_FALSE);
  EXPECT_EQ(filter.CheckMediaType(MakePcmAudioType(2, 44100)), S_FALSE);
  MediaType audioMajor = MakeVideoType(MEDIASUBTYPE_IYUV, 16, 16, 0);
  audioMajor.majortype = MEDIATYPE_Audio;
  EXPECT_EQ(filter.CheckMediaType(audioMajor), S_FALSE);
  MediaType topDown = MakeVideoType(MEDIASUBTYPE_RGB24, 16, 16, 0);
  topDown.video.rcSource = {};
  topDown.video.bmiHeader.biHeight = -16;
  EXPECT_EQ(filter.CheckMediaType(topDown), S_FALSE);

  // An empty source rectangle: the bitmap header's size.
  MediaType bitmapSized = MakeVideoType(MEDIASUBTYPE_YUY2, 64, 48, 0);
  bitmapSized.video.rcSource = {};
  bitmapSized.video.bmiHeader.biWidth = 176;
  bitmapSized.video.bmiHeader.biHeight = 144;
  EXPECT_EQ(filter.CheckMediaType(bitmapSized), S_OK);
  EXPECT_EQ(filter.GetWidth(), 176);
  EXPECT_EQ(filter.GetHeight(), 144);
}

TEST(DirectShowVideoSource, CountOnlyModeCountsAndHandsNothingOn) {
  DirectShowVideoSource filter(nullptr);
  RecordingVideoListener listener;
  filter.AddListener(&listener);
  filter.SetCountOnly(true);
  ASSERT_EQ(filter.CheckMediaType(MakeVideoType(MEDIASUBTYPE_IYUV, 16, 16, 0)), S_OK);
  for (int64_t end : {400000, 800000, 1200000}) {
    MediaSample picture = Picture(MEDIASUBTYPE_IYUV, 16, 16, 0, end - 400000, end);
    filter.DoRenderSample(&picture);
  }
  EXPECT_EQ(filter.GetFrameCount(), 3.0);
  EXPECT_EQ(filter.GetLastSampleTime(), 1200000);
  EXPECT_EQ(filter.GetFirstCountedStart(), 0);
  EXPECT_TRUE(listener.samples.empty());
}

TEST(DirectShowVideoSource, HandsOnTheConvertedPictureWithItsSettings) {
  keEngineContext context;
  DirectShowVideoSource filter(&context);
  RecordingVideoListener listener;
  filter.AddListener(&listener);
  filter.SetFrameRate(29.97);
  filter.SetCropTop(1);
  filter.SetCropBottom(2);
  filter.SetCropLeft(3);
  filter.SetCropRight(4);
  ASSERT_EQ(filter.CheckMediaType(MakeVideoType(MEDIASUBTYPE_IYUV, 4, 2, 0)), S_OK);
  filter.OnStartStreaming();
  EXPECT_EQ(listener.width, 4);
  EXPECT_EQ(listener.height, 2);
  EXPECT_EQ(listener.frameRate, 29.97);
  EXPECT_EQ(listener.crops, (std::vector<int32_t>{1, 2, 3, 4}));

  MediaSample picture(12);
  const uint8_t bytes[12] = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 20, 21};
  std::copy(bytes, bytes + 12, picture.Data());
  picture.SetActualDataLength(12);
  picture.SetTime(100, 200);
  filter.DoRenderSample(&picture);
  // Each frame waits for the next one or the end: only then is it known
  // whether it is the last.
  EXPECT_TRUE(listener.samples.empty());
  EXPECT_EQ(filter.GetLastSampleEnd(), 200);
  picture.SetTime(200, 300);
  filter.DoRenderSample(&picture);
  ASSERT_EQ(listener.samples.size(), 1u);
  EXPECT_EQ(listener.samples[0].data, std::vector<uint8_t>(bytes, bytes + 12));  // no deinterlacing
  EXPECT_EQ(listener.samples[0].start, 100);
  EXPECT_EQ(listener.samples[0].end, 200);
  EXPECT_FALSE(listener.samples[0].last);

  filter.EndOfStream();
  filter.EndOfStream();
  ASSERT_EQ(listener.samples.size(), 2u);  // the last frame, once, marked last
  EXPECT_TRUE(listener.samples[1].last);
  EXPECT_EQ(listener.samples[1].start, 200);
  EXPECT_EQ(listener.endOfStreams, 1);
  filter.DoRenderSample(&picture);  // after the end nothing more
  EXPECT_EQ(listener.samples.size(), 2u);
}

TEST(DirectShowVideoSource, RangeCheckDropsFramesOutsideTheRange) {
  keEngineContext context;
  DirectShowVideoSource filter(&context);
  RecordingVideoListener listener;
  filter.AddListener(&listener);
  ASSERT_EQ(filter.CheckMediaType(MakeVideoType(MEDIASUBTYPE_IYUV, 16, 16, 0)), S_OK);
  filter.SetRangeCheck(true);
  filter.SetStart(1.0);
  filter.SetEnd(2.0);
  for (int64_t start : {9990000, 10000000, 19990000, 20010000, 15000000}) {
    MediaSample picture = Picture(MEDIASUBTYPE_IYUV, 16, 16, 9, start, start + 400000);
    filter.DoRenderSample(&picture);
  }
  ASSERT_EQ(listener.samples.size(), 2u);  // the two frames in range, the second marked last
  EXPECT_EQ(listener.samples[0].start, 10000000);
  EXPECT_EQ(listener.samples[1].start, 19990000);
  EXPECT_FALSE(listener.samples[0].last);
  EXPECT_TRUE(listener.samples[1].last);
  EXPECT_EQ(listener.endOfStreams, 1);
}

TEST(DirectShowVideoSource, DeinterlacesWhenAsked) {
  keEngineContext context;
  DirectShowVideoSource filter(&context);
  RecordingVideoListener listener;
  filter.AddListener(&listener);
  filter.SetDeinterlace(true);
  ASSERT_EQ(filter.CheckMediaType(MakeVideoType(MEDIASUBTYPE_IYUV, 32, 32, 0)), S_OK);
  MediaSample picture = Picture(MEDIASUBTYPE_IYUV, 32, 32, 128, 0, 1);
  for (int row = 1; row < 32; row += 2) std::fill(picture.Data() + row * 32, picture.Data() + row * 32 + 32, 20);
  filter.DoRenderSample(&picture);
  filter.EndOfStream();
  ASSERT_EQ(listener.samples.size(), 1u);
  EXPECT_NEAR(listener.samples[0].data[15 * 32 + 16], 128, 2);  // an odd row, blended away
}

TEST(DirectShowVideoSource, ReceivesEveryFrameOfAFile) {
  keEngineContext context;
  DirectShowVideoSource filter(&context);
  RecordingVideoListener listener;
  filter.AddListener(&listener);
  filter.SetFrameRate(25.0);
  FilterGraph graph;
  FfmpegSourceFilter* source = nullptr;
  ASSERT_EQ(graph.AddSourceFilter(TestMedia::Path("av.mp4"), "Source", &source), S_OK);
  graph.AddFilter(&filter, "Video Source");
  ASSERT_EQ(graph.RenderStream(source, &filter), S_OK);
  graph.SetReferenceClock(false);
  ASSERT_EQ(graph.Run(), S_OK);
  ASSERT_EQ(graph.WaitForCompletion(120000, nullptr), S_OK);
  graph.Stop();
  EXPECT_EQ(listener.width, 160);
  EXPECT_EQ(listener.height, 120);
  ASSERT_EQ(listener.samples.size(), 50u);  // every frame once, the last one marked
  EXPECT_EQ(listener.samples[0].data.size(), 160u * 120 * 3 / 2);
  EXPECT_TRUE(listener.samples.back().last);
  EXPECT_EQ(listener.endOfStreams, 1);
}

}  // namespace
