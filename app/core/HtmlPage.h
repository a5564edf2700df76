// The web page that embeds the applet player with an encoded output as its
// video: its text, its path beside the output and its file. Free of GUI types
// so that it runs in the sanitizer builds; the encode control feeds it the
// window's fields (abstractMainFrameHtml.cpp).
#pragma once

#include <string>

#include "StreamProfileRows.h"

/// The maker's links that the page carries.
struct HtmlPageLinks {
  std::string javaDownloadUrl;  ///< target of the Java paragraph
  std::string homePageUrl;      ///< target of the credit line
  std::string homePageHost;     ///< text shown for the credit line's link
};

/// What the page is made of, read from the window when it is written.
struct HtmlPageContent {
  std::string outputPath;       ///< full path of the encoded file, as typed
  StreamProfileRows rows{};     ///< only the encode and name cells are read
  int widestOutput = 0;         ///< largest encoded width of the run
  int tallestOutput = 0;        ///< largest encoded height of the run
  bool toolbar = false;         ///< the graphic toolbar's parameters and image
  HtmlPageLinks links;
};

/// The applet archive and the toolbar image, copied from the program's folder
/// beside the page.
extern const char* const kAppletArchiveFile;
extern const char* const kToolbarImageFile;

/// The output path after its last separator, or the whole path without one.
std::string OutputFileName(const std::string& outputPath);
/// The output path before its last separator ("/" for a file at the root),
/// or empty without one (the current folder).
std::string OutputDirectory(const std::string& outputPath);
/// The output path with the extension ".htm" in place of its own.
std::string HtmlPagePath(const std::string& outputPath);
/// The names of the selected rows (encode cell not empty), in row order,
/// joined by ", ".
std::string SelectedStreamList(const StreamProfileRows& rows);

/// The page with '\n' line ends, byte for byte as it is meant; nothing in it
/// is escaped, so names go in exactly as the user typed them.
std::string BuildHtmlPageText(const HtmlPageContent& content);
/// `text` with every '\n' written as CR LF, as the page is stored.
std::string WithCrLfLineEnds(const std::string& text);

/// Creates or truncates `path` and writes `text` with CR LF line ends. On
/// failure nothing is written and `error` (when given) tells why.
[[nodiscard]] bool WriteHtmlPageFile(const std::string& path, const std::string& text,
                                     std::string* error);
