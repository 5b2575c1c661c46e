// "IE Autocomplete Memory": the stored form data and passwords go from the registry; then the
// browser's own clearing does the rest, by version. Version 6 has no entry point for it: its
// Internet Options dialog is opened at the content page and its buttons are pressed by key.
#include <windows.h>

#include "engine/steps/clearing_entry_point.h"
#include "engine/steps/steps.h"

namespace hm::steps {

Counts IeAutocomplete(const act::Step&, PassContext& context) {
    Counts counts;
    counts.registryKeys += context.eraser.DeleteRegKey(
        kCurrentUser, "Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW");
    counts.registryKeys += context.eraser.DeleteRegKey(
        kUsers, ".DEFAULT\\Software\\Microsoft\\Internet Explorer\\IntelliForms");
    const int version = context.values.IEMajorVersion;
    if (version > 6) {
        ClearMyTracks(context, "16");
        ClearMyTracks(context, "32");
    } else if (version == 6) {
        LaunchRequest request;
        request.commandLine = "rundll32.exe shell32.dll,Control_RunDLL inetcpl.cpl,,3";
        request.show = 0;  // hidden
        request.keys = {'U', 'C', VK_RETURN, VK_ESCAPE, VK_ESCAPE};
        context.eraser.Launch(request);
    }
    context.ui.BringToFront();
    counts.registryKeys += 3;
    return counts;
}

}  // namespace hm::steps
