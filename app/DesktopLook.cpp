// The window's look on this desktop.
#include "DesktopLook.h"

#include <gtk/gtk.h>
#include <wx/filefn.h>
#include <wx/font.h>

namespace {

// GTK's default theme pads every control for touch-sized targets; these
// values bring text fields, buttons and check boxes back to the compact
// sizes of the original layout.
const char kCompactCss[] =
    "entry { min-height: 0; padding: 1px 3px; }\n"
    "button { min-height: 0; min-width: 0; padding: 1px 4px; }\n"
    "spinbutton button { padding: 0 2px; }\n"
    "checkbutton, radiobutton { min-height: 0; padding: 0; }\n"
    "progressbar trough, progressbar progress { min-height: 12px; }\n"
    "toolbar { padding: 1px; }\n"
    "toolbar button { padding: 2px; }\n"
    "menubar > menuitem { padding: 2px 6px; }\n";

const char* const kTahomaFiles[] = {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"};

}  // namespace

void ApplyDesktopLook() {
  static bool applied = false;
  if (applied) return;
  applied = true;

  for (const char* file : kTahomaFiles) {
    if (wxFileExists(file)) wxFont::AddPrivateFont(file);
  }

  GdkScreen* screen = gdk_screen_get_default();
  if (!screen) return;
  GtkCssProvider* provider = gtk_css_provider_new();
  if (gtk_css_provider_load_from_data(provider, kCompactCss, -1, nullptr)) {
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  }
  g_object_unref(provider);
}
