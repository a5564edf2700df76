// The test frame of the encode control.
#include "EncodeTestFrame.h"

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/gauge.h>
#include <wx/grid.h>
#include <wx/mediactrl.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/toolbar.h>

#include "StreamProfileRows.h"
#include "mainFrameIds.h"

namespace {
constexpr int kInputId = ID_INPUT_PATH;
constexpr int kEncodeButtonId = ID_ENCODE_BUTTON;
constexpr int kMediaId = ID_MEDIA_CTRL;
}  // namespace

EncodeTestFrame::EncodeTestFrame(bool withMedia)
    : wxFrame(nullptr, 10000, "encode test", wxDefaultPosition, wxSize(900, 700)) {
  frame = this;
  auto* menus = new wxMenuBar;
  auto* file = new wxMenu;
  file->Append(ID_MENU_EXIT, "Exit");
  menus->Append(file, "File");
  auto* encode = new wxMenu;
  encode->Append(ID_ENCODE, "Encode");
  menus->Append(encode, "Encode");
  auto* options = new wxMenu;
  options->Append(ID_MENU_TEMP_DIR, "Select path for temporary files");
  menus->Append(options, "Options");
  SetMenuBar(menus);
  wxToolBar* tools = CreateToolBar();
  tools->AddTool(ID_ENCODE, "", wxArtProvider::GetBitmap(wxART_EXECUTABLE_FILE, wxART_TOOLBAR), "Encode !");
  tools->Realize();

  auto* panel = new wxPanel(this);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  auto text = [&](const char* value, int id = wxID_ANY) {
    auto* field = new wxTextCtrl(panel, id, value);
    sizer->Add(field, wxSizerFlags().Expand());
    return field;
  };
  input = text("", kInputId);
  output = text("");
  for (wxTextCtrl*& fact : facts) {
    fact = text("0");
    fact->Disable();
  }
  startTime = text("0");
  endTime = text("0");
  cropTop = text("0");
  cropRight = text("0");
  cropLeft = text("0");
  cropBottom = text("0");
  auto check = [&](const char* label, bool ticked) {
    auto* box = new wxCheckBox(panel, wxID_ANY, label);
    box->SetValue(ticked);
    sizer->Add(box);
    return box;
  };
  keepAspect = check("Maintain Aspect Ratio", true);
  keepSourceSize = check("Maintain Source Dimension", false);
  deinterlace = check("Deinterlace", false);
  htmlPage = check("Generate HTML page", false);
  graphicToolbar = check("Graphic Toolbar", false);
  showVideo = check("Show video", false);
  running = check("Checkbox", false);
  running->Hide();

  grid = new wxGrid(panel, 10037, wxDefaultPosition, wxSize(425, 245));
  grid->CreateGrid(kStreamRowCount, kStreamColumnCount);
  const StreamProfileRows rows = FactoryStreamProfileRows();
  for (int row = 0; row < kStreamRowCount; ++row) {
    for (int column = 0; column < kStreamColumnCount; ++column) {
      grid->SetCellValue(row, column, wxString::FromUTF8(rows[row][column]));
    }
  }
  sizer->Add(grid);

  auto label = [&](const char* value) {
    auto* shown = new wxStaticText(panel, wxID_ANY, value);
    sizer->Add(shown, wxSizerFlags().Expand());
    return shown;
  };
  status = label("0 Stream(s) : Done 0 %");
  gauge = new wxGauge(panel, 10046, 100);
  sizer->Add(gauge, wxSizerFlags().Expand());
  elapsed = label("00:00:00");
  remaining = label("00:00:00");
  total = label("00:00:00");
  encodeButton = new wxButton(panel, kEncodeButtonId, "Encode");
  sizer->Add(encodeButton);
  if (withMedia) {
    media = new wxMediaCtrl(panel, kMediaId, wxEmptyString, wxDefaultPosition, wxSize(200, 150));
    sizer->Add(media);
    Bind(wxEVT_MEDIA_LOADED, &EncodeTestFrame::OnMediaLoaded, this, kMediaId);
  }
  panel->SetSizer(sizer);

  Bind(wxEVT_TEXT, &EncodeTestFrame::OnInputChanged, this, kInputId);
  Bind(wxEVT_BUTTON, &EncodeTestFrame::OnEncodeButton, this, kEncodeButtonId);
  control.Init();
  Show();
}

EncodeTestFrame::~EncodeTestFrame() = default;

void EncodeTestFrame::SelectRows(std::initializer_list<int> rows) {
  for (int row = 0; row < kStreamRowCount; ++row) grid->SetCellValue(row, 0, "");
  for (int row : rows) grid->SetCellValue(row, 0, "1");
}

void EncodeTestFrame::TypeInput(const wxString& text) {
  input->ChangeValue("");
  for (wxUniChar c : text) input->AppendText(wxString(c));
}

void EncodeTestFrame::OnInputChanged(wxCommandEvent&) {
  ++probeCount;
  control.ProbeSource(facts[0], facts[1], facts[2], facts[3], facts[4], facts[5], input, encodeButton, media, this);
}

void EncodeTestFrame::OnEncodeButton(wxCommandEvent&) { Encode(); }

void EncodeTestFrame::OnMediaLoaded(wxMediaEvent&) {
  ++mediaLoadedCount;
  control.OnMediaLoaded(media);
}

void CloseFrame(wxFrame* frame) {
  frame->Destroy();
  for (int i = 0; i < 5; ++i) wxYield();
}
