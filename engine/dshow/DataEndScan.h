// Where the data of a media file end, found by reading its packets through
// once without decoding them (a small part of the cost of decoding).
//
// What a container states of its length is no measure of what it holds: an
// AVI whose recording stopped before its index was written states a length
// estimated from the part it was probed on, and clips joined byte for byte
// state one clip's length. An encode reads to the end of the data, and its
// progress and the check of a start time go by the same end.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

class MediaFile;

struct DataEndScan {
  /// Where the last packet of the first video and of the first audio stream
  /// (the ones an encode decodes) ends on the file's timeline, in 100-ns
  /// units from MediaFile::Origin; -1 for a stream that the file lacks or
  /// whose packets state no time.
  int64_t videoEnd = -1;
  int64_t audioEnd = -1;
  /// The shifts of the file's joins in the order they come (see
  /// TimestampJoins): a run that follows these lays its streams out on the
  /// timeline the scan found.
  std::vector<int64_t> joinShifts;
};

/// Reads the packets of those two streams from where `file` stands to its
/// end, or to the first read error, following joins as the streams of a run
/// do (TimestampJoins.h). The file is left at its end. A `stop` that turns
/// true ends the reading early (an encode cancelled meanwhile): what was
/// found until then is no end of the data.
DataEndScan ScanDataEnd(MediaFile& file, const std::atomic<bool>* stop = nullptr);
