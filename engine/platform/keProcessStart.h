// What a program of this system settles first, before it opens any file: its
// standard descriptors and the signals that would end it without a word.
//
// - A standard descriptor (0, 1, 2) closed at start (`encode_file ... >&-`)
//   would be taken by the next file opened, a temporary file or the output,
//   and what is printed to it would then be written into that file.
// - A write past the limit on file sizes (`ulimit -f`) sends SIGXFSZ, which
//   ends the process without a word and would leave the run unexplained;
//   ignored, the write fails with its reason and the run fails with it.
// - Signals the caller ignored (`nohup`, a shell's background job, which
//   starts with SIGINT and SIGQUIT ignored) stay ignored.
#pragma once

namespace kePlatform {

/// Opens each of the standard descriptors that is closed on /dev/null.
void OpenClosedStandardDescriptors();

/// A write past the file-size limit then fails with EFBIG ("File too large")
/// instead of ending the process.
void IgnoreFileSizeSignal();

/// Both of the above, first thing in a program.
void SettleProcessStart();

/// Installs `handler` for `signal` unless the process started with it
/// ignored; true when installed.
bool CatchUnlessIgnored(int signal, void (*handler)(int));

}  // namespace kePlatform
