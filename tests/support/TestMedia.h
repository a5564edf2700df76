// Media files for tests, generated with the ffmpeg command-line tool from
// its built-in test sources (testsrc pictures, sine tones) on first use.
//
// Files are kept in "test-media" beside the test binary, under names that
// carry a hash of how they were made, so the many test processes of one run
// (and later runs) share them and a changed recipe makes a new file. A lock
// file keeps two processes from making the same file at once.
#pragma once

#include <string>
#include <vector>

namespace TestMedia {

/// The path of the generated file `name`, making it when needed. Names:
///
/// Audio and video, 2 s, 160x120 at 25 fps unless said otherwise:
///   "av.avi"   MPEG-4 + 16-bit PCM stereo 44100 Hz
///   "av.mpg"   MPEG-1 + MP2 stereo 44100 Hz
///   "av.mpeg"  MPEG-2 + MP2 stereo 48000 Hz
///   "av.mov"   H.264 + AAC stereo 48000 Hz
///   "av.mp4"   H.264 + AAC stereo 44100 Hz (index at the front)
///   "av.3gp"   H.263 176x144 at 15 fps + AAC mono 22050 Hz
///   "av.flv"   Sorenson H.263 + MP3 stereo 22050 Hz (audio stream first)
///   "rate50.mp4", "rate5994.mp4"  1 s of H.264 at 50 and 60000/1001 fps + AAC
///   "rate240.mp4"  1 s of H.264 64x48 at 240000/1001 fps + AAC
///   "driftaudio.mkv" 30 s of H.264 64x48 + PCM whose times run 0.2% faster
///     than its samples (a drifting capture clock), silent until a tone at
///     25 s of samples, 25.05 s of its times
///   "four.mp4" two H.264 and two AAC streams, 1 s
///   "twoaudio.mkv" H.264 + PCM mono 22050 Hz (2 s) + PCM stereo 48000 Hz (1 s)
///   "onepixel.avi" raw BGR 1x1 + PCM stereo 44100 Hz, 1 s
/// Sync markers: black turning white and silence turning into a loud tone
/// at the same source time M, H.264 160x120 + stereo audio:
///   "sync_vfr.mp4"        15 fps for 2 s, then 30 fps for 3 s; AAC; M = 3.5 s
///   "sync_jitter.mkv"     25 fps, frames up to 7 ms early or late; FLAC; M = 3 s
///   "sync_lateaudio.mp4"  6 s; the AAC audio starts at 3 s; M = 4 s
///   "sync_hole.mkv"       6 s; no PCM audio from 2 s to 3 s; M = 4 s
///   "sync_earlyaudio.mkv" the video runs from 1 s to 6 s, the FLAC audio
///                         from 0 s; M = 3 s
/// Joined byte for byte (`cat a b > ab`) from 2 s clips, H.264 + AAC in
/// MPEG-TS or MPEG-2 + MP2 in MPEG-PS, 48000 Hz: the first dark and silent,
/// the second white with a tone; the times of the second start over:
///   "sync_joined.ts", "sync_joined.mpg"; M = 2 s of 4
///   "sync_joinedlate.ts"  the second clip stamped 100 s later; M = 2 s of 4
///   "joined_nosound.mpg" the dark clip of "sync_joined.mpg" (MPEG-2 + MP2,
///     2 s) joined to 2 s of MPEG-2 video without sound
/// Cut off: the first half of a 6 s 160x120 file that declares 6 s:
///   "half.mp4" (H.264 + AAC, index at the front), "half.mkv" (H.264 + AAC),
///   "half.flv" (Sorenson H.263 + MP3 22050 Hz)
/// Cut off before the index: the first fifth of the bytes of 5 s of grey
/// then 5 s of noise at 25 fps with a 440 Hz tone, mono 44100 Hz, in AVI; it
/// states about 2 s and holds about 6 s:
///   "cutoff_mpeg4_mp3.avi" (MPEG-4 640x360 + MP3), "cutoff_h264_aac.avi"
///   (H.264 320x180 + AAC), "cutoff_mjpeg_pcm.avi" (MJPEG 320x180 + PCM)
/// Audio only, 2 s:
///   "audio.mp3" mono 22050 Hz; "cover.mp3" stereo 44100 Hz with cover art
///   "mono8k.wav", "stereo48k.wav", "surround.wav" (6 channels, 32000 Hz),
///   "float.wav" (32-bit float stereo 44100 Hz)
/// Video only:
///   "video.avi"  MPEG-4, 2 s
///   "odd.avi"    MPEG-4 161x121, 1 s
///   "odd_rgb.avi" raw BGR 161x121, 1 s
///   "raw_bgr24.avi", "raw_bgra.avi", "raw_i420.avi", "raw_gray.avi",
///   "raw_yuyv.mov", "raw_uyvy.mov": raw 64x48 pictures at 25 fps, 1 s,
///     red in the top half and blue in the bottom half
/// Broken:
///   "empty.avi" (no bytes), "truncated.avi", "truncated.mp4" (the first 40%
///   of "av.avi" / "av.mp4"), "random.mpg" (64 KiB of fixed random bytes),
///   "noaudiocodec.avi", "novideocodec.avi" ("av.avi" with the audio's or
///   the video's codec tag replaced by an unknown one)
///
/// Fails the calling test (and returns an empty path) when the file cannot
/// be made.
std::string Path(const std::string& name);

/// Every name above.
std::vector<std::string> Names();

/// The number of pictures FFmpeg's command-line tool decodes from the first
/// video stream of the file at `path` (`ffprobe -count_frames`); -1 when it
/// cannot tell.
int FfmpegPictureCount(const std::string& path);

}  // namespace TestMedia
