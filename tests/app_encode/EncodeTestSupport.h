// Helpers of the encode window tests: the encode control's message boxes,
// deadlines, work done while a run polls, and a source long enough to cancel
// half-way.
#pragma once

#include <wx/timer.h>

#include <functional>
#include <string>

#include "GuiTestSupport.h"  // WaitUntil
#include "ModalExpectations.h"

/// The caption of the encode control's own message boxes.
constexpr const char* kEditionCaption = "Ostrel Standard Edition v.3 ";

/// A box of the encode control: this text under the edition's caption,
/// answered with `answer`; further checks as for any ExpectMessage.
inline ExpectMessage ExpectEditionMessage(const wxString& text, int answer) {
  return ExpectMessage(text, answer).Caption(kEditionCaption);
}

/// Calls `step` every `milliseconds` while the toolkit handles events (in the
/// run's own yields too) until it returns true once.
class WhileRunning : public wxTimer {
 public:
  explicit WhileRunning(std::function<bool()> step, int milliseconds = 40);
  bool Finished() const { return finished_; }
  void Notify() override;

 private:
  std::function<bool()> step_;
  bool finished_ = false;
};

/// A 640x480 MPEG-4 + PCM stereo AVI of `seconds`, made once with ffmpeg
/// beside the test binary.
std::string LongSource(int seconds);

/// A 4 s H.264 + AAC MP4 with bytes of its data overwritten in seven places:
/// it probes well, and decoding skips damaged packets.
std::string DamagedSource();

/// The names in a directory, sorted.
std::vector<std::string> DirectoryEntries(const std::string& dir);
