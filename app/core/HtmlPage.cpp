// The applet page: fixed pieces around the output's name, the applet's size
// and the list of encoded streams.
#include "HtmlPage.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "OutputExtension.h"
#include "platform/kePath.h"

const char* const kAppletArchiveFile = "ostrel.jar";
const char* const kToolbarImageFile = "ostrel_tb1.jpg";

namespace {

constexpr const char* kTitle = "Ostrel";
constexpr const char* kAppletBase = "ostrel";
constexpr const char* kToolbarImageBase = "ostrel_tb1";

// The applet draws a one-pixel frame around the picture and a control strip
// under it; the graphic toolbar is taller than the plain one.
constexpr int kFrameWidth = 2;
constexpr int kToolbarStripHeight = 27;
constexpr int kPlainStripHeight = 18;

constexpr const char* kJavaSentenceItalian =
    "Per poter vedere il video occorre Java;<br>seguire questo collegamento per installare "
    "Java<br><br>";
constexpr const char* kJavaSentenceEnglish =
    "The video available on this page requires Java;<br>follow this link to install it<br>";

}  // namespace

std::string OutputFileName(const std::string& outputPath) { return kePlatform::FileNameOf(outputPath); }

std::string OutputDirectory(const std::string& outputPath) { return kePlatform::DirectoryOf(outputPath); }

std::string HtmlPagePath(const std::string& outputPath) { return WithExtension(outputPath, "htm"); }

HtmlPageContent HtmlPageContentOf(const EncodePlan& plan, const HtmlPageLinks& links) {
  HtmlPageContent content;
  content.outputPath = plan.outputPath;
  for (const ProfilePlan& profile : plan.profiles) content.streamNames.push_back(profile.name);
  content.widestOutput = plan.WidestEncoded();
  content.tallestOutput = plan.TallestEncoded();
  content.toolbar = plan.page.toolbar;
  content.links = links;
  return content;
}

std::string JoinedStreamList(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& name : names) {
    if (!list.empty()) list += ", ";
    list += name;
  }
  return list;
}

std::string PageText(const std::string& utf8) {
  std::string page;
  size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    uint32_t code = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length > 0 && i + length <= utf8.size();
    for (int k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (!valid) {
      page += utf8[i++];
      continue;
    }
    i += length;
    switch (code) {
      case '&': page += "&amp;"; break;
      case '<': page += "&lt;"; break;
      case '>': page += "&gt;"; break;
      case '"': page += "&quot;"; break;
      default:
        if (code < 256) page += static_cast<char>(code);
        else page += "&#" + std::to_string(code) + ";";
    }
  }
  return page;
}

std::string BuildHtmlPageText(const HtmlPageContent& content) {
  const std::string title = kTitle;
  const std::string base = kAppletBase;
  const std::string fileName = PageText(OutputFileName(content.outputPath));
  const int appletWidth = content.widestOutput + kFrameWidth;
  const int appletHeight = content.tallestOutput + (content.toolbar ? kToolbarStripHeight : kPlainStripHeight);

  std::string page;
  page += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n";
  page += "<html>\n<head>\n<title>" + title + "</title>\n";
  page += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\n";
  page += "</head>\n<body style=\"font-family: Verdana; font-size:10px;\">\n";
  page += "<div align=\"center\">\n<h3>" + title + "</h3>\n";
  page += "<!-- Ostrel copy code from here -->\n";
  page += "<object mayscript code=\"" + base + ".class\" archive=\"" + base + ".jar\" name=\"Ostrel\" id=\"Ostrel\"" +
          " width=\"" + std::to_string(appletWidth) + "\"" + " height=\"" + std::to_string(appletHeight) + "\"" +
          " type=\"application/x-java-applet\" >\n";
  page += "<param name=\"VideoPath\" value=\"" + fileName + "\">\n";
  page += "<param name=\"AutoPlay\" value=\"true\">\n";
  page += "<param name=\"separate_jvm\" value=\"true\">\n";
  page += "<param name=\"Panorel\" value=\"true\">\n";
  page += "<param name=\"Mayscript\" value=\"true\">\n";
  page += "<param name=\"Scriptable\" value=\"true\">\n";
  page += "<param name=\"BurstSeek\" value=\"true\">\n";
  if (content.toolbar) {
    page += "<param name=\"ToolbarSkinPath\" value=\"" + std::string(kToolbarImageBase) + ".jpg\">\n";
    page += "<param name=\"ToolbarSkinStretchingArea\" value=\"72,100\">\n";
    page += "<param name=\"ToolbarSkinControlPosition\" value=\"0,79,10,16\">\n";
  }
  // The Java paragraph and the closing tag share a line, as do the credit
  // line and the closing div: pages published before look the same.
  page += "<p><a href=\"" + content.links.javaDownloadUrl + "\" alt=\"Java Download\" target=\"_blank\"><br>" +
          kJavaSentenceItalian + kJavaSentenceEnglish + "</a></p>";
  page += "</object>\n";
  page += "<!-- Ostrel copy code to here -->\n";
  page += "<p>Video: " + fileName + "&nbsp;&nbsp;Stream: " + PageText(JoinedStreamList(content.streamNames)) + "</p>\n";
  page += "<p>" + title + ", a Harwelco solution <br><a href=\"" + content.links.homePageUrl + "\" target=\"_blank\">" +
          content.links.homePageHost + "</a></p>";
  page += "</div>\n";
  page += "</body>\n</html>\n";
  return page;
}

std::string WithCrLfLineEnds(const std::string& text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  return bytes;
}

bool WriteHtmlPageFile(const std::string& path, const std::string& text, std::string* error) {
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    if (error) *error = std::strerror(errno);
    return false;
  }
  const std::string bytes = WithCrLfLineEnds(text);
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  const int writeErrno = errno;
  const bool closed = std::fclose(file.release()) == 0;
  if (written && closed) return true;
  if (error) *error = std::strerror(written ? errno : writeErrno);
  return false;
}
