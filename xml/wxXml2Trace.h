// Debug trace of wrapper lifetimes.
//
// The wrappers report what each drop of a hold did ("destroyed", "NOT destroyed (because ...)")
// under the trace mask "wxXml2". Nothing depends on these lines, so they are compiled in only
// when OSTREL_XML_TRACE is defined: the global empty wrappers trace while the program exits,
// after wxWidgets' log may already be gone.
#pragma once

#ifdef OSTREL_XML_TRACE
#include <wx/log.h>
#include <wx/object.h>
#define wxXml2TRACE(wrapper, ...)                                                              \
  wxLogTrace("wxXml2", "%s::DestroyIfUnlinked - %s", (wrapper).GetClassInfo()->GetClassName(), \
             wxString::Format(__VA_ARGS__))
#else
#define wxXml2TRACE(wrapper, ...) ((void)0)
#endif
