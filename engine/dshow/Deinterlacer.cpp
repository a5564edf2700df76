#include "Deinterlacer.h"

#include <cstring>

extern "C" {
#include <libpostproc/postprocess.h>
}

Deinterlacer::Deinterlacer() : mode_(pp_get_mode_by_name_and_quality("fd", PP_QUALITY_MAX)) {}

Deinterlacer::~Deinterlacer() {
  if (context_) pp_free_context(context_);
  if (mode_) pp_free_mode(mode_);
}

bool Deinterlacer::Apply(uint8_t* const planes[3], const int linesizes[3], int width, int height) {
  if (!mode_ || width < 2 || height < 2) return false;
  if (!context_ || width != width_ || height != height_) {
    if (context_) pp_free_context(context_);
    context_ = pp_get_context(width, height, PP_FORMAT_420 | PP_CPU_CAPS_AUTO);
    width_ = width;
    height_ = height;
    if (!context_) return false;
  }
  // The filter works in whole blocks: it writes past the end of a line up to
  // the next block edge, and it reads lines it has already written when
  // source and target are the same. So it runs between two scratch pictures
  // with roomy lines, and only the picture itself is copied back.
  const int widths[3] = {width, width / 2, width / 2};
  const int heights[3] = {height, height / 2, height / 2};
  int strides[3] = {};
  size_t planeOffsets[3] = {};
  size_t total = 0;
  for (int i = 0; i < 3; ++i) {
    strides[i] = ((widths[i] + 15) & ~15) + 16;
    planeOffsets[i] = total;
    total += static_cast<size_t>(strides[i]) * (((heights[i] + 15) & ~15) + 16);
  }
  scratch_.assign(2 * total, 0);
  const uint8_t* sources[3] = {};
  uint8_t* targets[3] = {};
  for (int i = 0; i < 3; ++i) {
    uint8_t* source = scratch_.data() + planeOffsets[i];
    for (int row = 0; row < heights[i]; ++row)
      std::memcpy(source + static_cast<size_t>(row) * strides[i], planes[i] + static_cast<size_t>(row) * linesizes[i],
                  widths[i]);
    sources[i] = source;
    targets[i] = scratch_.data() + total + planeOffsets[i];
  }
  pp_postprocess(sources, strides, targets, strides, width, height, nullptr, 0, mode_, context_, 0);
  for (int i = 0; i < 3; ++i)
    for (int row = 0; row < heights[i]; ++row)
      std::memcpy(planes[i] + static_cast<size_t>(row) * linesizes[i],
                  targets[i] + static_cast<size_t>(row) * strides[i], widths[i]);
  return true;
}
