// The web page that embeds the applet player with an encoded output as its
// video: its text, its path beside the output and its file. Free of GUI types
// so that it runs in the sanitizer builds; the encode control feeds it the
// plan of the run that was encoded (abstractMainFrameHtml.cpp).
#pragma once

#include <string>
#include <vector>

#include "EncodePlan.h"

/// The maker's links that the page carries.
struct HtmlPageLinks {
  std::string javaDownloadUrl;  ///< target of the Java paragraph
  std::string homePageUrl;      ///< target of the credit line
  std::string homePageHost;     ///< text shown for the credit line's link
};

/// What the page is made of: the run's plan, never the window as it is now.
/// Texts are UTF-8; the page text escapes and encodes them.
struct HtmlPageContent {
  std::string outputPath;                ///< full path of the encoded file
  std::vector<std::string> streamNames;  ///< the encoded profiles, in row order
  int widestOutput = 0;                  ///< largest encoded width of the run
  int tallestOutput = 0;                 ///< largest encoded height of the run
  bool toolbar = false;                  ///< the graphic toolbar's parameters and image
  HtmlPageLinks links;
};

/// The page of the run `plan` describes, with its toolbar choice.
HtmlPageContent HtmlPageContentOf(const EncodePlan& plan, const HtmlPageLinks& links);

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
/// The names joined by ", ".
std::string JoinedStreamList(const std::vector<std::string>& names);

/// A UTF-8 text as the page holds it: '&', '<', '>' and '"' escaped, so that
/// no name can open a tag or end an attribute; characters up to U+00FF as
/// one iso-8859-1 byte each, the declared charset, and those beyond as
/// character references. A byte that is not UTF-8 stays as it is.
std::string PageText(const std::string& utf8);

/// The page with '\n' line ends, byte for byte as it is meant. The names and
/// the file name go in through PageText; the links are the maker's own.
std::string BuildHtmlPageText(const HtmlPageContent& content);
/// `text` with every '\n' written as CR LF, as the page is stored.
std::string WithCrLfLineEnds(const std::string& text);

/// Creates or truncates `path` and writes `text` with CR LF line ends. On
/// failure nothing is written and `error` (when given) tells why.
[[nodiscard]] bool WriteHtmlPageFile(const std::string& path, const std::string& text, std::string* error);
