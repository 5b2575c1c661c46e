// Internet Explorer's own clearing entry point, started as a program in a minimized window that
// takes the focus; the pass does not wait for it.
#pragma once

#include <string>

#include "engine/pass_context.h"

namespace hm::steps {

inline void ClearMyTracks(PassContext& context, const std::string& flag) {
    LaunchRequest request;
    request.commandLine = "RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess " + flag;
    request.show = 2;  // minimized, with the focus
    context.eraser.Launch(request);
}

}  // namespace hm::steps
