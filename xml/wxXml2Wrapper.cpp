// Reference counting shared by the wrappers of libxml2 objects.
#include "wxXml2Wrapper.h"

#include "wxXml2Trace.h"
#include "wxXml2Tree.h"

wxIMPLEMENT_ABSTRACT_CLASS(wxXml2Wrapper, wxObject);

void wxXml2Wrapper::AddReference() {
  if (!IsOk()) return;
  void*& field = GetPrivate();
  field = wxXml2MakePrivate(wxXml2GetRefCount(field) + 1);
}

void wxXml2Wrapper::DestroyIfUnlinked() {
  if (!IsOk()) {
    wxXml2TRACE(*this, "nothing to destroy (empty)");
    return;
  }

  void*& field = GetPrivate();
  const int holders = wxXml2GetRefCount(field) - 1;
  field = wxXml2MakePrivate(holders);
  xmlNode* const place = GetTreeNode();

  const bool unlinked = IsUnlinked();
  if (unlinked && holders == 0) {
    if (!place || !wxXml2IsHeldAnywhere(place)) {
      Destroy();
      wxXml2TRACE(*this, "destroyed");
      return;
    }
    SetAsEmpty();
    wxXml2TRACE(*this, "NOT destroyed (because a wrapper holds a part of it)");
    return;
  }

  SetAsEmpty();
  if (unlinked) wxXml2TRACE(*this, "NOT destroyed (because refcount is %d)", holders);
  else wxXml2TRACE(*this, "NOT destroyed (because linked)");
  // This may have been the last hold inside a tree whose own last hold went earlier.
  if (holders == 0 && place) wxXml2FreeIfAbandoned(place);
}
