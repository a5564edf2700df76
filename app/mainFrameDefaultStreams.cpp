// default_streams.xml beside the executable: the user's default stream
// profiles, read at start and on "Default", written on "Save".
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/grid.h>
#include <wx/intl.h>
#include <wx/msgdlg.h>

#include "ProgramDirectory.h"
#include "StreamProfileRows.h"
#include "mainFrame.h"
#include "wxXml2Document.h"
#include "wxXml2Node.h"
#include "wxXml2TextElement.h"

namespace {

// The element of each column, in the order a STREAM holds them.
const char* const kElementNames[kStreamColumnCount] = {"encode", "name",     "width",   "height",
                                                       "fps",    "video_br", "audio_br"};

// Loading and saving both work from the program's directory and leave it so.
wxString EnterProgramDirectory() {
  const wxString directory = GetProgramDirectory();
  wxSetWorkingDirectory(directory);
  return wxFileName(directory, "default_streams.xml").GetFullPath();
}

wxString TextOfFirst(const wxXml2Node& node, const char* name) {
  const wxXml2Node found = node.Find(name);
  return found.IsOk() ? GetNodeText(found) : wxString();
}

}  // namespace

void mainFrame::LoadDefaultStreams() {
  wxXml2Document document;
  const wxString path = EnterProgramDirectory();
  if (!document.Load(path)) {
    wxMessageBox(_("<default_streams.xml> corrupted:\n"), _("Error"), wxOK);
    ResetStreamsToFactory();
    return;
  }
  ReadStreamsXml(document, true);
}

void mainFrame::ReadStreamsXml(const wxXml2Document& document, bool) {
  ClearStreamsGrid();
  if (!document.IsOk()) return;
  const wxXml2Node root = document.GetRoot();
  if (!root.IsOk()) return;
  if (!root.GetName().IsSameAs("video_setting", false)) {
    wxMessageBox(_("Loaded file is not a video setting file"), _("Message"), wxOK);
    return;
  }
  int row = 0;
  for (wxXml2Node node = root.Find("STREAM"); node.IsOk() && row < kStreamRowCount; node = node.GetNext()) {
    Refresh();
    if (TextOfFirst(node, "name").empty()) continue;
    for (int col = 0; col < kStreamColumnCount; ++col) {
      streamsGrid->SetCellValue(row, col, TextOfFirst(node, kElementNames[col]));
    }
    ++row;
  }
}

void mainFrame::SaveDefaultStreams() {
  wxXml2Document document;
  document.Create("1.0");
  const wxString path = EnterProgramDirectory();
  wxXml2Node root;
  root.CreateRoot(document, "video_setting");
  BuildStreamsNode(root);
  // Written beside the file and moved over it only when whole, so that a
  // failed save never costs the user the defaults saved before.
  const wxString partial = path + ".partial";
  const bool saved = document.Save(partial, "UTF-8", wxXML2DOC_USE_NATIVE_NEWLINES | wxXML2DOC_USE_INDENTATION, 4) &&
                     wxRenameFile(partial, path, true);
  if (!saved) {
    if (wxFileExists(partial)) wxRemoveFile(partial);
    wxMessageBox(_("Error saving <default_streams.xml>:\n"), _("Error"), wxOK);
  }
}

void mainFrame::BuildStreamsNode(wxXml2Node root) {
  wxXml2Node streams;
  streams.CreateChild(XML_ELEMENT_NODE, root, "STREAMS");
  for (int row = 0; row < kStreamRowCount; ++row) {
    if (streamsGrid->GetCellValue(row, kColumnName).empty()) continue;
    wxXml2Node stream;
    stream.CreateChild(XML_ELEMENT_NODE, streams, "STREAM");
    for (int col = 0; col < kStreamColumnCount; ++col) {
      AddTextElement(stream, kElementNames[col], streamsGrid->GetCellValue(row, col));
    }
  }
}
