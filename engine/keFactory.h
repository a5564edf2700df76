// The application's entry into the engine: creates the source reader, the
// media probe, the output and the per-profile encoders, all sharing one
// engine context.
//
// One encode, from the set-up to the last byte (the application's
// EncodeSession drives it the same way for the window, the encode_file
// harness and the tests):
//
// Set-up, on the caller's thread. The fields are checked first, before
// anything is opened or created (the output never the source itself, the
// output and temporary folders writable, a range and settings that can be
// encoded). Then CreateSourceReader probes the input (it only reads it);
// CreateOrvexaOutput opens nothing yet; per profile CreateAvEncoder, its
// Vorbis and Theora encoders registered with its stream manager and as
// listeners of the reader's audio and video, and OrvexaOutput::AddContent,
// which makes the profile's temporary file, a file without a name.
//
// Run. The worker thread (the window's, or the session's own) first has the
// output make the file the container is written into, a file without a name
// in the output's folder (OrvexaOutput::Open: a failure ends the run before
// any decoding). It then starts the reader, whose graph runs one stream
// thread per connected stream, and the output thread, and waits for the
// output's finished event.
//   - Each stream thread decodes its stream and hands every frame or block
//     to its renderer filter, which passes the one sample to every listener
//     (the profiles' encoders) and waits until all have released it. Both
//     streams keep one steady timeline from the first picture on: video on
//     a grid at the reader's frame rate, audio without gaps (silence where
//     the file has none), since the encoders count frames and samples.
//   - Each encoder copies or converts what it was given into its queue of 10
//     and releases the sample; its own thread encodes the queue into Ogg
//     pages, which go to an unbounded page queue.
//   - The output thread starts every profile's stream manager, then waits
//     for each profile's temporary file to be closed.
//   - Each stream manager thread waits for its encoders' set-up, writes the
//     header pages, then always the page of the stream furthest behind, to
//     the profile's crx-encrypted temporary file and its byte counter, and
//     notes key pages in the seek index. When both streams have sent their
//     end-of-stream page it closes the file and the index.
// Who waits on whom: stream threads on the encoders (release), encoders on
// nothing but their queue, stream managers on the encoders (pages), the
// output thread on the stream managers, the worker on the output thread.
// Nothing waits on the worker but the session, whose destructor releases the
// engine objects only once the worker is done.
//
// Normal end. The streams end at the end of the range; the encoders flush
// and end their Ogg streams; the managers close their files; the output
// thread writes the header, copies each temporary file and seek index into
// the container, pads it, makes it durable and renames it over the output
// path in one step, then sets the finished event. The worker stops the
// reader and reports success.
//
// Cancel. The session aborts the reader (its streams end at once, so every
// encoder and manager finishes) and the output (no header; the contents'
// data are thrown away). The output thread sets the finished event, the
// worker reports the cancel. The output path keeps what it held.
//
// Failure. A write that fails (a full disk), a failed encoder or a stream
// added late is noticed by the stream manager as it happens and stops the
// run at once, as a cancel does but reported as a failure with the reason;
// a source that cannot be read on, a profile without frames or samples, or a
// header or copy that fails make the run a failure at its end. In every case
// the container is not put in place and the finished event is set.
//
// What is left when the process ends: the temporary files and the container
// under construction have no name, so the system reclaims them whatever ends
// the process (a normal end, a cancel, SIGINT or SIGTERM in the harness,
// which cancels, a crash, kill -9, a power cut). Only where the file system
// cannot make a file without a name does the container being written carry
// a hidden name (".ostrel-XXXXXX.part" beside the output) until it is put in
// place or thrown away; a crash or kill -9 can leave that one file there.
// Otherwise the finished container gets a hidden name (".NAME.<hex>.part")
// only for the instant between being linked and being renamed over NAME.
#pragma once

#include "keEngineContext.h"

class KestrinAvEncoder;
class OrvexaOutput;
class keAbstractMediaInfo;
class keSourceReader;

class keFactory {
 public:
  keFactory();
  ~keFactory();
  keFactory(const keFactory&) = delete;
  keFactory& operator=(const keFactory&) = delete;

  keSourceReader* CreateSourceReader(const char* inputPath);
  keAbstractMediaInfo* CreateMediaInfo(const char* inputPath);
  /// Remembers the output's name from its last separator on.
  OrvexaOutput* CreateOrvexaOutput(const char* outputPath);
  KestrinAvEncoder* CreateAvEncoder();

  keEngineContext* GetContext() { return &context_; }

 private:
  keEngineContext context_;
};
